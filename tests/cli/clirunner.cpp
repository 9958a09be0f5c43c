// Command-line runner for tests.
#include "tests/cli/clirunner.h"

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

CliRun cliExpect(const QStringList &args, int status, const std::optional<QString> &err)
{
    const CliRun run = cli(args);
    const std::string command = args.join(u' ').toStdString();
    EXPECT_EQ(run.status, status) << command << '\n' << run.err.toStdString();
    if (err)
        EXPECT_EQ(run.err, *err) << command;
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
