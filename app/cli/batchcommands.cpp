// The batch command: a bookkeeping firm's month end over a folder of
// account sets (batch month-end), and the merge of the result files that
// shards of one run wrote (batch merge).
#include <algorithm>
#include <cstdio>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "app/cli/cli.h"
#include "batch/monthend.h"
#include "batch/monthendresults.h"
#include "store/money.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kUsage
    = u"用法:\n"
      "[--operator 操作员] [--password-file 文件] batch month-end --sets 文件夹 --month 月份(1-12) --out 输出文件夹\n"
      "    [--credentials 文件] [--jobs N] [--shard K/N] [--reviewer 审核人] [--layout 13|07] [--year 年度]\n"
      "    凭据文件每行: 帐套<Tab>操作员<Tab>密码[<Tab>帐套密码](仅本人可读, chmod 600)\n"
      "batch merge --out 输出文件夹"_s;

bool numberIn(const QString &text, int low, int high, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

// "K/N" with 1 <= K <= N.
bool shardOf(const QString &text, int &shard, int &shards)
{
    const QStringList parts = text.split(u'/');
    return parts.size() == 2 && numberIn(parts.at(1), 1, 100000, shards) && numberIn(parts.at(0), 1, shards, shard);
}

// Outcome of the sets as the exit status: Done when every set is ok,
// Refused when any failed (the others were done).
int statusOf(const QList<MonthEndSetResult> &results)
{
    for (const MonthEndSetResult &r : results) {
        if (!r.isOk())
            return Refused;
    }
    return Done;
}

QString figureText(const Figure &f)
{
    return f ? centsToText(*f, true) : u"-"_s;
}

// One line per set as it ends: its place, path, outcome, months closed and
// 资产总计, or the first problem.
void printEnded(const MonthEndSetResult &r, int done, int total)
{
    QString line = u"[%1/%2] %3  "_s.arg(done).arg(total).arg(r.relativePath);
    if (r.isOk()) {
        QStringList closed;
        for (const int m : r.monthsClosed)
            closed.append(QString::number(m));
        line += u"完成  结帐: %1  资产总计: %2"_s.arg(
            closed.isEmpty() ? u"无"_s : closed.join(u','), figureText(r.totalAssets));
    } else {
        line += u"失败  "_s + r.problems.value(0)
            + (r.problems.size() > 1 ? u" (共 %1 个问题)"_s.arg(r.problems.size()) : QString());
    }
    line += u"  %1 秒"_s.arg(r.seconds, 0, 'f', 2);
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

int monthEnd(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args,
            {u"sets"_s, u"month"_s, u"out"_s, u"credentials"_s, u"jobs"_s, u"shard"_s, u"reviewer"_s, u"layout"_s,
                u"year"_s},
            v))
        return Usage;
    MonthEndOptions options;
    options.setsFolder = v.value(u"sets"_s);
    options.outFolder = v.value(u"out"_s);
    options.reviewer = v.value(u"reviewer"_s);
    options.operatorName = ctx.options.operatorName;
    options.password = ctx.options.password;
    const QString layout = v.value(u"layout"_s, u"13"_s);
    options.layout = layout == u"07"_s ? StatementLayout::General07 : StatementLayout::Small13;
    if (options.setsFolder.isEmpty() || options.outFolder.isEmpty()
        || !numberIn(v.value(u"month"_s), 1, 12, options.month) || (layout != u"13"_s && layout != u"07"_s)
        || (v.contains(u"jobs"_s) && !numberIn(v.value(u"jobs"_s), 1, 256, options.jobs))
        || (v.contains(u"shard"_s) && !shardOf(v.value(u"shard"_s), options.shard, options.shards))
        || (v.contains(u"year"_s) && !numberIn(v.value(u"year"_s), 2000, 2099, options.year)))
        return usageError(kUsage);
    if (!QFileInfo(options.setsFolder).isDir())
        return usageError(u"帐套文件夹不存在: "_s + options.setsFolder);
    if (v.contains(u"credentials"_s)) {
        const OpResult read = readCredentials(v.value(u"credentials"_s), options.credentials);
        if (!read.isDone())
            return usageError(read.message);
    }
    if (!ctx.options.operatorGiven && options.credentials.isEmpty())
        return usageError(u"请用 --operator 指定操作员, 或用 --credentials 给出每个帐套的操作员和密码"_s);
    if (!QDir().mkpath(options.outFolder))
        return usageError(u"不能建立输出文件夹: "_s + options.outFolder);

    int ended = 0;
    QElapsedTimer clock;
    clock.start();
    QList<MonthEndSetResult> results;
    const OpResult ran = RunMonthEnd(options, results, [&](const MonthEndSetResult &r) {
        if (r.state == SetRunState::Done || r.state == SetRunState::Failed)
            printEnded(r, ++ended, int(results.size()));
    });
    if (!ran.isDone())
        return usageError(ran.message);

    const QString out = QDir(options.outFolder).absolutePath();
    if (const OpResult written = writeMonthEndOutputs(results, out, options.shard, options.shards); !written.isDone()) {
        ctx.dialogs.show(written.message, u"TZ305提示"_s, Icon::Critical);
        return Failed;
    }
    const int failed = int(std::count_if(results.cbegin(), results.cend(), [](const auto &r) { return !r.isOk(); }));
    std::printf("%s\n",
        qPrintable(u"共 %1 个帐套: %2 个完成, %3 个失败, 用时 %4 秒; 结果在 %5"_s.arg(results.size())
                       .arg(results.size() - failed)
                       .arg(failed)
                       .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1)
                       .arg(QDir::toNativeSeparators(out))));
    return statusOf(results);
}

int merge(Context &, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"out"_s}, v) || v.value(u"out"_s).isEmpty())
        return usageError(kUsage);
    QList<MonthEndSetResult> results;
    const OpResult merged = mergeResults(v.value(u"out"_s), results);
    if (!merged.isDone())
        return usageError(merged.message);
    const int failed = int(std::count_if(results.cbegin(), results.cend(), [](const auto &r) { return !r.isOk(); }));
    std::printf("%s\n",
        qPrintable(u"共 %1 个帐套: %2 个完成, %3 个失败; 汇总表 %4"_s.arg(results.size())
                       .arg(results.size() - failed)
                       .arg(failed)
                       .arg(QDir::toNativeSeparators(QDir(v.value(u"out"_s)).absoluteFilePath(u"summary.xlsx"_s)))));
    return statusOf(results);
}

} // namespace

int batchCommand(Context &ctx, const QStringList &args)
{
    return runSubCommand(ctx, args, {{u"month-end"_s, monthEnd}, {u"merge"_s, merge}}, kUsage);
}

} // namespace tz::cli
