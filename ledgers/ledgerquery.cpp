// Dispatch of the ledger formats to their builds and the read of the
// work tables.
#include "ledgers/ledgerquery.h"

#include <algorithm>
#include <iterator>

#include "ledgers/fixedassetledger.h"
#include "ledgers/multicolumnledger.h"
#include "ledgers/quantityledger.h"
#include "ledgers/threecolumnledger.h"
#include "store/guard.h"
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

namespace {

// Every ledger table sorts by its ID column (the fixed-asset table's second
// column); rows with the same key (none in practice) keep their insertion
// order.
const QString kLedgerOrder = u" ORDER BY ID, rowid"_s;

// What is known of each format: its name on the command line, the work
// table it fills and what its exported files are named after.
struct FormatFacts
{
    LedgerFormat format;
    const char16_t *name;
    const char16_t *table;
    const char16_t *subject;
};

const FormatFacts kFormats[] = {
    {LedgerFormat::Detail, u"three", u"三总式", u"明细帐"},
    {LedgerFormat::General, u"general", u"三总式", u"总分类帐"},
    {LedgerFormat::Quantity, u"quantity", u"数量式", u"数量帐"},
    {LedgerFormat::MultiIncrease, u"multi", u"多栏式", u"多栏帐"},
    {LedgerFormat::MultiNet, u"multi1", u"多栏式", u"多栏帐"},
    {LedgerFormat::FixedAsset, u"fixed", u"固累式", u"固累帐"},
};

const FormatFacts &factsOf(LedgerFormat format)
{
    return *std::find_if(std::begin(kFormats), std::end(kFormats),
                         [format](const FormatFacts &facts) { return facts.format == format; });
}

} // namespace

QString ledgerTable(LedgerFormat format)
{
    return QString::fromUtf16(factsOf(format).table);
}

QString ledgerSubject(LedgerFormat format)
{
    return QString::fromUtf16(factsOf(format).subject);
}

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

namespace {

// The computed rows of `format`, or nullopt when it is built.
std::optional<PagedRows> computedRows(Session &session, LedgerFormat format, const LedgerRequest &request)
{
    const QString code = request.code.trimmed();
    switch (format) {
    case LedgerFormat::Detail:
        return DetailLedgerRows(session, code, request.direction);
    case LedgerFormat::Quantity:
        return QuantityLedgerRows(session, code, request.direction, request.priceDigits);
    case LedgerFormat::MultiIncrease:
        return MultiColumnLedgerRows(session, code, request.direction, MultiColumnVariant::Increase);
    case LedgerFormat::MultiNet:
        return MultiColumnLedgerRows(session, code, request.direction, MultiColumnVariant::Net);
    case LedgerFormat::FixedAsset:
        return FixedAssetLedgerRows(session, code);
    case LedgerFormat::General:
        break;
    }
    return std::nullopt;
}

} // namespace

OpResult OpenLedgerView(Session &session, LedgerFormat format, const LedgerRequest &request, PagedRows &rows,
                        bool &filled, Dialogs &dialogs)
{
    std::optional<PagedRows> computed;
    if (const OpResult opened = guarded(dialogs, [&] {
            computed = computedRows(session, format, request);
            return OpResult::done();
        });
        !opened.isDone())
        return opened;
    filled = !computed;
    if (computed) {
        rows = std::move(*computed);
        return OpResult::done();
    }
    // A refusal still shows the work table as the build left it.
    const OpResult built = BuildLedger(session, format, request, dialogs);
    if (const OpResult read = guarded(dialogs, [&] {
            rows = OpenLedgerRows(session, format);
            return OpResult::done();
        });
        !read.isDone())
        return read;
    return built;
}

QString ledgerCaption(LedgerFormat format, const QString &name, int rows)
{
    const QString kind = format == LedgerFormat::General ? u"  总帐   [共"_s : u"  明细帐   [共"_s;
    return name + kind + QString::number(rows) + u"条记录]"_s;
}

std::optional<LedgerFormat> ledgerFormatNamed(const QString &name)
{
    for (const FormatFacts &facts : kFormats) {
        if (name == QString::fromUtf16(facts.name))
            return facts.format;
    }
    return std::nullopt;
}

} // namespace tz
