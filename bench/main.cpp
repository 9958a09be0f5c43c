// tz305-bench: builds two years of books through the operations, in fresh
// account sets made from the real template, and measures side by side in
// one run the import of the year, the posting operations on a full month,
// the voucher window on that month, every query of the query window, a
// bare scan of the journal (the floor) and the plain-text accounting
// programs hledger and ledger on the same books (the peers). It prints
// every figure, its ratio to the floor and to the peers, the peak memory
// and whether each target is met; and the busiest account's ledger pages
// of the year printed to a PDF file.
//
//   tz305-bench           the realistic year (300 vouchers a month) and the
//                         year at the limit (9,999 vouchers a month); minutes
//   tz305-bench --quick   two small years, a few seconds (the test script)
//   tz305-bench --firm    only the firm's month end (200 sets, a minute or two)
//
// Every run ends with a firm's month end: the batch month end over
// demonstration sets beside the same work as separate tz305-cli commands.
//
// TZ305_BENCH_SAVE=FILE keeps a copy of the limit year's set as imported,
// for profiling single operations on it with tz305-cli.
#include <cstdio>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <QThread>

#include "bench/bench.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

double processMemoryMiB(const QString &process, const QByteArray &field)
{
    QFile status(u"/proc/%1/status"_s.arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double residentMemoryMiB()
{
    return processMemoryMiB(u"self"_s, "VmRSS");
}

double peakChildMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QString grouped(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return value < 0 ? u"-"_s + digits : digits;
}

void printHeading(const QString &text)
{
    std::printf("\n== %s ==\n", qPrintable(text));
    std::fflush(stdout);
}

void printTableHead()
{
    std::printf("  %-40s %11s %9s %9s  %-20s %-4s %s\n", "figure", "ms", "rows", "x floor", "target", "met",
                "peer / ours");
    std::printf("  %s\n", QByteArray(120, '-').constData());
}

void printFigure(const Figure &f)
{
    const QString rows = f.rows ? grouped(*f.rows) : QString();
    const QString ratio = f.floorRatio ? QString::number(*f.floorRatio, 'f', 1) : QString();
    const char *met = f.met ? (*f.met ? "yes" : "NO") : "";
    std::printf("  %-40s %11.1f %9s %9s  %-20s %-4s %s\n", qPrintable(f.label), f.ms, qPrintable(rows),
                qPrintable(ratio), qPrintable(f.target), met, qPrintable(f.comparison));
    std::fflush(stdout);
}

namespace {

QString machine()
{
    QString os = QSysInfo::prettyProductName();
    return u"%1 cores, %2, %3"_s.arg(QThread::idealThreadCount()).arg(os, QSysInfo::currentCpuArchitecture());
}

void extraComparisons(tz::Session &session, const Options &options)
{
    printHeading(u"side-by-side pairs (on the books above)"_s);
    CompareCounter(options);
    CompareRunningBalance(session, options);
    CompareCoveringIndex(session, options);
}

} // namespace

} // namespace bench

int main(int argc, char **argv)
{
    using namespace bench;
    // Printing to PDF measures and paints text, and the query window is
    // opened on the books, which needs the widget application; nothing is
    // shown on a screen, so it runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // lines show as they are measured, also into a file
    Options options;
    options.quick = app.arguments().contains(u"--quick"_s);
    options.judge = !options.quick;

    std::printf("tz305-bench%s  %s  %s\n", options.quick ? " --quick" : "",
                qPrintable(QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm"_s)), qPrintable(machine()));
    std::printf("queries: median of %d runs, each the build of the work table and the read of the grid's first screen;\n"
                "peers: one run each on the exported journal; x floor = figure / floor (for a query: the floor measured\n"
                "again beside each of its runs)\n",
                options.runs);

    // December holds two vouchers fewer, so that the inserted voucher and
    // the closing's transfer voucher fit under the 9,999 of a month.
    YearShape realistic{u"realistic year"_s, 300, 300, 3, 2024};
    YearShape atLimit{u"limit year"_s, 9999, 9997, 3, 9999};
    if (options.quick) {
        realistic = {u"small year"_s, 20, 20, 3, 2024};
        atLimit = {u"larger small year"_s, 200, 198, 3, 9999};
    }

    std::vector<Verdict> verdicts;
    const bool firmOnly = app.arguments().contains(u"--firm"_s);
    bool ok = firmOnly || RunYear(realistic, Targets::Realistic, options, verdicts);
    ok = ok && (firmOnly || RunYear(atLimit, Targets::Limit, options, verdicts, extraComparisons));
    ok = ok && RunFirm(options, verdicts);

    printHeading(u"targets"_s);
    if (!options.judge)
        std::printf("  quick run: the years are too small to judge the targets\n");
    for (const Verdict &v : verdicts)
        std::printf("  %-4s %s\n", v.met ? "met" : "NOT", qPrintable(v.what));
    const double peak = peakMemoryMiB();
    if (options.judge)
        std::printf("  %-4s peak memory of this program under %.0f MiB\n", peak < kPeakMemoryMiB ? "met" : "NOT",
                    kPeakMemoryMiB);
    std::printf("  peak memory: %.0f MiB (this program), %.0f MiB (largest peer run)\n", peak, peakChildMemoryMiB());
    if (!ok)
        std::printf("\nFAILED: an operation was refused or failed (see above)\n");
    return ok ? 0 : 1;
}
