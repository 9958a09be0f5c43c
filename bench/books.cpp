// The books the benchmark measures: opening balances and a year of vouchers
// of a small trading company, written as a voucher import file. The same
// seed gives the same file byte for byte.
//
// One voucher in `bankEvery` settles through the bank account 1002001
// (sales paid at once, receipts, supplier payments, expenses, wages, taxes,
// equipment, cash withdrawals); the others are sales on credit, purchases
// on credit, accruals of wages and taxes, depreciation, cash expenses and
// equipment on credit. Stock (1405) moves with quantities on every purchase
// and sale. A voucher has two to seven lines, four on average.
#include <random>

#include <QDate>
#include <QFile>
#include <QList>

#include "accounts/openingbalances.h"
#include "bench/bench.h"
#include "store/money.h"
#include "store/scripteddialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

namespace {

const QString kBank = u"1002001"_s;
const QString kReviewer = u"张三"_s;

struct Line
{
    QString summary;
    QString code;
    std::optional<qint64> quantity;
    tz::Cents debit = 0;
    tz::Cents credit = 0;
    QString flow;
};

struct Voucher
{
    QString word;
    QList<Line> lines;
};

Line debit(const QString &summary, const QString &code, tz::Cents amount, const QString &flow = {})
{
    return {summary, code, std::nullopt, amount, 0, flow};
}

Line credit(const QString &summary, const QString &code, tz::Cents amount, const QString &flow = {})
{
    return {summary, code, std::nullopt, 0, amount, flow};
}

QString amountText(tz::Cents cents)
{
    return cents ? QString::asprintf("%lld.%02lld", cents / 100, cents % 100) : QString();
}

tz::Cents percentOf(tz::Cents amount, int percent)
{
    return (amount * percent + 50) / 100;
}

class Generator
{
public:
    explicit Generator(quint64 seed)
        : m_random(seed)
    {
    }

    // A whole number in [low, high]. The modulo keeps the sequence the same
    // with every standard library.
    qint64 between(qint64 low, qint64 high) { return low + qint64(m_random() % quint64(high - low + 1)); }

    Voucher bankVoucher()
    {
        const qint64 pick = between(0, 99);
        if (pick < 35)
            return sale(true);
        if (pick < 55) {
            const tz::Cents amount = between(100'000, 8'000'000);
            return {u"收"_s, {debit(u"收回货款"_s, kBank, amount, u"101"_s), credit(u"收回货款"_s, u"1122"_s, amount)}};
        }
        if (pick < 75) {
            const tz::Cents amount = between(100'000, 6'000'000);
            return {u"付"_s, {debit(u"支付货款"_s, u"2202"_s, amount), credit(u"支付货款"_s, kBank, amount, u"111"_s)}};
        }
        if (pick < 80) {
            const tz::Cents amount = between(500, 20'000);
            return {u"付"_s,
                    {debit(u"银行手续费"_s, u"5603002"_s, amount), credit(u"银行手续费"_s, kBank, amount, u"114"_s)}};
        }
        if (pick < 85)
            return expense(kBank);
        if (pick < 90) {
            const tz::Cents gross = between(3'000'000, 4'500'000);
            const tz::Cents incomeTax = percentOf(gross, 3);
            const QString s = u"发放工资"_s;
            return {u"付"_s,
                    {debit(s, u"2211001"_s, gross), credit(s, u"2221004"_s, incomeTax),
                     credit(s, kBank, gross - incomeTax, u"112"_s)}};
        }
        if (pick < 95) {
            const tz::Cents vat = between(200'000, 1'500'000);
            const tz::Cents city = percentOf(vat, 7);
            const tz::Cents education = percentOf(vat, 3);
            const QString s = u"缴纳税费"_s;
            return {u"付"_s,
                    {debit(s, u"2221001004"_s, vat), debit(s, u"2221005"_s, city), debit(s, u"2221006"_s, education),
                     credit(s, kBank, vat + city + education, u"113"_s)}};
        }
        if (pick < 98)
            return equipment(kBank);
        const tz::Cents amount = between(10, 100) * 10'000;
        return {u"付"_s, {debit(u"提取备用金"_s, u"1001"_s, amount), credit(u"提取备用金"_s, kBank, amount)}};
    }

    Voucher otherVoucher()
    {
        const qint64 pick = between(0, 99);
        if (pick < 33)
            return sale(false);
        if (pick < 61)
            return purchase();
        if (pick < 71) {
            const tz::Cents wages = between(3'000'000, 4'500'000);
            const tz::Cents insurance = percentOf(wages, 16);
            const tz::Cents fund = percentOf(wages, 7);
            const QString s = u"计提工资及社保"_s;
            return {u"转"_s,
                    {debit(s, u"5602004"_s, wages + insurance + fund), credit(s, u"2211001"_s, wages),
                     credit(s, u"2211003"_s, insurance), credit(s, u"2211004"_s, fund)}};
        }
        if (pick < 76) {
            const tz::Cents amount = between(150'000, 200'000);
            return {u"转"_s, {debit(u"计提折旧"_s, u"5602005"_s, amount), credit(u"计提折旧"_s, u"1602"_s, amount)}};
        }
        if (pick < 91)
            return expense(u"1001"_s);
        if (pick < 96) {
            const tz::Cents city = between(10'000, 100'000);
            const tz::Cents education = percentOf(city * 100 / 7, 3);
            const tz::Cents local = percentOf(city * 100 / 7, 2);
            const QString s = u"计提税金及附加"_s;
            return {u"转"_s,
                    {debit(s, u"5403"_s, city + education + local), credit(s, u"2221005"_s, city),
                     credit(s, u"2221006"_s, education), credit(s, u"2221007"_s, local)}};
        }
        return equipment(u"2241"_s);
    }

private:
    // Goods sold with their cost carried to 5401 at once: one or two
    // revenue lines, the output VAT, and the stock leaving with its quantity.
    Voucher sale(bool paidAtOnce)
    {
        const QString s = u"销售商品"_s;
        const qint64 units = between(5, 200);
        const tz::Cents price = between(5'000, 30'000);
        const tz::Cents net = units * price;
        const tz::Cents tax = percentOf(net, 13);
        const tz::Cents cost = percentOf(net, 70);
        Voucher v;
        v.word = paidAtOnce ? u"收"_s : u"转"_s;
        v.lines.append(paidAtOnce ? debit(s, kBank, net + tax, u"101"_s) : debit(s, u"1122"_s, net + tax));
        if (between(0, 1) == 0) {
            v.lines.append(credit(s, u"5001"_s, net));
        } else {
            const tz::Cents part = net / 3;
            v.lines.append(credit(s, u"5001"_s, part));
            v.lines.append(credit(s, u"5001"_s, net - part));
        }
        v.lines.append(credit(s, u"2221001002"_s, tax));
        v.lines.append(debit(u"结转销售成本"_s, u"5401"_s, cost));
        Line stock = credit(u"结转销售成本"_s, u"1405"_s, cost);
        stock.quantity = units;
        v.lines.append(stock);
        return v;
    }

    // Goods bought on credit: one to three stock lines with quantities.
    Voucher purchase()
    {
        const QString s = u"采购商品"_s;
        Voucher v{u"转"_s, {}};
        tz::Cents net = 0;
        const qint64 kinds = between(1, 3);
        for (qint64 i = 0; i < kinds; ++i) {
            const qint64 units = between(10, 400);
            const tz::Cents amount = units * between(3'000, 20'000);
            Line stock = debit(s, u"1405"_s, amount);
            stock.quantity = units;
            v.lines.append(stock);
            net += amount;
        }
        const tz::Cents tax = percentOf(net, 13);
        v.lines.append(debit(s, u"2221001001"_s, tax));
        v.lines.append(credit(s, u"2202"_s, net + tax));
        return v;
    }

    // An office, travel or entertainment expense with its input VAT.
    Voucher expense(const QString &paidFrom)
    {
        static const QString kinds[] = {u"5602001"_s, u"5602002"_s, u"5602003"_s};
        static const QString summaries[] = {u"购买办公用品"_s, u"报销差旅费"_s, u"业务招待"_s};
        const qint64 k = between(0, 2);
        const tz::Cents amount = between(5'000, 500'000);
        const tz::Cents tax = percentOf(amount, 6);
        const QString &s = summaries[k];
        return {u"付"_s, {debit(s, kinds[k], amount), debit(s, u"2221001001"_s, tax), credit(s, paidFrom, amount + tax, u"114"_s)}};
    }

    Voucher equipment(const QString &paidFrom)
    {
        const QString s = u"购置设备"_s;
        const tz::Cents amount = between(1'000'000, 20'000'000);
        const tz::Cents tax = percentOf(amount, 13);
        const QString flow = paidFrom == kBank ? u"212"_s : QString();
        return {paidFrom == kBank ? u"付"_s : u"转"_s,
                {debit(s, u"1601"_s, amount), debit(s, u"2221001001"_s, tax), credit(s, paidFrom, amount + tax, flow)}};
    }

    std::mt19937_64 m_random;
};

} // namespace

bool WriteOpeningBalances(tz::Session &session)
{
    struct Opening
    {
        QString code;
        QString quantity;
        QString debit;
        QString credit;
    };
    // Debits 1,125,000.00 = credits 1,125,000.00.
    const QList<Opening> openings = {
        {u"1001"_s, {}, u"5000.00"_s, {}},       {u"1002001"_s, {}, u"300000.00"_s, {}},
        {u"1122"_s, {}, u"120000.00"_s, {}},     {u"1405"_s, u"2000"_s, u"200000.00"_s, {}},
        {u"1601"_s, {}, u"500000.00"_s, {}},     {u"1602"_s, {}, {}, u"100000.00"_s},
        {u"2202"_s, {}, {}, u"150000.00"_s},     {u"3001"_s, {}, {}, u"700000.00"_s},
        {u"3104001"_s, {}, {}, u"175000.00"_s},
    };
    tz::ScriptedDialogs dialogs({true});
    for (const Opening &opening : openings) {
        tz::OpeningEdit edit;
        edit.quantity = opening.quantity;
        edit.debit = opening.debit;
        edit.credit = opening.credit;
        if (!tz::SetOpeningBalance(session, opening.code, edit, dialogs).isDone())
            return false;
    }
    return tz::LoadOpeningBalances(session, dialogs).isDone();
}

bool WriteVoucherFile(const YearShape &shape, int year, const QString &path, BookCounts &counts)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    counts = {};
    Generator generator(shape.seed);
    QByteArray out = "凭证,日期,字号,附件,审核,摘要说明,科目代码,数量,借方金额,贷方金额,流代,流金\n";
    for (int month = 1; month <= 12; ++month) {
        const int vouchers = month == 12 ? shape.lastMonthVouchers : shape.vouchersPerMonth;
        const int days = QDate(year, month, 1).daysInMonth();
        std::vector<int> dayOf(vouchers);
        for (int &day : dayOf)
            day = int(generator.between(1, days));
        std::sort(dayOf.begin(), dayOf.end());
        for (int n = 0; n < vouchers; ++n) {
            const bool bank = generator.between(0, shape.bankEvery - 1) == 0;
            const Voucher voucher = bank ? generator.bankVoucher() : generator.otherVoucher();
            const QByteArray head = QString::asprintf("%d-%d,%04d-%02d-%02d,", month, n + 1, year, month, dayOf[n])
                                        .toUtf8() +
                                    voucher.word.toUtf8() + ',' + QByteArray::number(generator.between(0, 3)) + ',' +
                                    kReviewer.toUtf8() + ',';
            for (const Line &line : voucher.lines) {
                out += head;
                out += line.summary.toUtf8() + ',' + line.code.toUtf8() + ',';
                if (line.quantity)
                    out += QByteArray::number(*line.quantity);
                out += ',' + amountText(line.debit).toUtf8() + ',' + amountText(line.credit).toUtf8() + ',';
                out += line.flow.toUtf8() + ',' +
                       (line.flow.isEmpty() ? QByteArray() : amountText(line.debit + line.credit).toUtf8()) + '\n';
            }
            ++counts.vouchers;
            counts.lines += voucher.lines.size();
            counts.bankVouchers += bank;
            if (out.size() > (1 << 20)) {
                if (file.write(out) != out.size())
                    return false;
                out.clear();
            }
        }
    }
    return file.write(out) == out.size() && file.flush();
}

} // namespace bench
