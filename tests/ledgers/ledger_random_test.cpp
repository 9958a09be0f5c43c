// Every ledger against a plain in-memory computation: random opening
// balances loaded through the opening-balance load and random vouchers
// saved through SaveVoucher; then each ledger's balances, running balances
// and totals must equal sums over the same journal lines in cents. The
// rows the query window computes for the screen must equal the rows each
// build writes, on these books and on the demonstration books.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

#include "accounts/openingbalances.h"
#include "demo/demobooks.h"
#include "ledgers/entryjournal.h"
#include "ledgers/ledgerquery.h"
#include "store/money.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "store/pagedrows.h"
#include "vouchers/posting.h"

using namespace Qt::Literals::StringLiterals;
using tz::Cents;
using tz::LedgerFormat;
using tz::test::ScriptedDialogs;
using tz::test::table;

namespace {

struct Account
{
    QString code;
    QString direction;
};

const QList<Account> kAccounts = {
    {u"1001"_s, u"借"_s},       {u"1002001"_s, u"借"_s},    {u"1002002"_s, u"借"_s},    {u"1122"_s, u"借"_s},
    {u"1405"_s, u"借"_s},       {u"1601"_s, u"借"_s},       {u"1602"_s, u"贷"_s},       {u"2202"_s, u"贷"_s},
    {u"2221001001"_s, u"贷"_s}, {u"2221001002"_s, u"贷"_s}, {u"2221002"_s, u"贷"_s},    {u"5001"_s, u"贷"_s},
    {u"5602001"_s, u"借"_s},    {u"5602002"_s, u"借"_s},
};

// A journal line as the model sees it.
struct Entry
{
    qint64 id;
    QString code;
    std::optional<Cents> debit;
    std::optional<Cents> credit;
    std::optional<double> quantity;

    QString period() const { return QString::number(id).left(3); }
    Cents net() const { return debit.value_or(0) - credit.value_or(0); }
};

QString money(Cents cents)
{
    return tz::test::cellText(tz::centsToDouble(cents));
}

QString money(const std::optional<Cents> &cents)
{
    return cents ? money(*cents) : QString();
}

void add(std::optional<Cents> &sum, const std::optional<Cents> &value)
{
    if (value)
        sum = sum.value_or(0) + *value;
}

class RandomLedgerBooks : public testing::TestWithParam<unsigned>
{
protected:
    void SetUp() override
    {
        std::mt19937 random(GetParam());
        const auto cents = [&] { return Cents(std::uniform_int_distribution<int>(1, 500'000)(random)); };
        const auto chance = [&](int percent) { return std::uniform_int_distribution<int>(1, 100)(random) <= percent; };

        // Opening balances on a random half of the accounts, 3001 taking the difference.
        ScriptedDialogs dialogs({true});
        Cents difference = 0;
        for (const Account &account : kAccounts) {
            if (!chance(50))
                continue;
            const Cents amount = cents();
            const bool debit = account.direction == u"借"_s ? !chance(10) : chance(10);
            difference += debit ? amount : -amount;
            tz::OpeningEdit edit;
            (debit ? edit.debit : edit.credit) = tz::centsToText(amount);
            if (account.code == u"1405"_s)
                edit.quantity = u"12.5"_s;
            ASSERT_TRUE(tz::SetOpeningBalance(s(), account.code, edit, dialogs).isDone());
        }
        if (difference != 0) {
            tz::OpeningEdit plug;
            (difference > 0 ? plug.credit : plug.debit) = tz::centsToText(std::abs(difference));
            ASSERT_TRUE(tz::SetOpeningBalance(s(), u"3001"_s, plug, dialogs).isDone());
        }
        ASSERT_TRUE(tz::LoadOpeningBalances(s(), dialogs).isDone());

        // Vouchers of random months, 2 to 4 lines each, the last one balancing.
        for (int month = 1; month <= 12; ++month) {
            if (!chance(70))
                continue;
            const int vouchers = std::uniform_int_distribution<int>(1, 4)(random);
            for (int number = 1; number <= vouchers;) {
                QList<tz::VoucherLine> lines;
                Cents balance = 0;
                const int count = std::uniform_int_distribution<int>(2, 4)(random);
                for (int i = 0; i < count; ++i) {
                    tz::VoucherLine line;
                    line.summary = u"随机%1"_s.arg(i);
                    line.account = kAccounts.at(std::uniform_int_distribution<int>(0, int(kAccounts.size()) - 1)(random))
                                       .code;
                    const bool last = i == count - 1;
                    const bool debit = last ? balance < 0 : chance(50);
                    const Cents amount = last ? std::abs(balance) : cents();
                    (debit ? line.debit : line.credit) = amount;
                    balance += debit ? amount : -amount;
                    if (line.account == u"1405"_s && chance(80))
                        line.quantity = std::uniform_int_distribution<int>(1, 400)(random) / 10.0;
                    lines.append(line);
                }
                if (*(lines.last().debit ? lines.last().debit : lines.last().credit) == 0)
                    continue; // the first lines cancelled out: draw this voucher again
                tz::VoucherHeader header;
                header.date = QDate(2024, month, 15);
                header.word = u"记"_s;
                header.number = number;
                header.reviewer = u"会计"_s;
                tz::PostingOutcome outcome;
                ScriptedDialogs posting;
                ASSERT_TRUE(tz::SaveVoucher(s(), header, lines, outcome, posting).isDone())
                    << (posting.messages.isEmpty() ? std::string() : posting.messages.first().text.toStdString());
                ++number;
            }
        }

        const tz::ResultSet posted = s().RunSql(u"SELECT ID, 科目代码, 借方金额, 贷方金额, 数量 FROM 分录表 ORDER BY ID"_s);
        for (const QVariantList &row : posted.rows()) {
            Entry e{row.at(0).toLongLong(), row.at(1).toString(), {}, {}, {}};
            if (!row.at(2).isNull())
                e.debit = tz::roundToCents(row.at(2).toDouble());
            if (!row.at(3).isNull())
                e.credit = tz::roundToCents(row.at(3).toDouble());
            if (!row.at(4).isNull())
                e.quantity = row.at(4).toDouble();
            journal.append(e);
        }
        ASSERT_GT(journal.size(), 10);
    }

    tz::Session &s() { return set.session(); }

    QStringList build(LedgerFormat format, const QString &code, const QString &direction, const QString &sql)
    {
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::BuildLedger(s(), format, {code, direction, 2}, dialogs).isDone()) << code.toStdString();
        return table(s(), sql);
    }

    QList<Entry> linesWhere(const std::function<bool(const Entry &)> &wanted) const
    {
        QList<Entry> out;
        for (const Entry &e : journal) {
            if (wanted(e))
                out.append(e);
        }
        return out;
    }

    tz::test::TestSet set;
    QList<Entry> journal;
};

// Month totals and year-to-date totals in the detail ledgers' shape.
void appendTotals(const QList<Entry> &lines, std::map<QString, QStringList> &byPeriod, QStringList &rows,
                  const QString &monthKey, const QString &yearKey)
{
    std::optional<Cents> yearDebit;
    std::optional<Cents> yearCredit;
    for (auto &[period, periodRows] : byPeriod) {
        rows += periodRows;
        if (period == u"800"_s)
            continue;
        std::optional<Cents> debit;
        std::optional<Cents> credit;
        for (const Entry &e : lines) {
            if (e.period() == period) {
                add(debit, e.debit);
                add(credit, e.credit);
            }
        }
        add(yearDebit, debit);
        add(yearCredit, credit);
        rows.append(period + monthKey + u"|"_s + money(debit) + u"|"_s + money(credit));
        rows.append(period + yearKey + u"|"_s + money(yearDebit) + u"|"_s + money(yearCredit));
    }
}

TEST_P(RandomLedgerBooks, DetailLedgersFollowTheLines)
{
    for (const Account &account : kAccounts) {
        const int sign = account.direction == u"贷"_s ? -1 : 1;
        const QList<Entry> lines = linesWhere([&](const Entry &e) { return e.code == account.code; });
        std::map<QString, QStringList> byPeriod;
        Cents balance = 0;
        for (const Entry &e : lines) {
            balance += e.net();
            const bool opening = e.period() == u"800"_s;
            byPeriod[e.period()].append(QString::number(e.id) + u"|"_s + (opening ? QString() : money(e.debit)) + u"|"_s
                                        + (opening ? QString() : money(e.credit)) + u"|"_s
                                        + (balance == 0 ? u"平"_s : account.direction) + u"|"_s + money(sign * balance));
        }
        QStringList expected;
        std::map<QString, QStringList> withTotals = byPeriod;
        appendTotals(lines, withTotals, expected, u"9999998"_s, u"9999999"_s);
        // Totals rows carry no direction and no balance.
        for (QString &row : expected) {
            if (row.count(u'|') == 2)
                row += u"||"_s;
        }
        if (balance != 0)
            expected.append(u"813|||"_s + QString() + u"|"_s + money(sign * balance));
        EXPECT_EQ(build(LedgerFormat::Detail, account.code, account.direction,
                        u"SELECT ID, 借方金额, 贷方金额, 方向, 余额 FROM 三总式 ORDER BY ID"_s),
                  expected)
            << account.code.toStdString();
    }
}

TEST_P(RandomLedgerBooks, GeneralLedgersFollowTheLines)
{
    for (const QString &top : {u"1002"_s, u"2221"_s, u"5602"_s, u"1001"_s}) {
        const QString direction = top == u"2221"_s ? u"贷"_s : u"借"_s;
        const int sign = direction == u"贷"_s ? -1 : 1;
        const QList<Entry> lines = linesWhere([&](const Entry &e) { return e.code.startsWith(top); });
        QStringList expected;
        std::map<QString, std::pair<std::optional<Cents>, std::optional<Cents>>> sums;
        std::map<QString, Cents> nets;
        for (const Entry &e : lines) {
            add(sums[e.period()].first, e.debit);
            add(sums[e.period()].second, e.credit);
            nets[e.period()] += e.net();
        }
        Cents balance = 0;
        std::optional<Cents> yearDebit;
        std::optional<Cents> yearCredit;
        for (const auto &[period, pair] : sums) {
            balance += nets[period];
            const QString side = balance == 0 ? u"平"_s : direction;
            if (period == u"800"_s) {
                expected.append(u"8001|||"_s + side + u"|"_s + money(sign * balance));
                continue;
            }
            add(yearDebit, pair.first);
            add(yearCredit, pair.second);
            expected.append(period + u"1|"_s + money(pair.first) + u"|"_s + money(pair.second) + u"|"_s + side + u"|"_s
                            + money(sign * balance));
            expected.append(period + u"2|"_s + money(yearDebit) + u"|"_s + money(yearCredit) + u"||"_s);
        }
        if (balance != 0)
            expected.append(u"813||||"_s + money(sign * balance));
        EXPECT_EQ(build(LedgerFormat::General, top, direction,
                        u"SELECT ID, 借方金额, 贷方金额, 方向, 余额 FROM 三总式 ORDER BY ID"_s),
                  expected)
            << top.toStdString();
    }
}

TEST_P(RandomLedgerBooks, QuantityAndFixedAssetRunningValues)
{
    // 1405: running quantity (receipts minus issues) and amount per line.
    QStringList quantities;
    double quantity = 0;
    Cents amount = 0;
    for (const Entry &e : linesWhere([](const Entry &e) { return e.code == u"1405"_s; })) {
        if (!e.credit)
            quantity += e.quantity.value_or(0);
        if (!e.debit)
            quantity -= e.quantity.value_or(0);
        amount += e.net();
        quantities.append(QString::number(e.id) + u"|"_s + QString::number(quantity, 'f', 4) + u"|"_s + money(amount));
    }
    QStringList built;
    for (const QString &row : build(LedgerFormat::Quantity, u"1405"_s, u"借"_s,
                                    u"SELECT ID, 余数, 余额 FROM 数量式 WHERE 方向 IS NOT NULL ORDER BY ID"_s)) {
        const QStringList cells = row.split(u'|');
        built.append(cells.at(0) + u"|"_s + QString::number(cells.at(1).toDouble(), 'f', 4) + u"|"_s + cells.at(2));
    }
    EXPECT_EQ(built, quantities);

    // 1601 with 1602: running cost, depreciation and net value per month line.
    Cents cost = 0;
    Cents depreciation = 0;
    QStringList expected;
    for (const Entry &e : journal) {
        const bool asset = e.code == u"1601"_s;
        if (!asset && e.code != u"1602"_s)
            continue;
        (asset ? cost : depreciation) += asset ? e.net() : -e.net();
        if (e.period() != u"800"_s)
            expected.append(QString::number(e.id) + u"|"_s + money(cost) + u"|"_s + money(depreciation) + u"|"_s
                            + money(cost - depreciation));
    }
    EXPECT_EQ(build(LedgerFormat::FixedAsset, u"1601"_s, u"借"_s,
                    u"SELECT ID, 原值, 累计折旧, 净值 FROM 固累式 WHERE 科目代码 IS NOT NULL ORDER BY ID"_s),
              expected);
}

TEST_P(RandomLedgerBooks, MultiColumnBalancesFollowTheLines)
{
    // 2221 in 多栏式1: the parent's running balance on each line, and each
    // seven-digit sub-account's balance (credit side) at every month end.
    const QList<Entry> lines = linesWhere([](const Entry &e) { return e.code.startsWith(u"2221"_s); });
    QStringList expected;
    std::map<QString, std::map<QString, Cents>> byPeriod; // period -> heading code -> net credit
    Cents running = 0;
    for (const Entry &e : lines) {
        running += e.net();
        byPeriod[e.period()][e.code.left(7)] -= e.net();
        const Cents shown = e.period() == u"800"_s ? running : -running;
        expected.append(QString::number(e.id) + u"|"_s + money(shown));
    }
    std::map<QString, Cents> cumulative;
    QStringList balances;
    for (const auto &[period, nets] : byPeriod) {
        for (const auto &[code, net] : nets)
            cumulative[code] += net;
        if (period == u"800"_s)
            continue;
        QString row = period + u"9999998"_s;
        for (const QString &code : {u"2221001"_s, u"2221002"_s})
            row += u"|"_s + (cumulative.count(code) ? money(cumulative[code]) : QString());
        balances.append(row);
    }
    build(LedgerFormat::MultiNet, u"2221"_s, u"贷"_s, u"SELECT 1"_s);
    EXPECT_EQ(table(s(), u"SELECT ID, 余额 FROM 多栏式1 WHERE 方向 IS NOT NULL ORDER BY ID"_s), expected);
    const QStringList headings = s().RunSql(u"SELECT * FROM 多栏式"_s).columnNames().mid(9);
    const auto column = [&](const QString &code) {
        for (const QString &h : headings) {
            if (h.startsWith(code + u" "_s))
                return u"\""_s + h + u"\""_s;
        }
        return u"NULL"_s;
    };
    EXPECT_EQ(table(s(), u"SELECT ID, "_s + column(u"2221001"_s) + u", "_s + column(u"2221002"_s)
                             + u" FROM 多栏式 WHERE 摘要说明 = ' 余额' ORDER BY ID"_s),
              balances);
}

// Every row shown, read in blocks from the last backwards (a block's lines
// start inside a month), equals the work table's row in the same place,
// value and type; so does the column list. False (after saying where) when
// one differs.
void expectShownAsBuilt(const tz::PagedRows &shown, const tz::ResultSet &built, const std::string &what)
{
    ASSERT_EQ(shown.columnNames(), built.columnNames()) << what;
    ASSERT_EQ(shown.count(), built.recordCount()) << what;
    for (int block = (shown.count() - 1) / 150; block >= 0; --block) {
        for (int r = block * 150; r < std::min(shown.count(), block * 150 + 150); ++r) {
            for (qsizetype c = 0; c < built.columnNames().size(); ++c) {
                const QVariant &got = shown.row(r).at(c);
                const QVariant &want = built.rows().at(r).at(c);
                ASSERT_TRUE(got.typeId() == want.typeId() && got == want)
                    << what << " row " << r << " " << built.columnNames().at(c).toStdString() << ": "
                    << got.toString().toStdString() << " instead of " << want.toString().toStdString();
            }
        }
    }
}

// The ledger computed for the screen against its build.
void expectScreenRowsAsBuilt(tz::Session &s, LedgerFormat format, const tz::LedgerRequest &request,
                             bool computed = true)
{
    const std::string what = request.code.toStdString() + " format " + std::to_string(int(format));
    ScriptedDialogs dialogs;
    tz::PagedRows shown;
    bool filled = true;
    ASSERT_TRUE(tz::OpenLedgerView(s, format, request, shown, filled, dialogs).isDone()) << what;
    EXPECT_EQ(filled, !computed) << what;
    ASSERT_TRUE(tz::BuildLedger(s, format, request, dialogs).isDone()) << what;
    expectShownAsBuilt(shown, tz::ReadLedger(s, format), what);
}

// The entry journal of each month choice as the grid reads it against the
// copy BuildEntryJournal writes.
void expectJournalsAsBuilt(tz::Session &s, const QStringList &months)
{
    for (const QString &month : months) {
        const std::string what = "entry journal " + month.toStdString();
        ScriptedDialogs dialogs;
        tz::PagedRows shown;
        ASSERT_TRUE(tz::OpenEntryJournal(s, month, shown, dialogs).isDone()) << what;
        tz::ResultSet built;
        ASSERT_TRUE(tz::BuildEntryJournal(s, month, dialogs).isDone()) << what;
        ASSERT_TRUE(tz::ReadEntryJournal(s, built, dialogs).isDone()) << what;
        expectShownAsBuilt(shown, built, what);
    }
}

TEST_P(RandomLedgerBooks, RowsComputedForTheScreenAreTheBuiltRows)
{
    for (const Account &account : kAccounts) {
        for (const LedgerFormat format : {LedgerFormat::Detail, LedgerFormat::Quantity})
            expectScreenRowsAsBuilt(s(), format, {account.code, account.direction, 3});
    }
    for (const LedgerFormat format : {LedgerFormat::MultiIncrease, LedgerFormat::MultiNet}) {
        for (const auto &[code, direction] : {std::pair{u"2221"_s, u"贷"_s}, {u"1002"_s, u"借"_s}, {u"5602"_s, u"借"_s}})
            expectScreenRowsAsBuilt(s(), format, {code, direction, 2});
    }
    expectScreenRowsAsBuilt(s(), LedgerFormat::FixedAsset, {u"1601"_s, u"借"_s, 2});
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomLedgerBooks, testing::Values(1u, 7u, 2024u));

// Lines whose IDs the computed rows cannot follow (a line of voucher 9999
// keyed among a month's totals, an opening line left among the multi-column
// rows, a line past the year) have the ledger built and read; those just
// short of that are computed. Either way the rows are the build's.
TEST(LedgerOnScreen, LinesTheComputedRowsCannotFollowAreBuilt)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    using tz::test::Line;
    tz::test::postLines(s, {Line{0, 0, 1, u"1002001"_s, 100.0, {}}, Line{1, 9999, 995, u"1002001"_s, {}, 3.0, 2.0},
                            Line{1, 9999, 994, u"1002002"_s, 3.0, {}}});
    expectScreenRowsAsBuilt(s, LedgerFormat::Detail, {u"1002001"_s, u"借"_s, 2});
    expectScreenRowsAsBuilt(s, LedgerFormat::Quantity, {u"1002001"_s, u"贷"_s, 2});
    expectScreenRowsAsBuilt(s, LedgerFormat::MultiNet, {u"1002"_s, u"借"_s, 2});
    tz::test::postLines(s, {Line{1, 9999, 997, u"1602"_s, {}, 2.0}, Line{1, 9999, 996, u"1601"_s, 2.0, {}}});
    expectScreenRowsAsBuilt(s, LedgerFormat::FixedAsset, {u"1601"_s, u"借"_s, 2});
    tz::test::postLines(s, {Line{1, 9999, 999, u"1602"_s, 1.0, {}}});
    expectScreenRowsAsBuilt(s, LedgerFormat::FixedAsset, {u"1601"_s, u"借"_s, 2}, false);
    tz::test::postLines(s, {Line{0, 0, 9'000'001, u"1002002"_s, 1.0, {}}, Line{1, 9999, 998, u"1002001"_s, 1.0, {}}});
    expectScreenRowsAsBuilt(s, LedgerFormat::MultiIncrease, {u"1002"_s, u"借"_s, 2}, false);
    expectScreenRowsAsBuilt(s, LedgerFormat::Detail, {u"1002001"_s, u"借"_s, 2}, false);
    tz::test::postLines(s, {Line{13, 1, 1, u"1002002"_s, 1.0, {}}});
    expectScreenRowsAsBuilt(s, LedgerFormat::Quantity, {u"1002002"_s, u"借"_s, 2}, false);
}

// Journals whose lines the kept totals cannot place (a line of an account
// not in the chart, a line whose 月 is not its ID's month, IDs outside the
// year's periods, one of them beginning '800') are read whole; either way
// each entry journal is the built one.
TEST(LedgerOnScreen, JournalLinesTheKeptTotalsCannotPlaceAreReadWhole)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    using tz::test::Line;
    tz::test::postLines(s, {Line{0, 0, 1, u"1002001"_s, 100.0, {}}, Line{0, 0, 2, u"3001"_s, {}, 100.0},
                            Line{1, 1, 1, u"1002001"_s, 5.0, {}}, Line{1, 1, 2, u"1122"_s, {}, 5.0},
                            Line{3, 1, 1, u"1001"_s, 2.0, {}}, Line{3, 1, 2, u"1002002"_s, {}, 2.0},
                            Line{3, 2, 1, u"1001"_s, 1.0, {}}, Line{3, 2, 2, u"1122"_s, {}, 1.0}});
    const QStringList months = {u"全部"_s, u"年初"_s, u"1"_s, u"3"_s};
    expectJournalsAsBuilt(s, months);
    const QStringList damages = {
        u"UPDATE 分录表 SET 月 = 3 WHERE ID = 8010001002"_s,
        u"UPDATE 分录表 SET 月 = 1 WHERE ID = 8010001002"_s,
        u"UPDATE 分录表 SET 科目代码 = '9999' WHERE ID = 8030001001"_s,
        u"UPDATE 分录表 SET 科目代码 = '1001' WHERE ID = 8030001001"_s,
        u"UPDATE 分录表 SET ID = 8001234 WHERE ID = 8000000002"_s,
        u"UPDATE 分录表 SET ID = NULL WHERE ID = 8030002002"_s,
    };
    for (const QString &damage : damages) {
        s.execSql(damage);
        expectJournalsAsBuilt(s, months);
    }
}

// On a year of demonstration books, large enough that blocks of rows start
// inside months: accounts with sub-accounts, with quantities, a credit
// account and one without lines, in every format computed for the screen;
// and again after a voucher was modified.
TEST(LedgerOnScreen, DemonstrationBooksInEveryFormat)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    ScriptedDialogs yes(QList<bool>(20, true));
    ASSERT_TRUE(tz::MakeDemoBooks(s, 2024, 30, 7, yes).isDone());
    const auto everyFormat = [&] {
        for (const auto &[code, direction] : {std::pair{u"1002001"_s, u"借"_s}, {u"1405"_s, u"借"_s},
                                              {u"2221001"_s, u"贷"_s}, {u"1012"_s, u"借"_s}}) {
            for (const LedgerFormat format : {LedgerFormat::Detail, LedgerFormat::Quantity})
                expectScreenRowsAsBuilt(s, format, {code, direction, 2});
        }
        for (const auto &[code, direction] : {std::pair{u"2221"_s, u"贷"_s}, {u"1002"_s, u"借"_s}}) {
            for (const LedgerFormat format : {LedgerFormat::MultiIncrease, LedgerFormat::MultiNet})
                expectScreenRowsAsBuilt(s, format, {code, direction, 2});
        }
        expectScreenRowsAsBuilt(s, LedgerFormat::FixedAsset, {u"1601"_s, u"借"_s, 2});
        expectJournalsAsBuilt(s, {u"全部"_s, u"年初"_s, u"1"_s, u"6"_s, u"12"_s});
    };
    ASSERT_GT(s.RunSql(u"SELECT count(*) FROM 分录表 WHERE 科目代码 = '1002001'"_s).value(0, 0).toInt(), 200);
    ASSERT_GT(s.RunSql(u"SELECT count(*) FROM 分录表 WHERE ID < 8010000000"_s).value(0, 0).toInt(), 0);
    everyFormat();

    // A line of a voucher of June moved to another amount and account.
    s.execSql(u"UPDATE 分录表 SET 借方金额 = 借方金额 + 1, 科目代码 = '2221001' WHERE ID = "
              "(SELECT min(ID) FROM 分录表 WHERE 月 = 6 AND 借方金额 > 0 AND 科目代码 <> '2221001')"_s);
    s.execSql(u"UPDATE 分录表 SET 借方金额 = 借方金额 + 1 WHERE ID = "
              "(SELECT min(ID) FROM 分录表 WHERE 月 = 6 AND 借方金额 > 0 AND 科目代码 = '1002001')"_s);
    everyFormat();
}

} // namespace
