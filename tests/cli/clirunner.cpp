// Command-line runner for tests.
#include "tests/cli/clirunner.h"

#include <cstring>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::test {

CliRun cli(const QStringList &args, const std::function<void()> &inChild)
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(QString::fromUtf8(TZ305_CLI_PATH), args);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

std::function<void()> fullDiskAt(const QString &folder, const QString &carried)
{
    // Everything the child needs is made here: after the fork only system
    // calls run.
    const QByteArray path = QFile::encodeName(folder);
    const QByteArray from = QFile::encodeName(carried);
    const QByteArray to = QFile::encodeName(folder + u'/' + QFileInfo(carried).fileName());
    const QByteArray size = "size=" + QByteArray::number(carried.isEmpty() ? 4096 : QFileInfo(carried).size() + 65536);
    const QByteArray uidMap = "0 " + QByteArray::number(::getuid()) + " 1";
    const QByteArray gidMap = "0 " + QByteArray::number(::getgid()) + " 1";
    return [=] {
        const auto put = [](const char *file, const char *text) {
            const int fd = ::open(file, O_WRONLY);
            const ssize_t length = ssize_t(std::strlen(text));
            const bool done = fd >= 0 && ::write(fd, text, size_t(length)) == length;
            if (fd >= 0)
                ::close(fd);
            return done;
        };
        // The superuser makes a mount namespace; anyone else first becomes
        // its own superuser in a user namespace.
        if (::unshare(CLONE_NEWNS) != 0
            && (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !put("/proc/self/setgroups", "deny")
                || !put("/proc/self/uid_map", uidMap.constData()) || !put("/proc/self/gid_map", gidMap.constData())))
            ::_exit(99);
        // The carried file is opened before the small disk hides it.
        const int in = from.isEmpty() ? -1 : ::open(from.constData(), O_RDONLY);
        if ((!from.isEmpty() && in < 0) || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, size.constData()) != 0)
            ::_exit(99);
        if (in >= 0) {
            const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
            // Not on the stack: the child may run on a small one of its own.
            static char block[1 << 16];
            ssize_t got = 0;
            while (out >= 0 && (got = ::read(in, block, sizeof block)) > 0)
                if (::write(out, block, size_t(got)) != got)
                    ::_exit(99);
            if (out < 0 || got < 0)
                ::_exit(99);
            ::close(out);
            ::close(in);
        }
    };
}

CliRun cliExpect(const QStringList &args, int status, const std::optional<QString> &err)
{
    const CliRun run = cli(args);
    const std::string command = args.join(u' ').toStdString();
    EXPECT_EQ(run.status, status) << command << '\n' << run.err.toStdString();
    if (err) {
        EXPECT_EQ(run.err, *err) << command;
    }
    return run;
}

void CliSet::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_set = m_dir.filePath(u"华新.Y24"_s);
    const CliRun made = cli({u"new"_s, u"--short"_s, u"华新"_s, u"--year"_s, u"2024"_s, u"--dir"_s, m_dir.path()});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    ASSERT_EQ(made.out, m_set + u'\n');
}

QStringList CliSet::login(const QString &password) const
{
    return as(u"主管"_s, password);
}

QStringList CliSet::as(const QString &op, const QString &password) const
{
    return {u"--set"_s, m_set, u"--operator"_s, op, u"--password"_s, password};
}

void CliSet::post(const QList<JournalLine> &lines) const
{
    Session session;
    session.setDbPath(m_set);
    postLines(session, lines);
    session.CloseMainConnection();
}

} // namespace tz::test
