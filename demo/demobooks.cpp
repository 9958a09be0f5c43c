// The demonstration books.
#include "demo/demobooks.h"

#include <algorithm>
#include <random>
#include <utility>

#include <QDate>
#include <QList>
#include <QString>

#include "accounts/openingbalances.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/session.h"
#include "vouchers/closing.h"
#include "vouchers/posting.h"
#include "vouchers/voucherline.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kReviewer = u"张三"_s;

// Cash-flow items (template/cashflow.tsv).
const QString kFlowSales = u"101"_s;
const QString kFlowSuppliers = u"111"_s;
const QString kFlowWages = u"112"_s;
const QString kFlowTaxes = u"113"_s;
const QString kFlowOther = u"114"_s;

const QString kBank = u"1002001"_s;

struct Opening
{
    const char16_t *code;
    Cents debit;
    Cents credit;
    const char16_t *quantity = nullptr; // the foreign amount of an account flagged for revaluation
};

// Debits 776,000.00 = credits 776,000.00. The US-dollar account 1002002
// holds USD 10,000.00 booked at 7.10, which the month-end revaluation
// adjusts.
constexpr Opening kOpenings[] = {
    {u"1001", 500'000, 0},         {u"1002001", 30'000'000, 0}, {u"1002002", 7'100'000, 0, u"10000"},
    {u"1403", 8'000'000, 0},       {u"1405", 12'000'000, 0},    {u"1601", 20'000'000, 0},
    {u"1602", 0, 4'000'000},       {u"2202", 0, 6'500'000},     {u"3001", 0, 57'100'000},
    {u"3104001", 0, 10'000'000},
};

constexpr Cents kMonthlyDepreciation = 166'667; // 200,000.00 over ten years

enum class Kind { Sale, Purchase, Receipt, PaySupplier, PayWages, BankFee, Withdrawal, PayTax, Wages, Depreciation, Cost };

// The running balances that keep the vouchers plausible.
struct Books
{
    Cents receivable = 0;
    Cents payable = 6'500'000;
    Cents wagesPayable = 0;
    Cents vatDue = 0;
    Cents monthSales = 0;
    Cents stock = 12'000'000; // 库存商品 at cost, from its opening balance
};

VoucherLine debitLine(const QString &summary, const QString &code, Cents amount, const QString &flow = {})
{
    VoucherLine line;
    line.summary = summary;
    line.account = code;
    line.debit = amount;
    if (!flow.isEmpty()) {
        line.flowCode = flow;
        line.flowAmount = amount;
    }
    return line;
}

VoucherLine creditLine(const QString &summary, const QString &code, Cents amount, const QString &flow = {})
{
    VoucherLine line = debitLine(summary, code, 0, flow);
    line.debit.reset();
    line.credit = amount;
    if (!flow.isEmpty())
        line.flowAmount = amount;
    return line;
}

class Generator
{
public:
    explicit Generator(quint32 seed)
        : m_random(seed)
    {
    }

    Cents between(Cents low, Cents high) { return std::uniform_int_distribution<Cents>(low, high)(m_random); }

    Kind randomKind()
    {
        // Weights: sales 30, purchases 20, receipts 12, supplier payments 12,
        // wages paid 5, bank fees 8, withdrawals 6, taxes 7.
        static constexpr std::pair<Kind, int> kWeights[] = {
            {Kind::Sale, 30},   {Kind::Purchase, 20}, {Kind::Receipt, 12},    {Kind::PaySupplier, 12},
            {Kind::PayWages, 5}, {Kind::BankFee, 8},  {Kind::Withdrawal, 6}, {Kind::PayTax, 7},
        };
        int pick = int(between(0, 99));
        for (const auto &[kind, weight] : kWeights) {
            if (pick < weight)
                return kind;
            pick -= weight;
        }
        return Kind::Sale;
    }

    // The lines of one voucher of `kind`, its 字号 in `word`; a kind with
    // nothing to settle falls back to another.
    QList<VoucherLine> voucher(Kind kind, QString &word)
    {
        if (kind == Kind::Receipt && m_books.receivable < 100'000)
            kind = Kind::Sale;
        if (kind == Kind::PaySupplier && m_books.payable < 100'000)
            kind = Kind::Purchase;
        if ((kind == Kind::PayWages && m_books.wagesPayable <= 0) || (kind == Kind::PayTax && m_books.vatDue <= 0))
            kind = Kind::BankFee;

        word = u"付"_s;
        switch (kind) {
        case Kind::Sale: {
            const Cents net = between(200'000, 6'000'000);
            const Cents tax = (net * 13 + 50) / 100;
            m_books.vatDue += tax;
            m_books.monthSales += net;
            const QString s = u"销售商品"_s;
            VoucherLine first;
            if (between(0, 1) == 0) {
                word = u"收"_s;
                first = debitLine(s, kBank, net + tax, kFlowSales);
            } else {
                word = u"转"_s;
                m_books.receivable += net + tax;
                first = debitLine(s, u"1122"_s, net + tax);
            }
            return {first, creditLine(s, u"5001"_s, net), creditLine(s, u"2221001002"_s, tax)};
        }
        case Kind::Purchase: {
            // Buying follows the stock: small top-ups while it is ample, a
            // large order when it has run down.
            const Cents net = between(300'000, 2'000'000) + std::max<Cents>(0, 15'000'000 - m_books.stock);
            m_books.stock += net;
            const Cents tax = (net * 13 + 50) / 100;
            m_books.vatDue -= tax;
            m_books.payable += net + tax;
            word = u"转"_s;
            const QString s = u"采购商品"_s;
            return {debitLine(s, u"1405"_s, net), debitLine(s, u"2221001001"_s, tax),
                    creditLine(s, u"2202"_s, net + tax)};
        }
        case Kind::Receipt: {
            const Cents amount = between(m_books.receivable / 3, m_books.receivable);
            m_books.receivable -= amount;
            word = u"收"_s;
            const QString s = u"收回货款"_s;
            return {debitLine(s, kBank, amount, kFlowSales), creditLine(s, u"1122"_s, amount)};
        }
        case Kind::PaySupplier: {
            const Cents amount = between(m_books.payable / 3, m_books.payable);
            m_books.payable -= amount;
            const QString s = u"支付货款"_s;
            return {debitLine(s, u"2202"_s, amount), creditLine(s, kBank, amount, kFlowSuppliers)};
        }
        case Kind::PayWages: {
            const Cents amount = std::exchange(m_books.wagesPayable, 0);
            const QString s = u"发放工资"_s;
            return {debitLine(s, u"2211001"_s, amount), creditLine(s, kBank, amount, kFlowWages)};
        }
        case Kind::BankFee: {
            const Cents amount = between(500, 20'000);
            const QString s = u"银行手续费"_s;
            return {debitLine(s, u"5603002"_s, amount), creditLine(s, kBank, amount, kFlowOther)};
        }
        case Kind::Withdrawal: {
            // Between cash and bank: no cash flow.
            const Cents amount = between(10, 100) * 10'000;
            const QString s = u"提取备用金"_s;
            return {debitLine(s, u"1001"_s, amount), creditLine(s, kBank, amount)};
        }
        case Kind::PayTax: {
            const Cents amount = std::exchange(m_books.vatDue, 0);
            const QString s = u"缴纳增值税"_s;
            return {debitLine(s, u"2221001004"_s, amount), creditLine(s, kBank, amount, kFlowTaxes)};
        }
        case Kind::Wages: {
            const Cents amount = between(3'000'000, 4'500'000);
            m_books.wagesPayable += amount;
            word = u"转"_s;
            const QString s = u"计提本月工资"_s;
            return {debitLine(s, u"5602004"_s, amount), creditLine(s, u"2211001"_s, amount)};
        }
        case Kind::Depreciation: {
            word = u"转"_s;
            const QString s = u"计提本月折旧"_s;
            return {debitLine(s, u"5602005"_s, kMonthlyDepreciation),
                    creditLine(s, u"1602"_s, kMonthlyDepreciation)};
        }
        case Kind::Cost: {
            // The cost of the month's sales, never more than the stock holds.
            const Cents cost = std::max<Cents>((std::exchange(m_books.monthSales, 0) * 13 + 10) / 20, 100'000);
            const Cents amount = std::min(cost, std::max<Cents>(m_books.stock, 100'000));
            m_books.stock -= amount;
            word = u"转"_s;
            const QString s = u"结转销售成本"_s;
            return {debitLine(s, u"5401"_s, amount), creditLine(s, u"1405"_s, amount)};
        }
        }
        return {};
    }

private:
    std::mt19937 m_random;
    Books m_books;
};

} // namespace

OpResult MakeDemoBooks(Session &session, int year, int vouchersPerMonth, quint32 seed, Dialogs &dialogs,
                       DemoBooksCounts *counts, int closeThrough)
{
    DemoBooksCounts local;
    DemoBooksCounts &done = counts ? *counts : local;
    done = {};
    if (vouchersPerMonth < 1 || vouchersPerMonth > 9999 || closeThrough < 0 || closeThrough > 12)
        return fail(dialogs, u"示例帐套的参数无效"_s);

    return guarded(dialogs, [&]() -> OpResult {
        const QString company = u"示例商贸有限公司"_s;
        session.execSql(u"UPDATE 信息表 SET 帐套名称 = ? WHERE 代号 = 'TZ'"_s, {company});
        session.setCompanyName(company);
        for (const Opening &opening : kOpenings) {
            OpeningEdit edit;
            edit.debit = opening.debit ? centsToText(opening.debit) : QString();
            edit.credit = opening.credit ? centsToText(opening.credit) : QString();
            if (opening.quantity)
                edit.quantity = QString::fromUtf16(opening.quantity);
            const OpResult set = SetOpeningBalance(session, QString::fromUtf16(opening.code), edit, dialogs);
            if (!set.isDone())
                return set;
        }
        const OpResult loaded = LoadOpeningBalances(session, dialogs);
        if (!loaded.isDone())
            return loaded;

        Generator generator(seed);
        // Month-end vouchers when there is room for them: wages, depreciation, cost of sales.
        const QList<Kind> monthEnd = vouchersPerMonth >= 4
                                         ? QList<Kind>{Kind::Wages, Kind::Depreciation, Kind::Cost}
                                         : QList<Kind>{};
        for (int month = 1; month <= 12; ++month) {
            const QDate first(year, month, 1);
            const int days = first.daysInMonth();
            const int spread = vouchersPerMonth - int(monthEnd.size());
            QList<int> dayOf;
            for (int i = 0; i < spread; ++i)
                dayOf.append(int(generator.between(1, days)));
            std::sort(dayOf.begin(), dayOf.end());
            for (int number = 1; number <= vouchersPerMonth; ++number) {
                const bool atEnd = number > spread;
                const Kind kind = atEnd ? monthEnd.at(number - spread - 1) : generator.randomKind();
                VoucherHeader header;
                header.date = atEnd ? QDate(year, month, days) : QDate(year, month, dayOf.at(number - 1));
                header.number = number;
                header.attachments = int(generator.between(1, 3));
                header.reviewer = kReviewer;
                const QList<VoucherLine> lines = generator.voucher(kind, header.word);
                PostingOutcome outcome;
                const OpResult saved = SaveVoucher(session, header, lines, outcome, dialogs);
                if (!saved.isDone())
                    return saved;
                ++done.vouchers;
                done.lines += outcome.linesWritten;
            }
        }

        for (int month = 1; month <= closeThrough; ++month) {
            const OpResult closed = CloseMonth(session, QDate(year, month, 1), kReviewer, dialogs);
            if (!closed.isDone())
                return closed;
            ++done.monthsClosed;
        }
        return OpResult::done();
    });
}

} // namespace tz
