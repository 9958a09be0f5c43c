// Shared pieces of tz305-bench: timing, the figures of one run and their
// printing. Every figure is measured in the same run as the figures it is
// compared with, so the ratios mean the same on any machine.
#pragma once

#include <algorithm>
#include <optional>
#include <vector>

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

namespace tz {
class Session;
enum class LedgerFormat;
}

namespace bench {

// The floor every figure is held to: one bare scan of the journal.
inline const QString kFloorSql = QStringLiteral("SELECT sum(借方金额), sum(贷方金额) FROM 分录表");

// The peak memory the benchmark is held to, in MiB.
inline constexpr double kPeakMemoryMiB = 150;

template<typename Work>
double millis(Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The median of `runs` timings of `work`.
template<typename Work>
double medianMillis(int runs, Work &&work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(millis(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Peak resident memory of this process and of its largest finished child,
// in MiB.
double peakMemoryMiB();
// Memory the program holds now (VmRSS).
double residentMemoryMiB();
double peakChildMemoryMiB();
// A figure in KiB of /proc/PROCESS/status (VmRSS, VmHWM ...) in MiB; 0 when
// it cannot be read (the process has ended).
double processMemoryMiB(const QString &process, const QByteArray &field);

// One printed line of a year's table.
struct Figure
{
    Figure(QString label_, double ms_, std::optional<qint64> rows_ = {}, std::optional<double> floorRatio_ = {})
        : label(std::move(label_))
        , ms(ms_)
        , rows(rows_)
        , floorRatio(floorRatio_)
    {
    }

    QString label;
    double ms = 0;
    std::optional<qint64> rows;   // rows the query produced, or lines written
    std::optional<double> floorRatio;
    QString comparison;           // e.g. "hledger 812.3x slower" or "vs balance table"
    QString target;               // the target text, empty when none applies
    std::optional<bool> met;      // judged target
};

// One judged target for the closing summary.
struct Verdict
{
    QString what;
    bool met = false;
};

void printHeading(const QString &text);
void printTableHead();
void printFigure(const Figure &figure);
QString grouped(qint64 value);

// What a year is made of.
struct YearShape
{
    QString name;             // "realistic year", "limit year"
    int vouchersPerMonth = 0; // months 1..11
    int lastMonthVouchers = 0;
    int bankEvery = 3;        // one voucher in this many touches the bank account
    quint64 seed = 1;
};

// Runs of the benchmark.
struct Options
{
    bool quick = false;
    int runs = 3;          // runs per query; the median is printed
    bool peers = true;
    bool judge = true;     // false in the quick run: its years are too small for the targets
};

// Which targets a year is judged by.
enum class Targets { Realistic, Limit };

// Builds the year through the operations, times everything and prints its
// table; the verdicts are appended. `extra` runs at the end on the same set.
using Extra = void (*)(tz::Session &, const Options &);
bool RunYear(const YearShape &shape, Targets targets, const Options &options, std::vector<Verdict> &verdicts,
             Extra extra = nullptr);

// bench/books.cpp: writes the opening balances of the set and the year's
// vouchers as an import file; counts what the file holds.
struct BookCounts
{
    qint64 vouchers = 0;
    qint64 lines = 0;
    qint64 bankVouchers = 0;
};
bool WriteOpeningBalances(tz::Session &session);
bool WriteVoucherFile(const YearShape &shape, int year, const QString &path, BookCounts &counts);

// bench/peers.cpp: runs `program` with `arguments`, output to /dev/null;
// the elapsed time, or nothing when the program is missing or fails
// (`why` then says so); `peakMiB`, when given, receives its peak resident
// memory.
bool PeerInstalled(const QString &program);
std::optional<double> RunPeer(const QString &program, const QStringList &arguments, QString &why,
                              double *peakMiB = nullptr);

// bench/ledgerfloors.cpp: beside each ledger named here (by its figure's
// label), its work tables built as printing has them, and what any build
// of it must do: the rows of its work tables written and committed, its
// journal lines read. Three figures are added after the ledger's figure.
struct LedgerFloor
{
    QString label;
    tz::LedgerFormat format;
    QString code;
    QString direction;
    bool descendants = false; // the lines of the codes under `code` (multi-column)
};
void AddLedgerFloors(tz::Session &session, const Options &options, const std::vector<LedgerFloor> &ledgers,
                     std::vector<Figure> &figures);

// bench/firm.cpp: a firm's month end, the batch beside separate commands;
// the verdicts are appended. False when a run failed.
bool RunFirm(const Options &options, std::vector<Verdict> &verdicts);

// bench/voucherwindow.cpp: the voucher window on month 12, opened and its
// 首条, 末条, 上一 / 下一 and 保存记录 clicked, each until painted; five
// figures appended. The saved voucher is deleted again. False (after
// saying so) when a step failed.
bool MeasureVoucherWindow(tz::Session &session, const Options &options, std::vector<Figure> &figures);

// bench/comparisons.cpp: pairs of ways to do the same work.
void CompareCounter(const Options &options);
void CompareRunningBalance(tz::Session &session, const Options &options);
void CompareCoveringIndex(tz::Session &session, const Options &options);

} // namespace bench
