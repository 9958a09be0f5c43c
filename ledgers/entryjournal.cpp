// The entry journal and its code filter.
#include "ledgers/entryjournal.h"

#include <optional>

#include "ledgers/ledgersql.h"
#include "ledgers/periodrows.h"
#include "ledgers/tablechoice.h"
#include "store/connection.h"
#include "store/dialogs.h"
#include "store/digits.h"
#include "store/guard.h"
#include "store/keptbalances.h"
#include "store/pagedrows.h"
#include "store/session.h"
#include "store/worktables.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kColumns = u"月, 日期, 字号, 号码, 摘要说明, 科目代码, 科目全称, 数量, 借方金额, 贷方金额, 流代, 流金, "
                         "制单, 审核, 附件, 结帐, ID"_s;

// The lines a journal lists: those of 分录表 whose code is an account of
// 科目表, in ID order (lines with equal IDs, which posting never makes, in
// rowid order). `filter` narrows them with ?2, ?3.
const QString kLinesFrom = u" FROM 分录表 a JOIN 科目表 f ON f.科目代码 = a.科目代码"_s;

// The lines are written in ID order as rows 1, 2, .. of the emptied table,
// each with the staging counter's next TZID. The counter trigger would
// spend two updates on every row, so the statement numbers the rows itself,
// with the triggers off: row k gets rowid k and TZID ?1 + k, ?1 the counter
// before the copy, as the trigger would have given them. The rows are
// numbered in a narrow pass over the lines (rowid and ID only), then each
// line is read once by its rowid; numbering the full rows would carry every
// column through the window's buffer.
QString numberedCopy(const QString &columns, const QString &filter)
{
    return u"INSERT INTO 分录始表 (rowid, "_s + kColumns + u", TZID) SELECT n.k, "_s + columns
        + u", ?1 + n.k FROM (SELECT a.rowid AS r, row_number() OVER (ORDER BY a.ID, a.rowid) AS k"_s + kLinesFrom
        + filter + u") n JOIN 分录表 a ON a.rowid = n.r JOIN 科目表 f ON f.科目代码 = a.科目代码"_s;
}

// A voucher's heading shows on its first line and on every line of the
// closing transfer; 字号 and 号码 join as "记-12" even when one is missing.
// The names are those of 分录始表, so that a journal read straight from
// 分录表 shows the same columns as the copy.
const QString kHeadingColumns = uR"(
  CASE WHEN substr(a.ID, -3) = '001' OR a.结帐 = 2 THEN a.月 END AS 月,
  CASE WHEN substr(a.ID, -3) = '001' OR a.结帐 = 2 THEN a.日期 END AS 日期,
  CASE WHEN substr(a.ID, -3) = '001' OR a.结帐 = 2 THEN ifnull(a.字号, '') || '-' || ifnull(a.号码, '') END AS 字号,
  CASE WHEN substr(a.ID, -3) = '000' THEN a.号码 END AS 号码,
  a.摘要说明, a.科目代码, f.科目全称, a.数量, a.借方金额, a.贷方金额, a.流代, a.流金, a.制单, a.审核, a.附件, a.结帐, a.ID)"_s;

const QString kPlainColumns = uR"(
  a.月, a.日期, a.字号, a.号码, a.摘要说明, a.科目代码, f.科目全称, a.数量, a.借方金额, a.贷方金额, a.流代, a.流金,
  a.制单, a.审核, a.附件, a.结帐, a.ID)"_s;

// Which lines a journal lists and how: the columns, the filter (?2, ?3)
// and its values; and the periods (0 the opening group, 1..12 the months)
// whose lines those are when the journal is what posting writes.
struct Selection
{
    QString columns;
    QString filter;
    QVariantList values;
    QList<int> periods;
};

// The selection of a month choice: the whole year and a month (the (月,
// 号码) index finds its lines) under voucher headings, the opening lines
// with every column as stored; nothing for another text.
std::optional<Selection> monthSelection(const QString &month)
{
    const QString choice = month.trimmed();
    if (choice.isEmpty() || choice == kWholeYearChoice) {
        QList<int> year;
        for (int period = 0; period < periodrows::kPeriods; ++period)
            year.append(period);
        return Selection{kHeadingColumns, {}, {}, year};
    }
    if (choice == kOpeningChoice)
        return Selection{kPlainColumns, u" WHERE substr(a.ID, 1, 3) = '800'"_s, {}, {0}};
    if (const std::optional<int> m = monthOfChoice(choice))
        return Selection{kHeadingColumns, u" WHERE a.月 = ?2"_s, {*m}, {*m}};
    return std::nullopt;
}

// The lines of each period from the kept balances, when they are exactly
// the lines the selection lists: every kept total is of an account of the
// chart (so the join to 科目表 drops no line) and of a period of the year
// (so no line sorts outside the periods, and the '800' IDs are the opening
// group's); for a month, its lines by 月 are those by ID, compared through
// the two indexes' rowids. Nothing otherwise: the journal is then read as
// its whole order.
std::optional<QList<int>> keptLineCounts(Session &session, const Selection &lines)
{
    const ResultSet kept = session.RunSql(
        u"SELECT k.期, sum(k.行数), max(f.科目代码 IS NULL OR k.科目代码 = '') FROM 科目月计 k "
        "LEFT JOIN 科目表 f ON f.科目代码 = k.科目代码 GROUP BY k.期"_s);
    QList<int> byPeriod(periodrows::kPeriods, 0);
    for (const ResultSet::Row &row : kept.rows()) {
        const QVariant &period = row.at(0);
        if (period.typeId() != QMetaType::LongLong || period.toLongLong() < kOpeningPeriod
            || period.toLongLong() > kLastPeriod || row.at(2).toInt() != 0)
            return std::nullopt;
        byPeriod[int(period.toLongLong()) - kOpeningPeriod] = row.at(1).toInt();
    }
    QList<int> counts;
    for (const int period : lines.periods)
        counts.append(byPeriod.at(period));
    if (!lines.values.isEmpty()) {
        // A month: as many lines by 月 as in its ID range, and each of them there.
        const int month = lines.periods.first();
        const ResultSet agree = session.RunSql(
            u"SELECT (SELECT count(*) FROM 分录表 WHERE 月 = ?1), (SELECT count(*) FROM 分录表 WHERE ID >= ?2 AND "
            "ID < ?3 AND rowid IN (SELECT rowid FROM 分录表 WHERE 月 = ?1))"_s,
            {month, periodrows::firstIdOf(month), periodrows::pastIdOf(month)});
        if (agree.value(0, 0).toInt() != counts.first() || agree.value(0, 1).toInt() != counts.first())
            return std::nullopt;
    }
    return counts;
}

// The journal of the selection's periods, each read a block at a time from
// its own lines through the ID index: `n` of a period's lines from its
// `offset`-th on, in the order of the whole journal (ID, then rowid).
std::optional<PagedRows> periodJournal(Session &session, const Selection &lines)
{
    Transaction read(session, Transaction::Mode::Read);
    const std::optional<QList<int>> counts = keptLineCounts(session, lines);
    if (!counts)
        return std::nullopt;
    const QString blockSql = u"SELECT "_s + lines.columns + kLinesFrom
        + u" WHERE a.rowid IN (SELECT rowid FROM 分录表 WHERE ID >= ?1 AND ID < ?2 ORDER BY ID, rowid LIMIT ?3 "
          "OFFSET ?4) ORDER BY a.ID, a.rowid"_s;
    // The column names come from the statement, with no row read.
    const QStringList columns = session.RunSql(blockSql, {0, 0, 0, 0}).columnNames();
    read.commit();
    QList<periodrows::Period> periods;
    for (const int n : *counts)
        periods.append(periodrows::Period{n, {}});
    return periodrows::periodRows(
        session, columns, periods, {},
        [session = &session, blockSql, shown = lines.periods](int p, int offset, int n) {
            const int period = shown.at(p);
            return session
                ->RunSql(blockSql, {periodrows::firstIdOf(period), periodrows::pastIdOf(period), n, offset})
                .rows();
        });
}

// ?2 the prefix, ?3 the first text after every code that begins with it:
// the code index finds the range. Every line shows its reference.
const QString kPrefixColumns = uR"(
  a.月, a.日期, ifnull(a.字号, '') || '-' || ifnull(a.号码, '') AS 字号, a.号码, a.摘要说明, a.科目代码, f.科目全称,
  a.数量, a.借方金额, a.贷方金额, a.流代, a.流金, a.制单, a.审核, a.附件, a.结帐, a.ID)"_s;
const QString kPrefixFilter = u" WHERE a.科目代码 >= ?2 AND a.科目代码 < ?3"_s;

const QString kStagingCounterSql = u"SELECT 当前值 FROM TZID计数 WHERE 表名 = '分录始表'"_s;
const QString kRaiseStagingCounterSql = u"UPDATE TZID计数 SET 当前值 = 当前值 + ? WHERE 表名 = '分录始表'"_s;

// Empties 分录始表 and runs `fill` (when given) in one transaction; the
// staging counter moves on by the rows written.
OpResult refill(Session &session, Dialogs &dialogs, const QString &fill, const QVariantList &params)
{
    return guarded(dialogs, [&] {
        Transaction transaction(session, Transaction::Mode::WorkTables);
        emptyWorkTables(session, {u"分录始表"_s});
        if (!fill.isEmpty()) {
            // Without its counter row the trigger gives NULL; so does NULL + k.
            const ResultSet counter = session.RunSql(kStagingCounterSql);
            const QVariant before = counter.recordCount() == 0 ? QVariant() : counter.value(0, 0);
            qint64 written = 0;
            {
                TriggersOff triggersOff(session.mainConnection());
                written = session.execSql(fill, QVariantList{before} + params);
            }
            session.execSql(kRaiseStagingCounterSql, {written});
        }
        transaction.commit();
        return OpResult::done();
    });
}

} // namespace

QString entryJournalColumns()
{
    return kColumns;
}

OpResult BuildEntryJournal(Session &session, const QString &month, Dialogs &dialogs)
{
    if (const std::optional<Selection> lines = monthSelection(month))
        return refill(session, dialogs, numberedCopy(lines->columns, lines->filter), lines->values);
    const OpResult emptied = refill(session, dialogs, {}, {});
    if (!emptied.isDone())
        return emptied;
    return refuse(dialogs, u"请选择月份"_s, applicationTitle(), Icon::Critical);
}

OpResult OpenEntryJournal(Session &session, const QString &month, PagedRows &rows, Dialogs &dialogs)
{
    const std::optional<Selection> lines = monthSelection(month);
    if (!lines)
        return refuse(dialogs, u"请选择月份"_s, applicationTitle(), Icon::Critical);
    return guarded(dialogs, [&] {
        if (std::optional<PagedRows> byPeriod = periodJournal(session, *lines)) {
            rows = std::move(*byPeriod);
            return OpResult::done();
        }
        // ?1 is the copy's counter; the filter's values keep their numbers.
        const QVariantList values = lines->values.isEmpty() ? QVariantList() : QVariantList{QVariant()} + lines->values;
        rows = PagedRows(session, u"SELECT a.rowid"_s + kLinesFrom + lines->filter + u" ORDER BY a.ID, a.rowid"_s,
                         values,
                         u"SELECT "_s + lines->columns + kLinesFrom + u" WHERE a.rowid = ?1"_s);
        return OpResult::done();
    });
}

OpResult BuildPrefixJournal(Session &session, const QString &prefix, Dialogs &dialogs)
{
    const QString code = prefix.trimmed();
    if (code.isEmpty() || !isAllDigits(code)) {
        const OpResult emptied = refill(session, dialogs, {}, {});
        if (!emptied.isDone() || code.isEmpty())
            return emptied.isDone() ? OpResult::refused() : emptied;
        return refuse(dialogs, code + u"  科目代码只能是数字"_s, u"TZ305提示"_s, Icon::Critical);
    }
    // Every code that begins with the digits lies in [prefix, prefix with its
    // last digit raised by one); '9' + 1 is ':', which sorts after every digit.
    QString end = code;
    end.back() = QChar(end.back().unicode() + 1);
    return refill(session, dialogs, numberedCopy(kPrefixColumns, kPrefixFilter), {code, end});
}

OpResult ReadEntryJournal(Session &session, ResultSet &rows, Dialogs &dialogs)
{
    return guarded(dialogs, [&] {
        rows = session.RunSql(u"SELECT "_s + kColumns + u" FROM 分录始表 ORDER BY ID"_s);
        return OpResult::done();
    });
}

QString entryJournalCaption(const QString &month, int rows)
{
    return month + u" 月份分录明细  [共"_s + QString::number(rows) + u"条记录]"_s;
}

QString prefixJournalCaption(const QString &prefix, int rows)
{
    return prefix + u" 开头的所有明细数据 共"_s + QString::number(rows) + u"条记录"_s;
}

} // namespace tz
