// Period-end FX revaluation against hand figures: a USD bank account with a
// loss, a receivable with a gain, a cash account without difference; the
// voucher's lines and balance; the refusals of a missing rate, of
// differences that are all zero, of an account no profit-and-loss detail
// account, of a month revalued twice, of books without a flagged balance,
// and of rates and amounts the books cannot take.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "tests/ledgers/tablesupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "vouchers/revaluation.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;

namespace {

class Revaluation : public testing::Test
{
protected:
    void SetUp() override
    {
        set.session().execSql(u"UPDATE 科目表 SET 调汇 = 'Y' WHERE 科目代码 IN ('1001', '1122')"_s);
        tz::test::postLines(set.session(), {
                                                // 1002002 美元户: 1000 USD at 6.8, 200 USD paid out at 6.8 in March
                                                {8000000001, u"1002002"_s, 6800.0, {}, 1000.0},
                                                {8030001001, u"1002002"_s, {}, 1360.0, 200.0},
                                                // 1122: 1000 USD owed at 7.0
                                                {8000000002, u"1122"_s, 7000.0, {}, 1000.0},
                                                // 1001: 100 USD held at 7.1
                                                {8000000003, u"1001"_s, 710.0, {}, 100.0},
                                                // April is after the month revalued
                                                {8040001001, u"1002002"_s, 680.0, {}, 100.0},
                                            });
    }

    QStringList table()
    {
        QStringList rows;
        for (const tz::RevaluationRow &row : tz::ReadRevaluation(set.session()))
            rows.append(u"%1 %2 %3 %4 %5 %6"_s.arg(row.code, row.name, QString::number(row.foreign.value_or(-1)),
                                                    tz::centsToText(row.book),
                                                    row.revalued ? tz::centsToText(*row.revalued) : u"-"_s,
                                                    row.difference ? tz::centsToText(*row.difference) : u"-"_s));
        return rows;
    }

    tz::OpResult post(ScriptedDialogs &dialogs)
    {
        tz::VoucherHeader header{QDate(2024, 3, 31), u"记"_s, 0, 3, {}, u"主管"_s};
        return tz::PostRevaluation(set.session(), header, against, outcome, dialogs);
    }

    tz::test::TestSet set;
    ScriptedDialogs quiet;
    tz::PostingOutcome outcome;
    QString against = u"5603001 财务费用/利息"_s;
};

TEST_F(Revaluation, GainLossAndZeroMakeOneBalancedVoucher)
{
    ASSERT_TRUE(tz::StartRevaluation(set.session(), 3, quiet).isDone());
    EXPECT_EQ(table(), (QStringList{u"1001 库存现金 100 710.00 - -"_s, u"1002002 银行存款/美元户 800 5440.00 - -"_s,
                                    u"1122 应收账款 1000 7000.00 - -"_s}));
    ASSERT_TRUE(tz::RecomputeRevaluation(set.session(), {{u"1001"_s, 7.1}, {u"1002002"_s, 6.5}, {u"1122"_s, 7.2}}, quiet)
                    .isDone());
    EXPECT_EQ(table(), (QStringList{u"1001 库存现金 100 710.00 710.00 0.00"_s,
                                    u"1002002 银行存款/美元户 800 5440.00 5200.00 240.00"_s,
                                    u"1122 应收账款 1000 7000.00 7200.00 -200.00"_s}));
    EXPECT_EQ(quiet.messages, QList<Message>{});

    ScriptedDialogs dialogs({true});
    ASSERT_TRUE(post(dialogs).isDone());
    EXPECT_EQ(dialogs.questions, (QList<Message>{{u"是否按此金额进行调汇?  若要打印请先导出EXCEL,可以重复操作"_s,
                                                  u"TZ305提示"_s, Icon::Question}}));
    EXPECT_EQ(dialogs.messages, (QList<Message>{{u"凭证保存成功,请检查凭证是否正确!!"_s, u"TZ305提示"_s,
                                                 Icon::Information}}));
    EXPECT_EQ(outcome.number, 2);
    // The loss on the bank account and the gain on the receivable net to a
    // debit of 40 on 财务费用; the cash account has no line; one attachment.
    EXPECT_EQ(tz::test::table(set.session(),
                              u"SELECT ID, 日期, 字号, 号码, 附件, 摘要说明, 科目代码, 借方金额, 贷方金额, 审核 FROM 分录表 "
                              "WHERE 月 = 3 AND 号码 = 2 ORDER BY ID"_s),
              (QStringList{u"8030002001|2024-03-31|记|2|1|调整汇兑损益 |5603001|40||主管"_s,
                           u"8030002002|2024-03-31|记|2|1|调整汇兑损益 |1002002||240|主管"_s,
                           u"8030002003|2024-03-31|记|2|1|调整汇兑损益 |1122||-200|主管"_s}));

    // The month is revalued once until that voucher goes.
    ScriptedDialogs again;
    EXPECT_TRUE(tz::StartRevaluation(set.session(), 3, again).isRefused());
    EXPECT_EQ(again.messages, (QList<Message>{{u"本月已调汇,请删除调汇凭证再进行调汇"_s, u"TZ305"_s, Icon::Exclamation}}));
}

TEST_F(Revaluation, MissingRateAndNoDifferencePostNothing)
{
    ASSERT_TRUE(tz::StartRevaluation(set.session(), 3, quiet).isDone());
    ASSERT_TRUE(tz::RecomputeRevaluation(set.session(), {{u"1002002"_s, 6.8}, {u"1001"_s, 7.1}}, quiet).isDone());
    ScriptedDialogs missing({true});
    EXPECT_TRUE(post(missing).isRefused());
    EXPECT_EQ(missing.messages,
              (QList<Message>{{u"1122  没有汇率,请先输入汇率并点[调汇]"_s, u"TZ305"_s, Icon::Exclamation}}));

    ASSERT_TRUE(tz::RecomputeRevaluation(set.session(), {{u"1122"_s, 7.0}}, quiet).isDone());
    ScriptedDialogs zero({true});
    EXPECT_TRUE(post(zero).isRefused());
    EXPECT_EQ(zero.messages, (QList<Message>{{u"没有汇兑损益,不需要生成分录"_s, u"TZ305"_s, Icon::None}}));
    EXPECT_TRUE(zero.questions.isEmpty());

    // Only a profit-and-loss detail account takes the difference, as the
    // window offers.
    const QList<std::pair<QString, QString>> refusedAccounts{
        {QString(), u"请选择对应损益类科目"_s},
        {u"1001"_s, u"1001  不是损益类明细科目,请选择对应损益类科目"_s},
        {u"5603 财务费用"_s, u"5603  不是损益类明细科目,请选择对应损益类科目"_s},
        {u"5999"_s, u"5999  不是损益类明细科目,请选择对应损益类科目"_s}};
    for (const auto &[account, text] : refusedAccounts) {
        ScriptedDialogs refused({true});
        against = account;
        EXPECT_TRUE(post(refused).isRefused());
        EXPECT_EQ(refused.messages, (QList<Message>{{text, u"TZ305"_s, Icon::Exclamation}}));
    }
    EXPECT_EQ(tz::test::table(set.session(), u"SELECT count(*) FROM 分录表 WHERE 摘要说明 = '调整汇兑损益 '"_s),
              QStringList{u"0"_s});

    set.session().execSql(u"UPDATE 科目表 SET 调汇 = NULL"_s);
    ScriptedDialogs none;
    EXPECT_TRUE(tz::StartRevaluation(set.session(), 3, none).isRefused());
    EXPECT_EQ(none.messages, (QList<Message>{{u"没有数据,调汇标志是否已设置为'Y'"_s, u"TZ305"_s, Icon::None}}));
}

TEST_F(Revaluation, RatesAndAmountsTheBooksCannotTakeAreRefusedAndNothingIsStored)
{
    ASSERT_TRUE(tz::StartRevaluation(set.session(), 3, quiet).isDone());
    ASSERT_TRUE(tz::RecomputeRevaluation(set.session(), {{u"1122"_s, 7.2}}, quiet).isDone());
    const QStringList before = table();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        QHash<QString, tz::RevaluationInput> inputs;
        QString text;
    };
    const QList<Case> cases{
        {{{u"1002002"_s, {{}, {}, 0.0}}}, u"1002002  汇率必须是大于0的数: 0"_s},
        {{{u"1002002"_s, {{}, {}, -0.0}}}, u"1002002  汇率必须是大于0的数: 0"_s},
        {{{u"1002002"_s, {{}, {}, -6.5}}}, u"1002002  汇率必须是大于0的数: -6.5"_s},
        {{{u"1002002"_s, {{}, {}, inf}}}, u"1002002  汇率必须是大于0的数: inf"_s},
        {{{u"1002002"_s, {{}, {}, std::nan("")}}}, u"1002002  汇率必须是大于0的数: nan"_s},
        {{{u"1002002"_s, {{}, {}, 1e-300}}}, u"1002002  汇率太小,调整后金额为0: 1e-300"_s},
        {{{u"1002002"_s, {{}, {}, 1e10}}}, u"1002002  调整后金额太大,最多为999999999999.99: 8000000000000.00"_s},
        {{{u"1002002"_s, {{}, {}, 1e308}}}, u"1002002  调整后金额太大,最多为999999999999.99: inf"_s},
        {{{u"1002002"_s, {{}, tz::Cents(-99'999'999'999'999), 6.5}}},
         u"1002002  损益太大,最多为999999999999.99: -1000000005199.99"_s},
        {{{u"1002002"_s, {{}, tz::Cents(60'000'000'000'000), 6.5}}, {u"1122"_s, {{}, tz::Cents(60'000'000'000'000), {}}}},
         u"损益合计太大,最多为999999999999.99: 1199999987600.00"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        ScriptedDialogs refused;
        EXPECT_TRUE(tz::RecomputeRevaluation(set.session(), c.inputs, refused).isRefused());
        EXPECT_EQ(refused.messages, (QList<Message>{{c.text, u"TZ305提示"_s, Icon::Critical}}));
        EXPECT_EQ(table(), before);
    }

    // Typed foreign and book balances take the place of the journal's.
    ASSERT_TRUE(tz::RecomputeRevaluation(set.session(), {{u"1002002"_s, {900.0, tz::Cents(630000), 6.5}}}, quiet)
                    .isDone());
    EXPECT_EQ(table().value(1), u"1002002 银行存款/美元户 900 6300.00 5850.00 450.00"_s);
}

} // namespace
