// The opening-balance commands end to end: set, trial balance, load into the
// journal, and the refusals with their messages and exit statuses.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/printers.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList &args)
{
    QProcess process;
    process.start(QString::fromUtf8(TZ305_CLI_PATH), args);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

class OpeningCommandLine : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_set = m_dir.filePath(u"华新.Y24"_s);
        const CliRun made = cli({u"new"_s, u"--short"_s, u"华新"_s, u"--year"_s, u"2024"_s, u"--dir"_s, m_dir.path()});
        ASSERT_EQ(made.status, 0) << made.err.toStdString();
    }

    QStringList login() const
    {
        return {u"--set"_s, m_set, u"--operator"_s, u"主管"_s, u"--password"_s, u"888"_s};
    }

    void set(const QStringList &options)
    {
        const CliRun run = cli(login() << u"opening"_s << u"set"_s << options);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty());
    }

    QTemporaryDir m_dir;
    QString m_set;
};

TEST_F(OpeningCommandLine, TrialThenLoadWritesLinesInCodeOrder)
{
    set({u"--code"_s, u"2001"_s, u"--credit"_s, u"1,000"_s});
    set({u"--code"_s, u"1122"_s, u"--debit"_s, u"0.665"_s, u"--qty"_s, u"4"_s});
    set({u"--code"_s, u"1001"_s, u"--debit"_s, u"999.325"_s});

    const CliRun trial = cli(login() << u"opening"_s << u"trial"_s);
    ASSERT_EQ(trial.status, 0) << trial.err.toStdString();
    EXPECT_EQ(trial.out, u"借方合计\t贷方合计\t状态\n1,000.00\t1,000.00\t平衡\n"_s);

    const CliRun unanswered = cli(login() << u"opening"_s << u"load"_s);
    EXPECT_EQ(unanswered.status, 1);
    EXPECT_EQ(unanswered.err, u"[TZ305] 是否装入年初数据?请认真核对里边的数据！！！ 否\n"_s);

    for (int i = 0; i < 2; ++i) {
        const CliRun load = cli(login() << u"--yes"_s << u"opening"_s << u"load"_s);
        ASSERT_EQ(load.status, 0) << load.err.toStdString();
        EXPECT_EQ(load.err, u"[TZ305] 是否装入年初数据?请认真核对里边的数据！！！ 是\n[TZ305] 已装入成功\n"_s);
    }
    const CliRun lines = cli(login() << u"sql"_s << u"SELECT ID, 科目代码, 借方金额, 贷方金额 FROM 分录表 ORDER BY ID"_s);
    ASSERT_EQ(lines.status, 0) << lines.err.toStdString();
    EXPECT_EQ(lines.out, u"ID\t科目代码\t借方金额\t贷方金额\n"
                         "8000000001\t1001\t999.33\t\n"
                         "8000000002\t1122\t0.67\t\n"
                         "8000000003\t2001\t\t1000\n"_s);
}

TEST_F(OpeningCommandLine, UnbalancedLoadAndBadInputAreRefused)
{
    set({u"--code"_s, u"1001"_s, u"--debit"_s, u"10"_s});
    const CliRun trial = cli(login() << u"opening"_s << u"trial"_s);
    EXPECT_EQ(trial.out, u"借方合计\t贷方合计\t状态\n10.00\t0.00\t不平衡\n"_s);

    const CliRun load = cli(login() << u"--yes"_s << u"opening"_s << u"load"_s);
    EXPECT_EQ(load.status, 1);
    EXPECT_EQ(load.err, u"[TZ305] 借贷不平\n"_s);

    const CliRun parent = cli(login() << u"opening"_s << u"set"_s << u"--code"_s << u"1002"_s << u"--debit"_s << u"1"_s);
    EXPECT_EQ(parent.status, 1);
    EXPECT_EQ(parent.err, u"[TZ305提示] 1002  不是明细科目,不能录入年初数\n"_s);

    const CliRun nothing = cli(login() << u"opening"_s << u"set"_s << u"--code"_s << u"1001"_s);
    EXPECT_EQ(nothing.status, 2);
}

} // namespace
