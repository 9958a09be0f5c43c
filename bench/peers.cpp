// The peers: plain-text accounting programs run on the journal the books
// export, their output thrown away, timed from start to exit.
#include <algorithm>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include "bench/bench.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

namespace {

// The peak resident memory of a running process so far (VmHWM), in MiB; 0
// when it cannot be read (the process has ended).
double processPeakMiB(qint64 pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

bool PeerInstalled(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

std::optional<double> RunPeer(const QString &program, const QStringList &arguments, QString &why, double *peakMiB)
{
    QProcess process;
    // The journal is UTF-8; both programs read it by the locale.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LANG"_s, u"C.UTF-8"_s);
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        why = program + u" did not start"_s;
        return std::nullopt;
    }
    // The peak is read while the process runs, every few milliseconds: once
    // it is reaped its own figure is gone (the children's figure of
    // getrusage is the largest of every child so far).
    constexpr int kLimitMs = 30 * 60 * 1000;
    bool finished = false;
    if (peakMiB) {
        *peakMiB = 0;
        while (!finished && timer.elapsed() < kLimitMs) {
            *peakMiB = std::max(*peakMiB, processPeakMiB(process.processId()));
            finished = process.waitForFinished(5);
        }
    } else {
        finished = process.waitForFinished(kLimitMs);
    }
    if (!finished) {
        process.kill();
        process.waitForFinished();
        why = program + u" did not finish within 30 minutes"_s;
        return std::nullopt;
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        why = program + u" failed: "_s + QString::fromUtf8(process.readAllStandardError()).trimmed().left(300);
        return std::nullopt;
    }
    return ms;
}

} // namespace bench
