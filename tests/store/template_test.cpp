// The template account set as a new set receives it: the columns other code
// reads by position, and the chart, operators, cash-flow items and phrases obey the
// rules the rest of the program relies on.
#include <algorithm>

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

#include "store/connection.h"
#include "store/lookupaccount.h"
#include "store/session.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {
namespace {

QStringList column(const ResultSet &r, int ordinal = 0)
{
    QStringList values;
    for (const auto &row : r.rows())
        values << row.at(ordinal).toString();
    return values;
}

QStringList columnsOf(Connection &db, const QString &table)
{
    return column(db.query(u"SELECT name FROM pragma_table_info(?)"_s, {table}));
}

TEST(Template, ColumnsReadByPositionAndAWholeFile)
{
    test::TestSet set;
    Session &s = set.session();
    s.OpenMainConnection();
    Connection &db = s.mainConnection();
    struct Position { const char16_t *table; int ordinal; const char16_t *name; };
    const Position positions[] = {
        {u"信息表", 3, u"帐套名称"}, {u"科目表", 1, u"科目代码"}, {u"科目表", 4, u"科目全称"},
        {u"三总式", 3, u"备注"}, {u"数量式", 3, u"备注"}, {u"资产表07", 0, u"序号"}, {u"资产表13", 0, u"序号"},
        {u"利润表07", 0, u"序号"}, {u"利润表13", 0, u"序号"}, {u"现流表", 0, u"序号"},
    };
    for (const Position &p : positions) {
        const QStringList cols = columnsOf(db, QString::fromUtf16(p.table));
        ASSERT_GT(cols.size(), p.ordinal) << QString::fromUtf16(p.table).toStdString();
        EXPECT_EQ(cols.at(p.ordinal), QString::fromUtf16(p.name));
    }
    EXPECT_EQ(db.query(u"PRAGMA integrity_check"_s).value(0, 0).toString(), u"ok"_s);
}

struct LevelOne { const char16_t *code, *name, *side; };

// Small Enterprise Accounting Standard (2013), level 1. A null side is the
// template's own choice (the account may carry either balance).
const LevelOne kLevelOne[] = {
    {u"1001", u"库存现金", u"借"}, {u"1002", u"银行存款", u"借"}, {u"1012", u"其他货币资金", u"借"},
    {u"1101", u"短期投资", u"借"}, {u"1121", u"应收票据", u"借"}, {u"1122", u"应收账款", u"借"},
    {u"1123", u"预付账款", u"借"}, {u"1131", u"应收股利", u"借"}, {u"1132", u"应收利息", u"借"},
    {u"1221", u"其他应收款", u"借"}, {u"1401", u"材料采购", u"借"}, {u"1402", u"在途物资", u"借"},
    {u"1403", u"原材料", u"借"}, {u"1404", u"材料成本差异", nullptr}, {u"1405", u"库存商品", u"借"},
    {u"1407", u"商品进销差价", nullptr}, {u"1408", u"委托加工物资", u"借"}, {u"1411", u"周转材料", u"借"},
    {u"1421", u"消耗性生物资产", u"借"}, {u"1501", u"长期债券投资", u"借"}, {u"1511", u"长期股权投资", u"借"},
    {u"1601", u"固定资产", u"借"}, {u"1602", u"累计折旧", u"贷"}, {u"1604", u"在建工程", u"借"},
    {u"1605", u"工程物资", u"借"}, {u"1606", u"固定资产清理", u"借"}, {u"1621", u"生产性生物资产", u"借"},
    {u"1622", u"生产性生物资产累计折旧", u"贷"}, {u"1701", u"无形资产", u"借"}, {u"1702", u"累计摊销", u"贷"},
    {u"1801", u"长期待摊费用", u"借"}, {u"1901", u"待处理财产损溢", nullptr},
    {u"2001", u"短期借款", u"贷"}, {u"2201", u"应付票据", u"贷"}, {u"2202", u"应付账款", u"贷"},
    {u"2203", u"预收账款", u"贷"}, {u"2211", u"应付职工薪酬", u"贷"}, {u"2221", u"应交税费", u"贷"},
    {u"2231", u"应付利息", u"贷"}, {u"2232", u"应付利润", u"贷"}, {u"2241", u"其他应付款", u"贷"},
    {u"2401", u"递延收益", u"贷"}, {u"2501", u"长期借款", u"贷"}, {u"2701", u"长期应付款", u"贷"},
    {u"3001", u"实收资本", u"贷"}, {u"3002", u"资本公积", u"贷"}, {u"3101", u"盈余公积", u"贷"},
    {u"3103", u"本年利润", u"贷"}, {u"3104", u"利润分配", u"贷"},
    {u"4001", u"生产成本", u"借"}, {u"4101", u"制造费用", u"借"}, {u"4301", u"研发支出", u"借"},
    {u"4401", u"工程施工", u"借"}, {u"4403", u"机械作业", u"借"},
    {u"5001", u"主营业务收入", u"贷"}, {u"5051", u"其他业务收入", u"贷"}, {u"5111", u"投资收益", u"贷"},
    {u"5301", u"营业外收入", u"贷"}, {u"5401", u"主营业务成本", u"借"}, {u"5402", u"其他业务成本", u"借"},
    {u"5403", u"税金及附加", u"借"}, {u"5601", u"销售费用", u"借"}, {u"5602", u"管理费用", u"借"},
    {u"5603", u"财务费用", u"借"}, {u"5711", u"营业外支出", u"借"}, {u"5801", u"所得税费用", u"借"},
};

struct Account {
    QString code, name, full, side, detail, pinyin;
    QVariant detailRaw, level;
    bool openingNull;
};

TEST(Template, ChartOfAccounts)
{
    test::TestSet set;
    const ResultSet r = set.session().RunSql(
        u"SELECT 科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 拼音, "
        "数量 IS NULL AND 借方金额 IS NULL AND 贷方金额 IS NULL FROM 科目表"_s);
    QHash<QString, Account> chart;
    QSet<QString> parents;
    for (const auto &row : r.rows()) {
        const QString code = row.at(0).toString();
        chart.insert(code, {code, row.at(1).toString(), row.at(3).toString(), row.at(4).toString(),
                            row.at(5).toString(), row.at(6).toString(), row.at(5), row.at(2),
                            row.at(7).toBool()});
        parents.insert(code.left(code.size() - 3));
    }

    for (const LevelOne &l : kLevelOne) {
        const QString code = QString::fromUtf16(l.code);
        SCOPED_TRACE(code.toStdString());
        ASSERT_TRUE(chart.contains(code));
        EXPECT_EQ(chart[code].name, QString::fromUtf16(l.name));
        if (l.side) {
            EXPECT_EQ(chart[code].side, QString::fromUtf16(l.side));
        }
    }
    EXPECT_EQ(chart.value(u"3103"_s).detail, u"Y"_s) << "profit is carried straight to 3103";
    // Readings worked out by hand, the words that read otherwise among them.
    for (const auto &[code, reading] : {std::pair{u"1002", u"YHCK"}, {u"1001", u"KCXJ"}, {u"1404", u"CLCBCY"},
                                        {u"1602", u"LJZJ"}, {u"2221", u"YJSF"}, {u"2501", u"CQJK"}})
        EXPECT_EQ(chart.value(QString::fromUtf16(code)).pinyin, QString::fromUtf16(reading));

    for (const Account &a : std::as_const(chart)) {
        SCOPED_TRACE(a.code.toStdString());
        EXPECT_TRUE(isAccountCodeShape(a.code));
        EXPECT_EQ(a.level, QVariant(qlonglong((a.code.size() - 1) / 3)));
        EXPECT_FALSE(a.name.isEmpty());
        EXPECT_FALSE(a.name.contains(u'/'));
        EXPECT_TRUE(a.side == u"借"_s || a.side == u"贷"_s);
        EXPECT_TRUE(a.pinyin.size() == a.name.size() && a.pinyin.toUpper() == a.pinyin) << a.pinyin.toStdString();
        EXPECT_TRUE(a.openingNull);
        EXPECT_FALSE(a.detailRaw.isNull());
        EXPECT_EQ(a.detail, parents.contains(a.code) ? u""_s : u"Y"_s);
        if (a.code.size() == 4) {
            EXPECT_EQ(a.full, a.name);
            EXPECT_TRUE(a.code.at(0) >= u'1' && a.code.at(0) <= u'5');
        } else {
            const QString parent = a.code.left(a.code.size() - 3);
            ASSERT_TRUE(chart.contains(parent));
            EXPECT_EQ(a.full, chart[parent].full + u'/' + a.name);
            EXPECT_EQ(a.side, chart[parent].side) << "sub-accounts keep the parent's side";
        }
    }
}

TEST(Template, CashFlowItemsAndPhrases)
{
    test::TestSet set;
    Session &s = set.session();
    const ResultSet items = s.RunSql(u"SELECT 代码, 名称 FROM 现流"_s);
    EXPECT_GT(items.recordCount(), 0);
    QSet<QString> codes;
    for (const auto &row : items.rows()) {
        const QString code = row.at(0).toString();
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(code.size(), 3);
        EXPECT_TRUE(std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }));
        EXPECT_TRUE(code.mid(1, 1) == u"0"_s || code.mid(1, 1) == u"1"_s);
        EXPECT_FALSE(row.at(1).toString().trimmed().isEmpty());
        EXPECT_FALSE(codes.contains(code));
        codes.insert(code);
    }
    const QStringList phrases = column(s.RunSql(u"SELECT 名称 FROM 摘要"_s));
    EXPECT_GT(phrases.size(), 0);
    EXPECT_EQ(QSet<QString>(phrases.begin(), phrases.end()).size(), phrases.size());
    for (const QString &phrase : phrases)
        EXPECT_TRUE(!phrase.trimmed().isEmpty() && phrase == phrase.trimmed()) << phrase.toStdString();
}

} // namespace
} // namespace tz
