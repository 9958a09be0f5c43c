// Posting against a model: a seeded random run of saves, inserts, modifies
// and deletes over a few months (some of them meant to be refused), each
// compared with a plain in-memory list of vouchers per month. After every
// step the journal must hold exactly the model: numbers 1..k per month, IDs
// "8" + month + number + line, each voucher's lines in order, and the same
// debit and credit totals per account.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"
#include "tests/vouchers/postingsupport.h"
#include "vouchers/posting.h"
#include "vouchers/staging.h"

using namespace Qt::Literals::StringLiterals;
using tz::Cents;
using tz::NavigationResult;
using tz::OpResult;
using tz::PostingOutcome;
using tz::VoucherLine;
using tz::test::headerOf;
using tz::test::idOf;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

struct ModelLine
{
    QString code;
    std::optional<Cents> debit;
    std::optional<Cents> credit;
};

struct ModelVoucher
{
    QString tag; // the first line's summary, every line's summary
    QList<ModelLine> lines;
};

using Model = std::map<int, QList<ModelVoucher>>;

const QStringList kCodes = {u"1001"_s, u"1122"_s, u"1405"_s, u"5001"_s, u"5401"_s};
const int kMonths[] = {1, 2, 3};

class RandomVouchers
{
public:
    explicit RandomVouchers(unsigned seed)
        : m_random(seed)
    {
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    // A balanced voucher of two to four lines under a fresh tag.
    ModelVoucher voucher()
    {
        ModelVoucher v;
        v.tag = u"T%1"_s.arg(++m_serial);
        const int count = pick(2, 4);
        Cents balance = 0;
        for (int i = 0; i < count - 1; ++i) {
            const Cents amount = pick(1, 999'999);
            const bool debit = chance(50);
            v.lines.append({kCodes.at(pick(0, int(kCodes.size()) - 1)), debit ? std::optional(amount) : std::nullopt,
                            debit ? std::nullopt : std::optional(amount)});
            balance += debit ? amount : -amount;
        }
        const QString code = kCodes.at(pick(0, int(kCodes.size()) - 1));
        if (balance > 0)
            v.lines.append({code, std::nullopt, balance});
        else // a debit of 0 when the random lines cancel out
            v.lines.append({code, -balance, std::nullopt});
        return v;
    }

private:
    std::mt19937 m_random;
    int m_serial = 0;
};

QList<VoucherLine> gridOf(const ModelVoucher &v)
{
    QList<VoucherLine> grid;
    for (const ModelLine &m : v.lines) {
        VoucherLine line;
        line.summary = grid.isEmpty() ? v.tag : QString(); // later lines take the first summary
        line.account = m.code;
        line.debit = m.debit;
        line.credit = m.credit;
        grid.append(line);
    }
    return grid;
}

QVariant amount(const std::optional<Cents> &cents)
{
    return cents ? QVariant(tz::centsToDouble(*cents)) : QVariant();
}

// The whole journal as the model says it must be, in ID order.
QList<QVariantList> expectedJournal(const Model &model)
{
    QList<QVariantList> rows;
    for (const auto &[month, vouchers] : model) {
        for (int n = 1; n <= vouchers.size(); ++n) {
            const ModelVoucher &v = vouchers.at(n - 1);
            for (int line = 1; line <= v.lines.size(); ++line) {
                const ModelLine &m = v.lines.at(line - 1);
                rows.append({idOf(month, n, line), month, n, v.tag, m.code, amount(m.debit), amount(m.credit)});
            }
        }
    }
    return rows;
}

QList<QVariantList> expectedTotals(const Model &model)
{
    std::map<QString, std::pair<Cents, Cents>> totals;
    for (const auto &[month, vouchers] : model) {
        for (const ModelVoucher &v : vouchers) {
            for (const ModelLine &m : v.lines) {
                totals[m.code].first += m.debit.value_or(0);
                totals[m.code].second += m.credit.value_or(0);
            }
        }
    }
    QList<QVariantList> rows;
    for (const auto &[code, sums] : totals)
        rows.append({code, sums.first, sums.second});
    return rows;
}

QList<QVariantList> journalTotals(tz::Session &s)
{
    QList<QVariantList> rows;
    for (const QVariantList &row : tz::test::rowsOf(
             s, u"SELECT 科目代码, total(借方金额), total(贷方金额) FROM 分录表 GROUP BY 科目代码 ORDER BY 科目代码"_s)) {
        rows.append({row.at(0), tz::roundToCents(row.at(1).toDouble()), tz::roundToCents(row.at(2).toDouble())});
    }
    return rows;
}

TEST(PostingModel, RandomOperationsKeepTheJournalEqualToTheModel)
{
    TestSet set;
    tz::Session &s = set.session();
    // Hundreds of commits: skip the disk flush of each, which only costs time here.
    s.RunSql(u"PRAGMA synchronous = OFF"_s);
    RandomVouchers run(20240315);
    Model model;
    for (const int month : kMonths)
        model[month];
    const QString journalSql = u"SELECT ID, 月, 号码, 摘要说明, 科目代码, 借方金额, 贷方金额 FROM 分录表 ORDER BY ID"_s;

    int done = 0;
    int refused = 0;
    for (int step = 0; step < 500; ++step) {
        const int month = kMonths[run.pick(0, 2)];
        QList<ModelVoucher> &vouchers = model[month];
        const int k = int(vouchers.size());
        ScriptedDialogs dialogs({true});
        PostingOutcome outcome;
        OpResult result;
        bool expectDone = true;
        std::optional<int> expectedNext;
        QString what;

        const int kind = k == 0 ? 0 : run.pick(0, 9); // 0-3 save, 4-5 insert, 6-7 modify, 8-9 delete
        if (kind <= 3) {
            const ModelVoucher v = run.voucher();
            const bool wrongNumber = run.chance(10);
            const int n = wrongNumber ? k + run.pick(2, 3) : k + 1;
            what = u"save %1/%2"_s.arg(month).arg(n);
            result = tz::SaveVoucher(s, headerOf(month, n), gridOf(v), outcome, dialogs);
            expectDone = !wrongNumber;
            if (expectDone) {
                vouchers.append(v);
                expectedNext = n + 1;
            }
        } else if (kind <= 5) {
            const ModelVoucher v = run.voucher();
            const bool pastTheEnd = run.chance(10);
            const int n = pastTheEnd ? k + 1 : run.pick(1, k);
            what = u"insert %1/%2"_s.arg(month).arg(n);
            result = tz::InsertVoucher(s, headerOf(month, n), gridOf(v), outcome, dialogs);
            expectDone = !pastTheEnd;
            if (expectDone) {
                vouchers.insert(n - 1, v);
                expectedNext = k + 2;
            }
        } else {
            const int n = run.pick(1, k);
            // Sometimes another window has reused the staging table, or the
            // voucher staged is the same number of another month.
            const int sabotage = run.chance(15) ? run.pick(1, 2) : 0;
            NavigationResult view;
            ScriptedDialogs quiet;
            if (sabotage == 1) {
                s.execSql(u"DELETE FROM 分录始表"_s);
            } else {
                const int stagedMonth = sabotage == 2 ? (month % 3) + 1 : month;
                tz::FetchVoucher(s, stagedMonth, n, view, quiet);
            }
            expectDone = sabotage == 0;
            if (kind <= 7) {
                const ModelVoucher v = run.voucher();
                what = u"modify %1/%2"_s.arg(month).arg(n);
                result = tz::ModifyVoucher(s, headerOf(month, n), gridOf(v), outcome, dialogs);
                if (expectDone) {
                    vouchers[n - 1] = v;
                    expectedNext = k + 1;
                }
            } else {
                what = u"delete %1/%2"_s.arg(month).arg(n);
                QList<VoucherLine> grid = gridOf(vouchers.at(n - 1));
                result = tz::DeleteVoucher(s, headerOf(month, n), grid, outcome, dialogs);
                if (expectDone) {
                    vouchers.removeAt(n - 1);
                    expectedNext = k;
                }
            }
        }
        SCOPED_TRACE(u"step %1: %2"_s.arg(step).arg(what).toStdString());
        ASSERT_EQ(result.isDone(), expectDone) << result.message.toStdString();
        ASSERT_EQ(outcome.nextNumber, expectedNext);
        ASSERT_EQ(dialogs.messages.size(), 1);
        (expectDone ? done : refused) += 1;

        ASSERT_EQ(tz::test::rowsOf(s, journalSql), expectedJournal(model));
        ASSERT_EQ(journalTotals(s), expectedTotals(model));
    }
    // The run exercised both outcomes enough to mean something.
    EXPECT_GT(done, 350);
    EXPECT_GT(refused, 20);
}

} // namespace
