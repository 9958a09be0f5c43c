// The checks of the four posting operations (save, modify, insert, delete),
// each with its message, and the order in which each operation makes them.
// The first check that fails is the one the user sees; nothing is written.
#pragma once

#include <optional>

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include "store/dialogs.h"
#include "vouchers/entrylines.h"
#include "vouchers/monthstate.h"
#include "vouchers/voucherline.h"

namespace tz {

class Session;

enum class PostingKind {
    Save,
    Modify,
    Insert,
    Delete,
};

enum class PostingCheck {
    FiscalYear,        // the date's year is the fiscal year
    NumberAndReviewer, // a number of at least 1 and a reviewer
    OpenMonth,         // the month is open, or it is December
    SaveNumber,        // save: the number follows the month's largest
    ModifyNumber,      // modify: the number exists in the month
    InsertNumber,      // insert: the number exists in the month
    DeleteNumber,      // delete: the number exists in the month
    VoucherLimit,      // save and insert: no voucher numbered past 9999
    StagedVoucher,     // modify and delete: a voucher is staged in 分录始表
    StagedNumber,      // modify and delete: it is this month's voucher n
    FirstSummary,      // the first row has a summary
    Balance,           // the written lines balance to the cent
    TwoLines,          // the first two rows have accounts
    LineLimit,         // at most 999 lines
    AccountCodes,      // every written code is all digits
    ChartAccounts,     // every written code is a detail account of the chart
};

// The checks of `kind` in the order the operation makes them.
QList<PostingCheck> postingChecks(PostingKind kind);

// A refused check: what the user is told.
struct Refusal
{
    PostingCheck check = PostingCheck::FiscalYear;
    QString text;
    QString title;
    Icon icon = Icon::None;
};

// Everything the checks look at.
struct PostingCase
{
    PostingKind kind = PostingKind::Save;
    qint16 fiscalYear = 0;
    VoucherHeader header;
    QList<VoucherLine> lines;   // the grid
    QList<EntryLine> entries;   // buildEntryLines(lines)
    MonthState month;           // readMonthState(header.month())
    bool staged = false;        // 分录始表 holds a row
    QVariant stagedMonth;       // 月 and 号码 of its first row in ID order
    QVariant stagedNumber;
    // 明细 of each written code as the chart holds it; a code the chart
    // lacks is absent.
    QHash<QString, QString> detailFlags;
};

// The detail flag of each code, read from 科目表 (codes already in `flags`
// are not read again, so an import reads each code once). Throws DbError.
void readDetailFlags(Session &session, const QList<EntryLine> &entries, QHash<QString, QString> &flags);

// Reads what the checks of `kind` need from the set (month state, the
// chart's detail flags of the written codes, and the staged voucher for
// modify and delete). Posting reads it inside its write transaction, so no
// other program changes it before the lines are written. `knownFlags`, when
// given, holds flags already read in the same transaction. Throws DbError.
PostingCase readPostingCase(Session &session, PostingKind kind, const VoucherHeader &header,
                            const QList<VoucherLine> &lines, QHash<QString, QString> *knownFlags = nullptr);

// The first of the kind's checks that fails, or nothing when all pass.
std::optional<Refusal> firstRefusal(const PostingCase &posting);

} // namespace tz
