// The batch month end's results as files: one JSON line per set
// (results.jsonl, results-K-of-N.jsonl for a shard), the summary workbook
// over them, and the merge of the shards' result files into one summary.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "batch/monthend.h"
#include "store/opresult.h"

namespace tz {

// The result file's name in the output folder: results.jsonl, or
// results-K-of-N.jsonl for shard K of N.
QString resultsFileName(int shard, int shards);

// One set's result as one line of compact JSON (with its line end): set
// (its path relative to the sets folder), company, short_name, year,
// month, status ("ok" or "failed"), months_closed, problems, messages, the
// figures 资产总计, 负债和所有者权益总计, 货币资金, 营业收入_本月,
// 营业收入_本年累计, 净利润_本月, 净利润_本年累计 (yuan, null where the
// statement shows none), outputs, backup, seconds, index.
QByteArray resultLine(const MonthEndSetResult &result);

// Reads a line written by resultLine; false when it is no such line.
bool parseResultLine(const QByteArray &line, MonthEndSetResult &result);

// Writes the sets' result lines to `path`, replacing an earlier file
// through a scratch file renamed into place.
OpResult writeResultsFile(const QList<MonthEndSetResult> &results, const QString &path);

// Writes the summary workbook to `path` (replacing an earlier one): one row
// per set in index order with its path, company, short name, year, month,
// status (完成, or 失败 on a red row), the months closed, the seven figures
// as numbers, the seconds and the problems; then a row 合计 with the sums
// of the figures and the seconds.
OpResult writeSummaryWorkbook(const QList<MonthEndSetResult> &results, const QString &path);

// What a run leaves in `outFolder`: its result lines (resultsFileName of
// `shard` of `shards`) and, for an unsharded run, the summary workbook.
OpResult writeMonthEndOutputs(const QList<MonthEndSetResult> &results, const QString &outFolder, int shard,
                              int shards);

// Reads every results*.jsonl in `outFolder` (a set reported by several
// files counts once: the newest file's line) into `results`, in index
// order, and writes summary.xlsx there. Refused when the folder holds no
// such file or a line that cannot be read.
OpResult mergeResults(const QString &outFolder, QList<MonthEndSetResult> &results);

} // namespace tz
