// Account-book pages of accounts named by code, for the command line and
// batch printing: each account's ledger built as the query window builds
// it (its direction, name and unit from the chart), then its pages; a
// range appends the accounts' pages, each numbering its own.
#pragma once

#include <QString>

#include "printing/ledgerpages.h"

namespace tz {

class Progress;

// The ledger of account `code` built into the kind's work table, then its
// pages (LayOutLedgerPages), headed with the account's name path. A code
// that is no account: "<code>  此科目不存在!" (critical, "TZ305提示").
OpResult LayOutAccountPages(Session &session, LedgerPageKind kind, const QString &code, double leftCm, Document &doc,
                            Dialogs &dialogs);

// The detail accounts with codes from `from` to `to` (as text, both
// included, and the accounts under `to` with it) that have journal lines; for 固累帐 only those under 1601,
// 1701 and 1621. Refuses a range without such accounts with "范围内没有可打印
// 的科目" (exclamation, "TZ305"). `progress` counts accounts and may cancel
// (refused, no pages).
OpResult LayOutLedgerRange(Session &session, LedgerPageKind kind, const QString &from, const QString &to,
                           double leftCm, Document &doc, Dialogs &dialogs, Progress *progress = nullptr);

} // namespace tz
