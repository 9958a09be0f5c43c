// The peers: plain-text accounting programs run on the journal the books
// export, their output thrown away, timed from start to exit.
#include <algorithm>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include "bench/bench.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

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
            *peakMiB = std::max(*peakMiB, processMemoryMiB(QString::number(process.processId()), "VmHWM"));
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
