// Importing vouchers from a CSV file, each saved as 保存记录 saves it.
//
// The file: UTF-8 text (a byte-order mark is allowed), comma-separated with
// RFC 4180 quoting (see csvtable.h), a header row of exactly
//   凭证,日期,字号,附件,审核,摘要说明,科目代码,数量,借方金额,贷方金额,流代,流金
// and one row per voucher line. Consecutive rows with the same 凭证 value
// form one voucher; its 日期 (yyyy-MM-dd), 字号, 附件 and 审核 come from its
// first row and are ignored on the others. 科目代码 is a code or a code,
// a blank and a name. 数量, 借方金额, 贷方金额 and 流金 are numbers or empty
// (empty is no value); amounts may carry ',' between thousands, have at
// most two decimals and at most 999999999999.99 (store/money.h
// readTypedAmount; nothing is rounded). Every code must be a detail account
// of the chart. Blank lines are skipped.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

struct ImportCounts
{
    int vouchers = 0;
    int lines = 0;

    bool operator==(const ImportCounts &) const = default;
};

// Saves every voucher of the file as the next number of its month (the
// month's largest + 1, counting the file's earlier vouchers), with every
// check of 保存记录. The whole file is one transaction: the first refused
// voucher or unreadable row refuses the file, nothing is written, and the
// message is "第N行: " + the check's message (N the CSV line where that
// voucher or row starts) with the check's title and icon; a row without an
// account code is refused too ("科目代码不能为空"), since saving would drop
// every row after it. After the commit: "凭证导入成功: V张凭证, L行分录"
// (information, "TZ305系统"). A file that cannot be read fails (critical).
OpResult ImportVouchers(Session &session, const QString &path, ImportCounts &counts, Dialogs &dialogs);

} // namespace tz
