// Dispatch of the ledger formats to their builds and the read of the
// work tables.
#include "ledgers/ledgerquery.h"

#include "ledgers/fixedassetledger.h"
#include "ledgers/multicolumnledger.h"
#include "ledgers/quantityledger.h"
#include "ledgers/threecolumnledger.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

OpResult BuildLedger(Session &session, LedgerFormat format, const LedgerRequest &request, Dialogs &dialogs)
{
    const QString code = request.code.trimmed();
    switch (format) {
    case LedgerFormat::Detail:
        return BuildDetailLedger(session, code, request.direction, dialogs);
    case LedgerFormat::General:
        return BuildGeneralLedger(session, code, request.direction, dialogs);
    case LedgerFormat::Quantity:
        return BuildQuantityLedger(session, code, request.direction, request.priceDigits, dialogs);
    case LedgerFormat::MultiIncrease:
        return BuildMultiColumnLedger(session, code, request.direction, MultiColumnVariant::Increase, dialogs);
    case LedgerFormat::MultiNet:
        return BuildMultiColumnLedger(session, code, request.direction, MultiColumnVariant::Net, dialogs);
    case LedgerFormat::FixedAsset:
        return BuildFixedAssetLedger(session, code, dialogs);
    }
    return OpResult::failed(u"unknown ledger format"_s);
}

QString ledgerTable(LedgerFormat format)
{
    switch (format) {
    case LedgerFormat::Detail:
    case LedgerFormat::General:
        return u"三总式"_s;
    case LedgerFormat::Quantity:
        return u"数量式"_s;
    case LedgerFormat::MultiIncrease:
    case LedgerFormat::MultiNet:
        return u"多栏式"_s;
    case LedgerFormat::FixedAsset:
        return u"固累式"_s;
    }
    return {};
}

namespace {

// Every ledger table sorts by its ID column (the fixed-asset table's second
// column); rows with the same key (none in practice) keep their insertion
// order.
const QString kLedgerOrder = u" ORDER BY ID, rowid"_s;

} // namespace

ResultSet ReadLedger(Session &session, LedgerFormat format)
{
    return session.RunSql(u"SELECT * FROM "_s + ledgerTable(format) + kLedgerOrder);
}

PagedRows OpenLedgerRows(Session &session, LedgerFormat format)
{
    const QString table = ledgerTable(format);
    return PagedRows(session, u"SELECT rowid FROM "_s + table + kLedgerOrder, {},
                     u"SELECT * FROM "_s + table + u" WHERE rowid = ?1"_s);
}

QString ledgerCaption(LedgerFormat format, const QString &name, int rows)
{
    const QString kind = format == LedgerFormat::General ? u"  总帐   [共"_s : u"  明细帐   [共"_s;
    return name + kind + QString::number(rows) + u"条记录]"_s;
}

std::optional<LedgerFormat> ledgerFormatNamed(const QString &name)
{
    static const QList<std::pair<QString, LedgerFormat>> names = {
        {u"three"_s, LedgerFormat::Detail},           {u"general"_s, LedgerFormat::General},
        {u"quantity"_s, LedgerFormat::Quantity},      {u"multi"_s, LedgerFormat::MultiIncrease},
        {u"multi1"_s, LedgerFormat::MultiNet},        {u"fixed"_s, LedgerFormat::FixedAsset},
    };
    for (const auto &[n, format] : names) {
        if (n == name)
            return format;
    }
    return std::nullopt;
}

} // namespace tz
