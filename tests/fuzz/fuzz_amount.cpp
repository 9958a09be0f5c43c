// Amounts, quantities and dates as typed: the money readers, the display
// formats and the number boxes, with the round trips they promise.
#include <QDate>

#include "store/money.h"
#include "store/numberformat.h"
#include "tests/fuzz/fuzztarget.h"
#include "vouchers/voucherline.h"

using namespace Qt::Literals::StringLiterals;
using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(amount)
{
    const QString text = tz::fuzz::inputText(data, size);

    if (const std::optional<tz::Cents> cents = tz::parseAmount(text)) {
        fuzzCheck(*cents >= -tz::kMaxCents && *cents <= tz::kMaxCents, "parseAmount beyond kMaxCents");
        fuzzCheck(tz::parseAmount(tz::centsToText(*cents)) == cents, "parseAmount(centsToText) differs");
        fuzzCheck(tz::parseAmount(tz::centsToText(*cents, true)) == cents, "grouped text reads differently");
    }
    const tz::TypedAmount typed = tz::readTypedAmount(text);
    if (typed.verdict == tz::AmountText::Valid) {
        fuzzCheck(typed.cents >= -tz::kMaxPostedCents && typed.cents <= tz::kMaxPostedCents,
                  "readTypedAmount beyond kMaxPostedCents");
        fuzzCheck(tz::readTypedAmount(tz::centsToText(typed.cents)).cents == typed.cents,
                  "readTypedAmount(centsToText) differs");
    } else {
        fuzzCheck(!tz::typedAmountProblem(typed.verdict, u"借方金额"_s, text).isEmpty(), "no refusal text");
    }

    for (int decimals = 0; decimals <= 4; ++decimals) {
        if (const std::optional<QString> rounded = tz::roundDecimalText(text, decimals, decimals % 2 == 1))
            fuzzCheck(tz::roundDecimalText(*rounded, decimals, false).has_value(), "rounded text is no number");
    }
    static const QStringList formats = {u"0"_s, u"0.00"_s, u"0.000"_s, u"#,##0.00"_s, u"#,##0"_s, u"yyyy-MM-dd"_s};
    for (const QString &format : formats)
        tz::formatValue(QVariant(text), format);
    tz::stripGrouping(text);
    fuzzCheck(tz::leadingNumber(text) >= 0 && tz::leadingNumber(text) <= 999'999'999, "leadingNumber out of range");
    const QDate date = QDate::fromString(text, u"yyyy-MM-dd"_s);
    if (date.isValid())
        fuzzCheck(tz::formatValue(QVariant(date), u"yyyy-MM-dd"_s) == text.trimmed(), "a date does not read back");
    return 0;
}
