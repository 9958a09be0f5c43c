// Account-book pages for a range of accounts.
#include "printing/ledgerrange.h"

#include "accounts/chartrules.h"
#include "ledgers/ledgerquery.h"
#include "printing/progress.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/safefile.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

QStringList accountsIn(Session &session, LedgerPageKind kind, const QString &from, const QString &to)
{
    const QString assets = kind == LedgerPageKind::FixedAsset
        ? u" AND (substr(K.科目代码, 1, 4) IN ('1601', '1701', '1621'))"_s
        : QString();
    const ResultSet rows = session.RunSql(
        u"SELECT K.科目代码 FROM 科目表 AS K WHERE K.明细 = 'Y' AND K.科目代码 >= ? "
        "AND substr(K.科目代码, 1, length(?)) <= ?"_s + assets
            + u" AND EXISTS (SELECT 1 FROM 分录表 AS F WHERE F.科目代码 = K.科目代码) ORDER BY K.科目代码"_s,
        {from.trimmed(), to.trimmed(), to.trimmed()});
    QStringList codes;
    for (const ResultSet::Row &row : rows.rows())
        codes.append(row.at(0).toString());
    return codes;
}

LedgerFormat formatOf(LedgerPageKind kind)
{
    switch (kind) {
    case LedgerPageKind::ThreeColumn:
        return LedgerFormat::Detail;
    case LedgerPageKind::Quantity:
        return LedgerFormat::Quantity;
    case LedgerPageKind::FixedAsset:
        break;
    }
    return LedgerFormat::FixedAsset;
}

// The pages of one account; with `giveBackCache` the connection's cached
// pages are freed between the build and the layout (see LayOutAccountPages).
OpResult layOutAccount(Session &session, LedgerPageKind kind, const QString &code, double leftCm, Document &doc,
                       Dialogs &dialogs, bool giveBackCache)
{
    doc = Document();
    LedgerPageHeading heading;
    heading.leftCm = leftCm;
    LedgerRequest request;
    request.code = code.trimmed();
    bool known = false;
    if (const OpResult named = guarded(dialogs, [&] {
            AccountLookup account;
            LookupAccount(session, request.code, account);
            request.direction = account.accountDirection;
            known = !account.accountNamePath.isEmpty();
            return ledgerPageHeadingFor(session, request.code, heading, dialogs);
        });
        !named.isDone())
        return named;
    if (!known)
        return refuse(dialogs, noSuchAccountText(request.code), u"TZ305提示"_s, Icon::Critical);
    if (const OpResult built = BuildLedger(session, formatOf(kind), request, dialogs); !built.isDone())
        return built;
    // The build read the account's lines from most pages of the journal; the
    // pages laid out next (a year of them at the limit) take that room
    // instead of adding to it, and the layout reads only the work table.
    if (giveBackCache)
        releaseCachedPages(session.mainConnection());
    return LayOutLedgerPages(session, kind, heading, doc, dialogs);
}

} // namespace

OpResult LayOutAccountPages(Session &session, LedgerPageKind kind, const QString &code, double leftCm, Document &doc,
                            Dialogs &dialogs)
{
    return layOutAccount(session, kind, code, leftCm, doc, dialogs, true);
}

OpResult LayOutLedgerRange(Session &session, LedgerPageKind kind, const QString &from, const QString &to,
                           double leftCm, Document &doc, Dialogs &dialogs, Progress *progress)
{
    doc = Document();
    QStringList codes;
    if (const OpResult read = guarded(dialogs, [&] {
            codes = accountsIn(session, kind, from, to);
            return OpResult::done();
        });
        !read.isDone())
        return read;
    if (codes.isEmpty())
        return refuse(dialogs, u"范围内没有可打印的科目"_s, applicationTitle(), Icon::Exclamation);
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (progress && !progress->advance(int(i), int(codes.size()))) {
            doc = Document();
            return OpResult::refused();
        }
        Document pages;
        // Each account's build reads the journal pages the last one read: the
        // cache is kept across the range.
        if (const OpResult laid = layOutAccount(session, kind, codes.at(i), leftCm, pages, dialogs, false);
            !laid.isDone()) {
            doc = Document();
            return laid;
        }
        doc.append(pages);
    }
    if (progress)
        progress->advance(int(codes.size()), int(codes.size()));
    return OpResult::done();
}

} // namespace tz
