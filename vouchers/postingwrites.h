// The journal statements of posting: writing a voucher's lines, deleting a
// voucher, and moving a month's later vouchers one number up or down. The
// caller holds the transaction.
#pragma once

#include <QList>
#include <QString>

#include "vouchers/entrylines.h"
#include "vouchers/voucherline.h"

namespace tz {

class Session;

// Inserts one 分录表 row per entry line as voucher header.number of
// header.month(): ID, 日期 (yyyy-MM-dd), 月, 字号, 号码, 制单 = preparer,
// 审核, 附件 and the line's values; 结帐, 科目全称 and 顺序 stay NULL and
// the database gives the TZID. Throws DbError, and std::out_of_range for a
// month, number or line the ID cannot hold.
void writeEntryLines(Session &session, const VoucherHeader &header, const QString &preparer,
                     const QList<EntryLine> &entries);

// Deletes every line of voucher `number` of `month`.
void deleteVoucherLines(Session &session, int month, int number);

// Moves every line of the month's vouchers numbered `from` and above by
// `step` numbers (+1 or -1): ID by step * 1000 and 号码 by step, in one
// UPDATE so that IDs stay consistent with 号码 at every moment.
void shiftVouchers(Session &session, int month, int from, int step);

} // namespace tz
