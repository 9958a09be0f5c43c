// A bookkeeping firm's month end: demonstration sets (made through the
// operations, copied to fill a firm), the batch month end run as the
// command a firm runs, beside the same work as separate tz305-cli commands
// per set, on the same sets in the same run. Also the firm's full run and
// the memory one worker takes.
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "bench/bench.h"
#include "demo/demobooks.h"
#include "store/accountset.h"
#include "store/login.h"
#include "store/scripteddialogs.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

namespace {

QString cliPath()
{
    return QCoreApplication::applicationDirPath() + u"/tz305-cli"_s;
}

// A demonstration set of `seed` (20 vouchers a month, months 1 to 11
// closed) in `folder`; its path, empty when it could not be made.
QString makeDemoSet(const QString &folder, quint32 seed)
{
    tz::ScriptedDialogs dialogs({true, true, true});
    QString created;
    if (!tz::CreateAccountSet(u"示例"_s, u"2024"_s, folder, dialogs, &created).isDone())
        return {};
    tz::Session session;
    QStringList operators;
    if (!tz::ChooseAccountSet(session, created, operators, dialogs).isDone())
        return {};
    session.setOperatorName(u"主管"_s);
    session.setFiscalYear(2024);
    const bool made = tz::MakeDemoBooks(session, 2024, 20, seed, dialogs).isDone();
    session.CloseMainConnection();
    return made ? created : QString();
}

// `count` sets under `root`/cNNN/, copied from the seeds' sets in turn.
bool fillFirm(const QStringList &seeds, const QString &root, int count)
{
    for (int i = 0; i < count; ++i) {
        const QString folder = u"%1/c%2"_s.arg(root).arg(i + 1, 3, 10, QChar(u'0'));
        if (!QDir().mkpath(folder) || !QFile::copy(seeds.at(i % seeds.size()), folder + u"/示例.Y24"_s))
            return false;
    }
    return true;
}

const QStringList kLogin = {u"--operator"_s, u"主管"_s, u"--password"_s, u"888"_s};

// The batch's time; `peakMiB` receives its process's peak memory.
std::optional<double> runBatch(const QString &sets, const QString &out, int jobs, QString &why, double &peakMiB)
{
    return RunPeer(cliPath(), kLogin + QStringList{u"batch"_s, u"month-end"_s, u"--sets"_s, sets, u"--month"_s,
                                                   u"12"_s, u"--out"_s, out, u"--jobs"_s, QString::number(jobs)},
                   why, &peakMiB);
}

// The batch's work for one set as the separate commands a script would
// run: check, close December, each statement as workbook and PDF, the
// balance table as PDF (the demonstration sets name no backup folder).
bool runSeparately(const QString &set, const QString &out, QString &why)
{
    const QStringList login = QStringList{u"--set"_s, set} + kLogin;
    QList<QStringList> commands = {
        {u"check"_s},
        {u"close"_s, u"--month"_s, u"12"_s, u"--reviewer"_s, u"主管"_s},
    };
    const QList<std::pair<QString, QString>> statements = {
        {u"资产表13"_s, u"资产负债表"_s}, {u"利润表13"_s, u"利润表"_s}, {u"现流表"_s, u"现金流量表"_s}};
    for (const auto &[table, title] : statements) {
        commands.append({u"statement"_s, u"--table"_s, table, u"--month"_s, u"12"_s, u"--xlsx"_s,
                         out + u'/' + title + u".xlsx"_s});
        commands.append({u"print"_s, u"statement"_s, u"--table"_s, table, u"--month"_s, u"12"_s, u"--pdf"_s,
                         out + u'/' + title + u".pdf"_s});
    }
    commands.append({u"print"_s, u"balance"_s, u"--month"_s, u"12"_s, u"--depth"_s, u"1"_s, u"--pdf"_s,
                     out + u"/科目余额表.pdf"_s});
    if (!QDir().mkpath(out))
        return false;
    for (const QStringList &command : commands) {
        if (!RunPeer(cliPath(), login + command, why))
            return false;
    }
    return true;
}

// The separate commands over `sets`, `jobs` sets at a time.
std::optional<double> runAllSeparately(const QStringList &sets, const QString &out, int jobs, QString &why)
{
    std::atomic<qsizetype> next = 0;
    std::atomic_bool failed = false;
    QString firstWhy;
    std::mutex whyLock;
    const double ms = millis([&] {
        const auto work = [&] {
            for (qsizetype i = next++; i < sets.size() && !failed; i = next++) {
                QString w;
                if (!runSeparately(sets.at(i), u"%1/%2"_s.arg(out).arg(i), w)) {
                    failed = true;
                    const std::lock_guard lock(whyLock);
                    firstWhy = w;
                }
            }
        };
        std::vector<std::thread> workers;
        for (int j = 0; j < jobs; ++j)
            workers.emplace_back(work);
        for (std::thread &w : workers)
            w.join();
    });
    if (failed) {
        why = firstWhy;
        return std::nullopt;
    }
    return ms;
}

// CPU seconds (user and system) of the finished children so far.
double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QStringList setsUnder(const QString &root)
{
    QStringList sets;
    for (const QString &c : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        sets.append(u"%1/%2/示例.Y24"_s.arg(root, c));
    return sets;
}

} // namespace

bool RunFirm(const Options &options, std::vector<Verdict> &verdicts)
{
    const int firmSize = options.quick ? 3 : 200;
    const int sample = options.quick ? 1 : 20;
    const int seedCount = options.quick ? 1 : 8;
    const int jobs = std::max(1, QThread::idealThreadCount());
    printHeading(u"a firm's month end: %1 demonstration sets (20 vouchers a month), December closed and reported"_s
                     .arg(firmSize));
    QTemporaryDir dir;
    QStringList seeds;
    const double madeMs = millis([&] {
        for (int s = 1; s <= seedCount; ++s)
            seeds.append(makeDemoSet(dir.filePath(u"seed%1"_s.arg(s)), quint32(s)));
    });
    if (seeds.contains(QString()) || !fillFirm(seeds, dir.filePath(u"sample-batch"_s), sample)
        || !fillFirm(seeds, dir.filePath(u"sample-separate"_s), sample) || !fillFirm(seeds, dir.filePath(u"firm"_s), firmSize)
        || !fillFirm(seeds, dir.filePath(u"one-worker"_s), std::min(sample, 5))) {
        std::printf("  the demonstration sets could not be made\n");
        return false;
    }
    std::printf("  %d seeds' sets made in %.1f s and copied; %d jobs (the cores)\n", seedCount, madeMs / 1000.0, jobs);

    QString why;
    // Each run's time, or a failure that ends the firm's run.
    const auto timed = [&why](const std::optional<double> &ms, double &into) {
        into = ms.value_or(0);
        if (!ms)
            std::printf("  FAILED: %s\n", qPrintable(why));
        return ms.has_value();
    };
    double oneWorker = 0, batchMs = 0, separateMs = 0, firmMs = 0;
    double workerMiB = 0, sampleMiB = 0, firmMiB = 0;
    if (!timed(runBatch(dir.filePath(u"one-worker"_s), dir.filePath(u"out-one"_s), 1, why, workerMiB), oneWorker))
        return false;
    if (!timed(runBatch(dir.filePath(u"sample-batch"_s), dir.filePath(u"out-batch"_s), jobs, why, sampleMiB), batchMs)
        || !timed(runAllSeparately(setsUnder(dir.filePath(u"sample-separate"_s)), dir.filePath(u"out-separate"_s), jobs,
                                   why),
                  separateMs))
        return false;
    const double cpuBefore = childCpuSeconds();
    if (!timed(runBatch(dir.filePath(u"firm"_s), dir.filePath(u"out-firm"_s), jobs, why, firmMiB), firmMs))
        return false;
    const double firmCpu = childCpuSeconds() - cpuBefore;

    printTableHead();
    Figure b(u"batch month-end, %1 sets"_s.arg(sample), batchMs, sample);
    Figure s(u"separate commands, same %1 sets"_s.arg(sample), separateMs, sample);
    const double ratio = separateMs / batchMs;
    s.comparison = u"%1x the batch (%2 vs %3 ms a set)"_s.arg(ratio, 0, 'f', 1)
                       .arg(separateMs / sample, 0, 'f', 0)
                       .arg(batchMs / sample, 0, 'f', 0);
    s.target = u"batch >= 4x faster"_s;
    Figure f(u"batch month-end, the firm's %1 sets"_s.arg(firmSize), firmMs, firmSize);
    f.comparison = u"%1 ms a set; %2 CPU s in all (%3 ms a set)"_s.arg(firmMs / firmSize, 0, 'f', 0)
                       .arg(firmCpu, 0, 'f', 1)
                       .arg(firmCpu * 1000.0 / firmSize, 0, 'f', 0);
    f.target = u"under 60 s"_s;
    if (options.judge) {
        s.met = ratio >= 4.0;
        f.met = firmMs < 60000.0;
        verdicts.push_back({u"firm: batch month end at least 4x faster than separate commands (%1x)"_s.arg(ratio, 0, 'f', 1),
                            *s.met});
        verdicts.push_back({u"firm: %1 sets' month end under 60 s on %2 cores (%3 s)"_s.arg(firmSize)
                                .arg(jobs)
                                .arg(firmMs / 1000.0, 0, 'f', 1),
                            *f.met});
    }
    const int few = std::min(sample, 5);
    printFigure(Figure(u"batch month-end, %1 sets, one worker"_s.arg(few), oneWorker, few));
    printFigure(b);
    printFigure(s);
    printFigure(f);
    std::printf("  peak memory: %.0f MiB for a batch with one worker, %.0f MiB with %d workers (the firm's run)\n",
                workerMiB, firmMiB, jobs);
    return true;
}

} // namespace bench
