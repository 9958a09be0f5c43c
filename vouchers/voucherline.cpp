// Voucher header and line values.
#include "vouchers/voucherline.h"

#include <algorithm>

#include "store/session.h"

namespace tz {

namespace {

constexpr int kLeadingNumberBound = 999'999'999;

} // namespace

QString VoucherLine::code() const
{
    const QString trimmed = account.trimmed();
    const qsizetype blank = trimmed.indexOf(u' ');
    return blank < 0 ? trimmed : trimmed.left(blank).trimmed();
}

int leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            break;
        value = std::min<qint64>(value * 10 + (c.unicode() - u'0'), kLeadingNumberBound);
    }
    return int(value);
}

bool isFiscalYearDate(const Session &session, const QDate &date)
{
    return date.isValid() && date.year() == session.fiscalYear();
}

VoucherTotals gridTotals(const QList<VoucherLine> &lines)
{
    VoucherTotals totals;
    for (const VoucherLine &line : lines) {
        totals.debit += line.debit.value_or(0);
        totals.credit += line.credit.value_or(0);
    }
    return totals;
}

} // namespace tz
