// The statements: report data and formulas, the three statements of a small
// month whose every figure is known, the balance-sheet and profit identities
// on random books closed month by month, template editing, and the upgrade
// that gives older sets their template rows.
#include "statements/statement.h"

#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include "accounts/openingbalances.h"
#include "statements/reportdata.h"
#include "statements/statementtemplate.h"
#include "store/connection.h"
#include "store/login.h"
#include "store/schemaupgrade.h"
#include "store/session.h"
#include "vouchers/closing.h"
#include "vouchers/posting.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::StatementTable;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

using Pair = std::pair<tz::Cents, tz::Cents>;

// A set with books made through the program's own operations.
class Books : public testing::Test
{
protected:
    tz::Session &s = set.session();

    void opening(const QString &code, const QString &debit, const QString &credit = {})
    {
        ScriptedDialogs dialogs;
        tz::OpeningEdit edit;
        if (!debit.isEmpty())
            edit.debit = debit;
        if (!credit.isEmpty())
            edit.credit = credit;
        ASSERT_TRUE(tz::SetOpeningBalance(s, code, edit, dialogs).isDone());
    }

    void loadOpenings()
    {
        ScriptedDialogs yes({true});
        ASSERT_TRUE(tz::LoadOpeningBalances(s, yes).isDone());
    }

    // One voucher of `month`: each line "code debit credit [flow code, flow amount]" in cents.
    struct L
    {
        QString code;
        tz::Cents debit = 0;
        tz::Cents credit = 0;
        QString flowCode = {};
        tz::Cents flow = 0;
    };
    void voucher(int month, const QList<L> &lines)
    {
        tz::VoucherHeader header{QDate(2024, month, 15), u"记"_s, 0, 0, {}, u"会计"_s};
        QList<tz::VoucherLine> grid;
        for (const L &l : lines) {
            tz::VoucherLine line;
            line.summary = u"业务"_s;
            line.account = l.code;
            if (l.debit)
                line.debit = l.debit;
            if (l.credit)
                line.credit = l.credit;
            line.flowCode = l.flowCode;
            if (l.flow)
                line.flowAmount = l.flow;
            grid.append(line);
        }
        ScriptedDialogs dialogs;
        tz::PostingOutcome outcome;
        ASSERT_TRUE(tz::SaveNextVoucher(s, header, grid, outcome, dialogs).isDone()) << dialogs.messages.value(0).text.toStdString();
    }

    void close(int month)
    {
        ScriptedDialogs dialogs;
        ASSERT_TRUE(tz::CloseMonth(s, QDate(2024, month, 1), u"会计"_s, dialogs).isDone());
    }

    tz::ResultSet statement(StatementTable table, int month, ScriptedDialogs &dialogs)
    {
        EXPECT_TRUE(tz::EvaluateStatement(s, table, month, dialogs).isDone());
        tz::ResultSet rows;
        EXPECT_TRUE(tz::ReadStatement(s, table, rows, dialogs).isDone());
        return rows;
    }

    // The figures of line `line` (行次 or 行次1/行次2) as cents, 0 for NULL.
    static std::pair<tz::Cents, tz::Cents> figures(const tz::ResultSet &rows, int line)
    {
        const auto cents = [](const QVariant &v) { return v.isNull() ? 0 : tz::roundToCents(v.toDouble()); };
        for (const tz::ResultSet::Row &r : rows.rows()) {
            if (r.size() == 11 && r.at(7).toInt() == line)
                return {cents(r.at(9)), cents(r.at(10))};
            if (r.at(2).toInt() == line)
                return r.size() == 11 ? std::pair{cents(r.at(4)), cents(r.at(5))} : std::pair{cents(r.at(5)), cents(r.at(4))};
        }
        ADD_FAILURE() << "no line " << line;
        return {};
    }

    TestSet set;
};

// Openings, a sale with VAT, wages paid, depreciation and a cash-flow coded
// receipt and payment in March, then March closed: every figure below is
// worked out by hand.
TEST_F(Books, ASmallMonthGivesEveryFigureItShould)
{
    opening(u"1001"_s, u"5000"_s);
    opening(u"1002001"_s, u"100000"_s);
    opening(u"1601"_s, u"20000"_s);
    opening(u"3001"_s, {}, u"125000"_s);
    loadOpenings();
    voucher(3, {{u"1122"_s, 1130000}, {u"5001"_s, 0, 1000000}, {u"2221001002"_s, 0, 130000}});
    voucher(3, {{u"1002001"_s, 1130000, 0, u"101"_s, 1130000}, {u"1122"_s, 0, 1130000}});
    voucher(3, {{u"5602004"_s, 300000}, {u"2211001"_s, 0, 300000}});
    voucher(3, {{u"2211001"_s, 300000}, {u"1002001"_s, 0, 300000, u"112"_s, 300000}});
    voucher(3, {{u"5602005"_s, 50000}, {u"1602"_s, 0, 50000}});

    // Before closing the income statement is empty: it reads the transfer only.
    ScriptedDialogs open;
    EXPECT_EQ(figures(statement(StatementTable::Income13, 3, open), 32), Pair(0, 0));
    close(3);

    ScriptedDialogs quiet;
    const tz::ResultSet income = statement(StatementTable::Income13, 3, quiet);
    EXPECT_EQ(figures(income, 1), Pair(1000000, 1000000)); // 本月, 本年累计
    EXPECT_EQ(figures(income, 14), Pair(350000, 350000));
    EXPECT_EQ(figures(income, 32), Pair(650000, 650000));

    const tz::ResultSet sheet = statement(StatementTable::BalanceSheet13, 3, quiet);
    EXPECT_EQ(figures(sheet, 1), Pair(11330000, 10500000)); // 期末, 年初
    EXPECT_EQ(figures(sheet, 19), Pair(50000, 0));
    EXPECT_EQ(figures(sheet, 20), Pair(1950000, 2000000));
    EXPECT_EQ(figures(sheet, 36), Pair(130000, 0));
    EXPECT_EQ(figures(sheet, 51), Pair(650000, 0));
    EXPECT_EQ(figures(sheet, 30), Pair(13280000, 12500000));
    EXPECT_EQ(figures(sheet, 53), Pair(13280000, 12500000));
    EXPECT_TRUE(quiet.messages.isEmpty());

    ScriptedDialogs cash;
    const tz::ResultSet flows = statement(StatementTable::CashFlow, 3, cash);
    EXPECT_EQ(figures(flows, 2), Pair(1130000, 1130000));
    EXPECT_EQ(figures(flows, 5), Pair(300000, 300000));
    EXPECT_EQ(figures(flows, 23), Pair(830000, 830000));
    EXPECT_EQ(figures(flows, 24), Pair(10500000, 10500000));
    EXPECT_EQ(figures(flows, 25), Pair(11330000, 11330000));
    EXPECT_EQ(cash.messages, QList<Message>({{u"1.如果本月栏23行值≠【 8,300.00 】,请检查分录或检查第2条提示。\n\n"
                                              "2.如果年初货币资金为空,请装入年初数:库存现金=0。"_s,
                                              u"TZ305友情提示"_s, Icon::Exclamation}}));
}

TEST_F(Books, FormulasMatchCodesExactlyAsText)
{
    opening(u"1001"_s, u"300"_s);
    opening(u"1002001"_s, u"200"_s);
    opening(u"3001"_s, {}, u"500"_s);
    loadOpenings();
    voucher(1, {{u"1001"_s, 0, 5000, u"011"_s, 5000}, {u"1002001"_s, 5000, 0, u"101"_s, 5000}});
    ScriptedDialogs dialogs;
    statement(StatementTable::CashFlow, 1, dialogs);
    const QHash<QString, tz::FigurePair> cashData = tz::readReportData(s, false);
    // A zero-padded item code keeps its zeros in its mirror row, so it can be subtracted.
    EXPECT_EQ(tz::evaluateFormula(cashData, u"101-011"_s), (tz::FigurePair{0, 0}));
    EXPECT_EQ(tz::evaluateFormula(cashData, u"999-888"_s), (tz::FigurePair{0, 0}));

    statement(StatementTable::BalanceSheet13, 1, dialogs);
    const QHash<QString, tz::FigurePair> data = tz::readReportData(s, true);
    const struct
    {
        QString formula;
        tz::FigurePair expected; // 年初, 期末
    } cases[] = {
        {u"1001-1001"_s, {0, 0}},
        {u"1001+1001"_s, {30000, 25000}},
        {u"1002001"_s, {20000, 25000}},
        {u"1002"_s, {20000, 25000}},
        {u"1001+1002"_s, {50000, 50000}},
        {u"-1001+1002"_s, {-10000, 0}},
        {u"1001 +1002"_s, {20000, 25000}}, // "1001 " is no code
        {u"9999"_s, {0, 0}},
        {QString(), {0, 0}},
        {u"3001"_s, {50000, 50000}}, // a credit balance of equity is positive
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.formula.toStdString());
        EXPECT_EQ(tz::evaluateFormula(data, c.formula), c.expected);
    }

    // A formula with anything but codes, blanks, + and -: nothing is written.
    ScriptedDialogs set1;
    ASSERT_TRUE(tz::SetTemplateLine(s, StatementTable::BalanceSheet13, 1, {}, u"1001+1002"_s, set1).isDone());
    s.execSql(u"UPDATE 资产表13 SET 公式1 = '1001''' WHERE 行次1 = 2"_s);
    const QVariant before = s.RunSql(u"SELECT 期末余额1 FROM 资产表13 WHERE 行次1 = 1"_s).value(0, 0);
    ScriptedDialogs broken;
    EXPECT_TRUE(tz::EvaluateStatement(s, StatementTable::BalanceSheet13, 2, broken).isRefused());
    EXPECT_EQ(broken.messages, QList<Message>({{u"行次2公式有误: 1001'\n\n请检查：多个科目代码时可以连加或连减。如: 1001+1002-1003"_s,
                                                u"错误提示"_s, Icon::None}}));
    EXPECT_EQ(s.RunSql(u"SELECT 期末余额1 FROM 资产表13 WHERE 行次1 = 1"_s).value(0, 0), before);

    // No month: said, and every figure emptied.
    ScriptedDialogs noMonth;
    EXPECT_TRUE(tz::EvaluateStatement(s, StatementTable::BalanceSheet13, std::nullopt, noMonth).isRefused());
    EXPECT_EQ(noMonth.messages.value(0), (Message{u"请选择月份"_s, u"TZ305"_s, Icon::Critical}));
}

// For random balanced books closed month by month, the balance sheet's two
// totals agree before and after each closing, and 净利润 equals the month's
// transfer to 3103, in both layouts.
TEST_F(Books, RandomBooksBalanceAndProfitEqualsTheTransfer)
{
    opening(u"1001"_s, u"20000"_s);
    opening(u"1002001"_s, u"500000"_s);
    opening(u"1405"_s, u"80000"_s);
    opening(u"1601"_s, u"150000"_s);
    opening(u"1602"_s, {}, u"30000"_s);
    opening(u"2202"_s, {}, u"70000"_s);
    opening(u"3001"_s, {}, u"650000"_s);
    loadOpenings();
    const QStringList codes = {u"1001"_s, u"1002001"_s, u"1122"_s, u"1405"_s, u"1407"_s, u"1601"_s, u"1602"_s,
                               u"2202"_s, u"2211001"_s, u"2221001002"_s, u"4001"_s, u"5001"_s, u"5051"_s, u"5111"_s,
                               u"5301001"_s, u"5401"_s, u"5403"_s, u"5601001"_s, u"5602004"_s, u"5603001"_s,
                               u"5711001"_s, u"5801"_s};
    const auto balanced = [this](int month) {
        for (const StatementTable table : {StatementTable::BalanceSheet13, StatementTable::BalanceSheet07}) {
            ScriptedDialogs dialogs;
            const tz::ResultSet rows = statement(table, month, dialogs);
            const tz::ResultSet::Row &totals = rows.rows().last();
            EXPECT_EQ(tz::roundToCents(totals.at(4).toDouble()), tz::roundToCents(totals.at(9).toDouble()))
                << tz::tableName(table).toStdString() << " month " << month;
            EXPECT_EQ(tz::roundToCents(totals.at(5).toDouble()), tz::roundToCents(totals.at(10).toDouble()));
        }
    };
    QRandomGenerator random(20241206);
    for (int month = 1; month <= 12; ++month) {
        for (int v = 0; v < 6; ++v) {
            const tz::Cents amount = random.bounded(1, 5'000'000);
            const tz::Cents part = random.bounded(tz::Cents(1), amount + 1);
            voucher(month, {{codes.at(random.bounded(codes.size())), amount},
                            {codes.at(random.bounded(codes.size())), 0, part},
                            {codes.at(random.bounded(codes.size())), 0, amount - part}});
        }
        balanced(month); // an open month balances too
        close(month);
        balanced(month);
        const tz::Cents transfer = tz::roundToCents(
            s.RunSql(u"SELECT total(贷方金额) - total(借方金额) FROM 分录表 WHERE 月 = ? AND 结帐 = 2 AND 科目代码 = '3103'"_s,
                     {month})
                .value(0, 0)
                .toDouble());
        for (const StatementTable table : {StatementTable::Income13, StatementTable::Income07}) {
            ScriptedDialogs dialogs;
            const tz::ResultSet rows = statement(table, month, dialogs);
            EXPECT_EQ(tz::roundToCents(rows.rows().last().at(5).toDouble()), transfer)
                << tz::tableName(table).toStdString() << " month " << month;
        }
    }
}

TEST_F(Books, TemplateLinesAreRequiredUniqueAndFormulasCodesOnly)
{
    tz::ResultSet rows;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::ReadTemplateRows(s, StatementTable::Income13, rows, dialogs).isDone());
    const qint64 first = rows.value(0, 0).toLongLong();
    const struct
    {
        QStringList values;
        QString refusal;
    } cases[] = {
        {{u"营业收入"_s, u""_s, u"5001"_s}, u"行次不能为空"_s},
        {{u"营业收入"_s, u"x"_s, u"5001"_s}, u"行次只能是整数: x"_s},
        {{u"营业收入"_s, u"2"_s, u"5001"_s}, u"行次2重复"_s},
        {{u"营业收入"_s, u"1"_s, u"5001*2"_s}, u"公式只能录入科目代码,代码之间用加号或减号相连: 5001*2"_s},
        {{u"营业收入"_s, u"1"_s, u"5001+"_s}, u"公式只能录入科目代码,代码之间用加号或减号相连: 5001+"_s},
        {{u"营业收入"_s, u"1"_s, u"5001 + 5051"_s}, u"公式只能录入科目代码,代码之间用加号或减号相连: 5001 + 5051"_s},
        {{u"营业收入"_s, u"1"_s, u"5001-9999"_s}, u"公式中的代码不在科目表中: 9999"_s},
    };
    for (const auto &c : cases) {
        ScriptedDialogs refused;
        EXPECT_TRUE(tz::SaveTemplateRow(s, StatementTable::Income13, first, c.values, refused).isRefused());
        EXPECT_EQ(refused.messages, QList<Message>({{c.refusal, u"TZ305提示"_s, Icon::Critical}}));
    }
    ASSERT_TRUE(tz::SaveTemplateRow(s, StatementTable::Income13, first, {u"收入"_s, u"99"_s, u"5001"_s}, dialogs).isDone());
    QList<QStringList> lines;
    ASSERT_TRUE(tz::ListTemplateLines(s, StatementTable::Income13, lines, dialogs).isDone());
    EXPECT_EQ(lines.last(), (QStringList{u"99"_s, u"收入"_s, u"5001"_s}));
    ScriptedDialogs missing;
    EXPECT_TRUE(tz::SetTemplateLine(s, StatementTable::Income13, 1, u"x"_s, {}, missing).isRefused());
    EXPECT_EQ(missing.messages.value(0).text, u"没有行次1"_s);
}

// A set of the first schema version: statement tables without rows, no
// index of closed lines. Logging in brings it up to date in one step.
TEST(SchemaUpgrade, AnOlderSetGetsTheTemplateRowsAndTheIndexOnce)
{
    TestSet set;
    tz::Session &s = set.session();
    for (const QString &table : {u"资产表13"_s, u"资产表07"_s, u"利润表13"_s, u"利润表07"_s, u"现流表"_s})
        s.execSql(u"DELETE FROM "_s + table);
    s.execSql(u"INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (1, '自己的', 1, '5001')"_s);
    s.execSql(u"DROP INDEX 分录表_已结帐"_s);
    s.execSql(u"DROP INDEX 分录表_结转"_s);
    s.execSql(u"PRAGMA user_version = 1"_s);

    tz::upgradeAccountSet(s);
    const auto count = [&](const QString &sql) { return s.RunSql(sql).value(0, 0).toInt(); };
    EXPECT_EQ(count(u"PRAGMA user_version"_s), tz::kSchemaVersion);
    // The set as it was is kept first, named as a backup the restore offers.
    const QStringList kept = QDir(set.folder()).entryList({u"测试*升级前.QSBF24"_s}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    tz::Connection before;
    before.open(set.folder() + u'/' + kept.first());
    EXPECT_EQ(before.query(u"PRAGMA user_version"_s).value(0, 0).toInt(), 1);
    EXPECT_EQ(count(u"SELECT count(*) FROM 资产表13"_s), 30);
    EXPECT_EQ(count(u"SELECT count(*) FROM 现流表"_s), 25);
    EXPECT_EQ(count(u"SELECT count(*) FROM 利润表13"_s), 1); // rows the user made are kept
    EXPECT_EQ(count(u"SELECT count(*) FROM sqlite_master WHERE name IN ('分录表_已结帐', '分录表_结转')"_s), 2);
    EXPECT_EQ(count(u"SELECT count(*) FROM pragma_database_list WHERE name = 'shipped'"_s), 0); // detached
    tz::upgradeAccountSet(s);
    EXPECT_EQ(count(u"SELECT count(*) FROM 资产表13"_s), 30);

    // A set of a later program is not opened by this one.
    s.execSql(u"PRAGMA user_version = %1"_s.arg(tz::kSchemaVersion + 1));
    ScriptedDialogs newer;
    EXPECT_TRUE(tz::CheckLogin(s, set.path(), u"主管"_s, u"888"_s, newer).isFailed());
    EXPECT_EQ(newer.messages.value(0).text, u"此帐套由较新的程序建立(版本%1),本程序(版本%2)不能打开,请使用新版本程序"_s
                                                .arg(tz::kSchemaVersion + 1)
                                                .arg(tz::kSchemaVersion));
}

} // namespace
