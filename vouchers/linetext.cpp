// The command line's voucher line read into a VoucherLine.
#include "vouchers/linetext.h"

#include <cmath>

#include <QLocale>
#include <QStringList>

#include "store/money.h"
#include "store/numberformat.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

std::optional<VoucherLine> parseLineText(const QString &text, QString &problem, bool &refused)
{
    QStringList fields = text.split(u'|');
    if (fields.size() > 7) {
        problem = u"一行分录最多 7 栏: "_s + text;
        return std::nullopt;
    }
    while (fields.size() < 7)
        fields.append(QString());
    VoucherLine line;
    line.summary = fields.at(0);
    line.account = fields.at(1);
    const QString quantity = stripGrouping(fields.at(2).trimmed());
    if (!quantity.isEmpty()) {
        bool ok = false;
        line.quantity = QLocale::c().toDouble(quantity, &ok);
        if (!ok || !std::isfinite(*line.quantity)) {
            problem = u"数量不是数字: "_s + fields.at(2);
            return std::nullopt;
        }
    }
    const auto amount = [&](int index, std::optional<Cents> &target) {
        const QString cell = fields.at(index).trimmed();
        if (cell.isEmpty())
            return true;
        const TypedAmount typed = readTypedAmount(cell);
        if (typed.verdict == AmountText::Valid) {
            target = typed.cents;
            return true;
        }
        static const QStringList names = {{}, {}, {}, u"借方金额"_s, u"贷方金额"_s, {}, u"流金"_s};
        problem = typedAmountProblem(typed.verdict, names.at(index), cell);
        refused = true;
        return false;
    };
    if (!amount(3, line.debit) || !amount(4, line.credit))
        return std::nullopt;
    line.flowCode = fields.at(5).trimmed();
    if (!amount(6, line.flowAmount))
        return std::nullopt;
    return line;
}

} // namespace tz
