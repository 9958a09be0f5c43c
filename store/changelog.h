// The trail of changes (操作日志): every operation that writes the books
// appends a row, in its own write transaction, naming the operator, the
// operation, the month and voucher numbers and a digest of the lines it
// left. Each row holds the hash of the row before it, so a row removed or
// edited outside the program breaks the chain. 凭证指纹 keeps, for every
// voucher (month 0, number 0: the opening lines), the digest its last
// writer left and that writer's row, so the check names a voucher changed
// since.
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "store/operation.h"

namespace tz {

// Vouchers `from` to `to` of a month as they now stand (month 0, number 0:
// the opening lines): their digests replace those recorded and one row is
// appended (its digest the voucher's, or over the vouchers' digests in
// number order when the row covers several). Call inside the write.
void logVouchers(Session &session, const QString &operation, int month, int from, int to);
// The records of a month's vouchers from `from` on follow the vouchers as
// posting moves them by `step`: +1 for an insertion before `from`, -1 when
// voucher `from` was deleted (its record goes with it).
void moveLoggedVouchers(Session &session, int month, int from, int step);
// Voucher `from` deleted and later ones moved down: its record goes and a
// row tells the deletion.
void logDeletion(Session &session, const QString &operation, int month, int number);
// A row for an operation on other than voucher lines (the chart, opening
// figures): its digest is that of `subject`, which the row also shows.
void logOperation(Session &session, const QString &operation, int month, const QString &subject);
// Every voucher's record made anew from the books as they stand and one
// row for them all: a new log, an upgraded set, an emptied journal.
void logAllVouchers(Session &session, const QString &operation);
// The records of vouchers holding a line on `code` made anew, under the
// last row (an account that took over its parent's lines).
void relogVouchersOn(Session &session, const QString &code);

struct ChangeLogRow {
    QString time;
    QString operatorName;
    QString operation;
    int month = 0;
    int number = 0;
    int last = 0;
    QString digest;
    QString subject;

    // The row as shown: 时间, 操作员, 操作, 月, 号码 (n, or n-m for several,
    // empty for none), 摘要 (the digest), 说明.
    QStringList fields() const;
};

// The columns of ChangeLogRow::fields().
QStringList changeLogColumns();

// The rows in order, all or those of one month (0: the chart and the
// opening figures), read in one read transaction.
OpResult ReadChangeLog(
    Session &session, QList<ChangeLogRow> &rows, Dialogs &dialogs, std::optional<int> month = std::nullopt);
// What the check finds: a broken chain, vouchers changed, written or
// deleted outside the program. Run inside the check's read transaction.
QStringList changeLogProblems(Session &session);

} // namespace tz
