// The balance table: refusals that still empty the table, row kinds,
// indented names, signs towards the account's side, NULL instead of zero,
// the total row from the top-level rows; and, for random books posted
// through the voucher and opening-balance operations, every figure against
// a plain computation from the same lines.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

#include "accounts/openingbalances.h"
#include "ledgers/balancetable.h"
#include "store/money.h"
#include "tests/ledgers/tablesupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "vouchers/posting.h"

using namespace Qt::Literals::StringLiterals;
using tz::BalanceView;
using tz::Cents;
using tz::Icon;
using tz::test::JournalLine;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

const Message kChooseMonthAndDepth{u"请选择月份和级数"_s, u"TZ305"_s, Icon::Critical};

QStringList table(tz::Session &s, BalanceView view = BalanceView::Quantity)
{
    ScriptedDialogs dialogs;
    tz::ResultSet rows;
    EXPECT_TRUE(tz::ReadBalanceTable(s, view, rows, dialogs).isDone());
    return tz::test::rowTexts(rows);
}

// Month 2 is the month asked for; month 3 lies after it.
const QList<JournalLine> kBooks = {
    {8000000001, u"1001"_s, 500.0, {}},
    {8000000002, u"1405"_s, 1000.0, {}, 50.0},
    {8000000003, u"2202"_s, {}, 1000.0},
    {8000000004, u"2221001001"_s, {}, 500.0},
    {8010001001, u"1001"_s, 100.0, {}},
    {8010001002, u"2202"_s, {}, 100.0},
    {8010002001, u"1403"_s, 80.1, {}},
    {8010002002, u"1403"_s, {}, 80.1},
    {8020001001, u"1405"_s, 200.0, {}, 10.0},
    {8020001002, u"1405"_s, {}, 300.0, 15.0},
    {8020001003, u"2202"_s, 100.0, {}},
    {8020002001, u"2221001002"_s, 13.5, {}},
    {8020002002, u"1001"_s, {}, 13.5},
    {8030001001, u"1122"_s, 999.0, {}},
    {8030001002, u"1001"_s, {}, 999.0},
};

class BalanceTable : public testing::Test
{
protected:
    void SetUp() override { tz::test::postLines(s, kBooks); }

    TestSet set;
    tz::Session &s = set.session();
};

TEST_F(BalanceTable, FiguresSignsAndTotalsOfAMonth)
{
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildBalanceTable(s, u"2"_s, u"1"_s, dialogs).isDone());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // Columns: code, name, side, opening qty/amount, month debit qty/amount,
    // month credit qty/amount, year debit qty/amount, year credit qty/amount,
    // closing qty/amount. 1122 moved only after the month and is left out;
    // 1403 netted to zero in the year and stays with empty balances; the
    // credit-side 2202 and 2221 show their credit balances positive.
    EXPECT_EQ(table(s), (QStringList{
                            u"1001|库存现金|借||600||||13.5||100||13.5||586.5"_s,
                            u"1403|原材料|借||||||||80.1||80.1||"_s,
                            u"1405|库存商品|借|50|1000|10|200|15|300|10|200|15|300|45|900"_s,
                            u"2202|应付账款|贷||1100||100||||100||100||1000"_s,
                            u"2221|应交税费|贷||500||13.5||||13.5||||486.5"_s,
                            u"8|合  计||||10|313.5|15|313.5|10|493.6|15|493.6||"_s,
                        }));
    EXPECT_EQ(table(s, BalanceView::Amount).first(), u"1001|库存现金|借|600||13.5|100|13.5|586.5"_s);
    EXPECT_EQ(tz::balanceTableCaption(BalanceView::Amount, u"2"_s, 6), u"2 月份金额式余额表  [共6条记录]"_s);
    EXPECT_EQ(tz::balanceTableCaption(BalanceView::Quantity, u"2"_s, 6), u"2 月份数量式余额   [共6条记录]"_s);
}

TEST_F(BalanceTable, DeeperRowsAreIndentedInCodeOrderAndLeaveTheTotalAlone)
{
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildBalanceTable(s, u"2"_s, u"3"_s, dialogs).isDone());
    const QStringList rows = table(s, BalanceView::Amount);
    EXPECT_EQ(rows.mid(4), (QStringList{
                               u"2221|应交税费|贷|500|13.5||13.5||486.5"_s,
                               u"2221001| 应交增值税|贷|500|13.5||13.5||486.5"_s,
                               u"2221001001|   进项税额|贷|500|||||500"_s,
                               u"2221001002|   销项税额|贷||13.5||13.5||-13.5"_s,
                               u"8|合  计|||313.5|313.5|493.6|493.6|"_s,
                           }));

    // Opening period only: month 1's figures are the month and the year.
    ASSERT_TRUE(tz::BuildBalanceTable(s, u"1"_s, u"1"_s, dialogs).isDone());
    EXPECT_EQ(table(s, BalanceView::Amount),
              (QStringList{u"1001|库存现金|借|500|100||100||600"_s, u"1403|原材料|借||80.1|80.1|80.1|80.1|"_s,
                           u"1405|库存商品|借|1000|||||1000"_s, u"2202|应付账款|贷|1000||100||100|1100"_s,
                           u"2221|应交税费|贷|500|||||500"_s, u"8|合  计|||180.1|180.1|180.1|180.1|"_s}));
}

TEST_F(BalanceTable, RefusalsEmptyTheTableAndAnOddDepthKeepsOnlyTheTotal)
{
    ScriptedDialogs first;
    ASSERT_TRUE(tz::BuildBalanceTable(s, u"2"_s, u"1"_s, first).isDone());
    for (const auto &[month, depth] : QList<std::pair<QString, QString>>{
             {u"全部"_s, u"1"_s}, {u"年初"_s, u"1"_s}, {QString(), u"1"_s}, {u"2"_s, QString()},
             {u"13"_s, u"1"_s}, {u"0"_s, u"1"_s}, {u"2'; DROP TABLE 科目表; --"_s, u"1"_s}}) {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildBalanceTable(s, month, depth, dialogs).isRefused()) << month.toStdString();
        EXPECT_EQ(dialogs.messages, QList<Message>{kChooseMonthAndDepth});
        EXPECT_TRUE(table(s).isEmpty());
    }
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::BuildBalanceTable(s, u" 2 "_s, u"5"_s, dialogs).isDone());
    EXPECT_EQ(table(s, BalanceView::Amount), QStringList{u"8|合  计|||313.5|313.5|493.6|493.6|"_s});

    // A month before any movement still has its total row, all zero.
    s.execSql(u"DELETE FROM 分录表 WHERE ID >= 8010000000"_s);
    ASSERT_TRUE(tz::BuildBalanceTable(s, u"1"_s, u"1"_s, dialogs).isDone());
    EXPECT_EQ(table(s, BalanceView::Amount).last(), u"8|合  计|||0|0|0|0|"_s);
}

// ---- Random books against a plain computation ------------------------------

struct Account
{
    QString code;
    bool debitSide = true;
};

struct ModelLine
{
    int month = 0; // 0 for an opening line
    QString code;
    std::optional<double> quantity;
    std::optional<Cents> debit;
    std::optional<Cents> credit;
};

QString centsCell(const std::optional<Cents> &c)
{
    return c ? tz::shortestText(tz::centsToDouble(*c)) : QString();
}

// The expected amount columns of account `a` for month `m` (Amount view),
// or nothing when the account is not listed.
std::optional<QString> expectedRow(const Account &a, const QString &name, const QList<ModelLine> &lines, int m)
{
    Cents opening = 0, closing = 0;
    std::optional<Cents> monthDebit, monthCredit, yearDebit, yearCredit;
    const auto add = [](std::optional<Cents> &sum, const std::optional<Cents> &v) {
        if (v)
            sum = sum.value_or(0) + *v;
    };
    for (const ModelLine &l : lines) {
        if (!l.code.startsWith(a.code) || l.month > m)
            continue;
        const Cents net = l.debit.value_or(0) - l.credit.value_or(0);
        closing += net;
        if (l.month < m)
            opening += net;
        if (l.month == m) {
            add(monthDebit, l.debit);
            add(monthCredit, l.credit);
        }
        if (l.month > 0) {
            add(yearDebit, l.debit);
            add(yearCredit, l.credit);
        }
    }
    const bool listed = (yearDebit && *yearDebit != 0) || (yearCredit && *yearCredit != 0) || opening != 0;
    if (!listed)
        return std::nullopt;
    const int sign = a.debitSide ? 1 : -1;
    const auto balance = [sign](Cents c) { return c == 0 ? std::optional<Cents>() : std::optional<Cents>(sign * c); };
    return QStringList{a.code, name, a.debitSide ? u"借"_s : u"贷"_s, centsCell(balance(opening)),
                       centsCell(monthDebit), centsCell(monthCredit), centsCell(yearDebit), centsCell(yearCredit),
                       centsCell(balance(closing))}
        .join(u'|');
}

class RandomBalanceBooks : public testing::TestWithParam<quint32>
{
protected:
    void SetUp() override
    {
        // Four levels under 1122 so that every depth has rows.
        s.execSql(u"UPDATE 科目表 SET 明细 = '' WHERE 科目代码 = '1122'"_s);
        const QList<QStringList> chart = {{u"1122001"_s, u"华东"_s, u""_s}, {u"1122001001"_s, u"上海"_s, u""_s},
                                          {u"1122001001001"_s, u"甲公司"_s, u"Y"_s},
                                          {u"1122001001002"_s, u"乙公司"_s, u"Y"_s}};
        for (const QStringList &row : chart) {
            s.execSql(u"INSERT INTO 科目表 (科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细) VALUES (?, ?, ?, ?, '借', ?)"_s,
                      {row.at(0), row.at(1), (row.at(0).size() - 1) / 3, row.at(1), row.at(2)});
        }
        m_accounts = {{u"1001"_s, true},          {u"1002001"_s, true},       {u"1122001001001"_s, true},
                      {u"1122001001002"_s, true}, {u"1405"_s, true},          {u"2202"_s, false},
                      {u"2221001001"_s, false},   {u"2221001002"_s, false},   {u"3001"_s, false},
                      {u"5001"_s, false},         {u"5401"_s, true}};
        const tz::ResultSet names = s.RunSql(u"SELECT 科目代码, 科目名称, 方向 FROM 科目表"_s);
        for (const tz::ResultSet::Row &row : names.rows()) {
            m_names.insert(row.at(0).toString(), row.at(1).toString());
            m_sides.insert(row.at(0).toString(), row.at(2).toString() == u"借"_s);
        }
    }

    // Balanced opening balances through the opening-balance operations.
    void openBooks(std::mt19937 &random)
    {
        Cents debits = 0;
        for (const QString &code : {u"1001"_s, u"1002001"_s, u"1122001001001"_s, u"1405"_s}) {
            const Cents amount = std::uniform_int_distribution<Cents>(1, 5'000'000)(random);
            debits += amount;
            setOpening(code, amount, false);
        }
        const Cents payable = std::uniform_int_distribution<Cents>(1, debits - 1)(random);
        setOpening(u"2202"_s, payable, true);
        setOpening(u"3001"_s, debits - payable, true);
        ScriptedDialogs dialogs({true});
        ASSERT_TRUE(tz::LoadOpeningBalances(s, dialogs).isDone());
    }

    void setOpening(const QString &code, Cents amount, bool credit)
    {
        tz::OpeningEdit edit;
        (credit ? edit.credit : edit.debit) = tz::centsToText(amount);
        ScriptedDialogs dialogs;
        ASSERT_TRUE(tz::SetOpeningBalance(s, code, edit, dialogs).isDone());
        m_lines.append({0, code, std::nullopt, credit ? std::nullopt : std::optional<Cents>(amount),
                        credit ? std::optional<Cents>(amount) : std::nullopt});
    }

    // Vouchers of two to five lines, some with quantities, saved one by one.
    void postVouchers(std::mt19937 &random, int month, int count)
    {
        for (int number = 1; number <= count; ++number) {
            const int lineCount = std::uniform_int_distribution<int>(2, 5)(random);
            QList<tz::VoucherLine> lines;
            Cents balance = 0;
            for (int i = 0; i < lineCount; ++i) {
                const Account &a = m_accounts.at(std::uniform_int_distribution<qsizetype>(0, m_accounts.size() - 1)(random));
                tz::VoucherLine line;
                line.summary = i == 0 ? u"业务"_s : QString();
                line.account = a.code;
                Cents amount = std::uniform_int_distribution<Cents>(1, 2'000'000)(random);
                if (i == lineCount - 1)
                    amount = -balance; // the last line balances the voucher
                if (std::uniform_int_distribution<int>(0, 3)(random) == 0)
                    line.quantity = std::uniform_int_distribution<int>(1, 400)(random) / 4.0;
                const bool debit = i == lineCount - 1 ? amount >= 0 : std::uniform_int_distribution<int>(0, 1)(random) == 1;
                const Cents size = amount < 0 ? -amount : amount;
                (debit ? line.debit : line.credit) = size;
                balance += debit ? size : -size;
                lines.append(line);
                m_lines.append({month, a.code, line.quantity, line.debit, line.credit});
            }
            tz::VoucherHeader header;
            header.date = QDate(2024, month, 1 + number % 28);
            header.word = u"记"_s;
            header.number = number;
            header.reviewer = u"会计"_s;
            tz::PostingOutcome outcome;
            ScriptedDialogs dialogs;
            ASSERT_TRUE(tz::SaveVoucher(s, header, lines, outcome, dialogs).isDone())
                << (dialogs.messages.isEmpty() ? std::string() : dialogs.messages.last().text.toStdString());
        }
    }

    TestSet set;
    tz::Session &s = set.session();
    QList<Account> m_accounts;
    QList<ModelLine> m_lines;
    QHash<QString, QString> m_names;
    QHash<QString, bool> m_sides;
};

TEST_P(RandomBalanceBooks, EveryFigureMatchesAPlainComputationAndTheTopRowsBalance)
{
    std::mt19937 random(GetParam());
    openBooks(random);
    ASSERT_FALSE(HasFatalFailure());
    for (int month = 1; month <= 4; ++month) {
        postVouchers(random, month, std::uniform_int_distribution<int>(0, 6)(random));
        ASSERT_FALSE(HasFatalFailure());
    }

    const QStringList indents = {QString(), u" "_s, u"   "_s, u"    "_s};
    for (int month = 1; month <= 5; ++month) {
        const int depth = 1 + (month + int(GetParam())) % 4;
        ScriptedDialogs dialogs;
        ASSERT_TRUE(tz::BuildBalanceTable(s, QString::number(month), QString::number(depth), dialogs).isDone());

        // Every account of the chart down to the depth, in code order.
        std::map<QString, QString> expected;
        for (auto it = m_names.cbegin(); it != m_names.cend(); ++it) {
            const int level = int(it.key().size() - 1) / 3;
            if (level > depth || it.key().size() != 1 + 3 * level)
                continue;
            const Account a{it.key(), m_sides.value(it.key())};
            if (const std::optional<QString> row = expectedRow(a, indents.at(level - 1) + it.value(), m_lines, month))
                expected[it.key()] = *row;
        }
        QStringList want;
        for (const auto &[code, row] : expected)
            want.append(row);
        QStringList got = table(s, BalanceView::Amount);
        ASSERT_FALSE(got.isEmpty());
        got.removeLast(); // the total row
        EXPECT_EQ(got, want) << "month " << month << " depth " << depth;

        // The top-level closing balances, back to debit minus credit, sum to zero.
        const tz::ResultSet top = s.RunSql(u"SELECT 方向, 期末金额 FROM 数量式余额表 WHERE length(科目代码) = 4"_s);
        Cents sum = 0;
        for (const tz::ResultSet::Row &row : top.rows()) {
            const Cents closing = row.at(1).isNull() ? 0 : tz::roundToCents(row.at(1).toDouble());
            sum += row.at(0).toString() == u"借"_s ? closing : -closing;
        }
        EXPECT_EQ(sum, 0) << "month " << month;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomBalanceBooks, testing::Values(1u, 7u, 42u, 2024u));

} // namespace
