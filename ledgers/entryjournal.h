// The entry journal (分录簿) and its code filter (筛选): journal lines with
// their account's full name, copied into 分录始表 in ID order for the
// worksheet export, or read straight from 分录表 by the grid. The entry
// journal has no report page.
#pragma once

#include <QString>

#include "store/opresult.h"
#include "store/resultset.h"

namespace tz {

class Dialogs;
class PagedRows;
class Session;

// The columns of a journal row, in the order the grid shows them.
QString entryJournalColumns();

// Empties 分录始表 and fills it with the lines of 分录表 whose code is an
// account of 科目表 (lines of other codes are not listed), in ID order,
// chosen by `month` (the text of the month choice):
//  - empty or "全部": the whole year, opening lines included;
//  - "年初": the opening lines (ID beginning "800"), every field as stored;
//  - "1".."12": the lines with 月 = month.
// In the whole-year and month journals the voucher heading shows once per
// voucher: 月, 日期 and 字号 (as 字号 + "-" + 号码, a missing part empty)
// only on a first line (ID ending "001") or a line of the closing transfer
// (结帐 = 2), 号码 only on a line whose ID ends "000"; elsewhere NULL.
// Refuses any other month text with "请选择月份" (critical, "TZ305"),
// after emptying 分录始表. One transaction; nothing shown on success.
OpResult BuildEntryJournal(Session &session, const QString &month, Dialogs &dialogs);

// The same rows as BuildEntryJournal then ReadEntryJournal give, read
// straight from 分录表 as they are shown (PagedRows), without the copy into
// 分录始表, which is left as it is. The same refusal for another month text.
// Each period's lines are counted from the kept balances and read a block
// at a time through the ID index; books whose kept totals cannot place the
// listed lines (an account not in the chart, an ID outside the year's
// periods, a month whose 月 differs from its IDs) have the whole order read.
OpResult OpenEntryJournal(Session &session, const QString &month, PagedRows &rows, Dialogs &dialogs);

// Empties 分录始表 and fills it with every line of 分录表 whose code begins
// with `prefix` and is an account of 科目表, across the opening lines and
// all months in ID order, every heading field shown (字号 as 字号 + "-" +
// 号码). An empty prefix (blanks ignored) leaves 分录始表 empty and is
// refused without a message; a prefix that is not all digits is refused
// with prefix + "  科目代码只能是数字" (critical, "TZ305提示"). One
// transaction; nothing shown on success.
OpResult BuildPrefixJournal(Session &session, const QString &prefix, Dialogs &dialogs);

// The rows of 分录始表 in ID order with the columns of entryJournalColumns().
OpResult ReadEntryJournal(Session &session, ResultSet &rows, Dialogs &dialogs);

// Status lines: month + " 月份分录明细  [共n条记录]" and
// prefix + " 开头的所有明细数据 共n条记录".
QString entryJournalCaption(const QString &month, int rows);
QString prefixJournalCaption(const QString &prefix, int rows);

} // namespace tz
