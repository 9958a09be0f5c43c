// The batch month end end to end over a folder of demonstration sets made
// with different seeds, one whose books do not balance, one whose password
// differs and one under its own passphrase: the good sets closed and reported, the bad ones failed
// and untouched, the summary's figures those of the statement command, a
// rerun that closes nothing twice, and shards run by GNU parallel merging
// into the same summary.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "store/session.h"
#include "tests/cli/clirunner.h"
#include "tests/support/workbookreader.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

const QStringList kSets = {u"c1/示例.Y24"_s, u"c2/示例.Y24"_s, u"c3/分部/示例.Y24"_s, u"c4/示例.Y24"_s,
                           u"c5/示例.Y24"_s};
const QString kWrongPassword = u"c2/示例.Y24"_s;
const QString kUnbalanced = u"c4/示例.Y24"_s;
const QString kProtected = u"c5/示例.Y24"_s; // opens with kPassphrase
const QByteArray kPassphrase = "春风十里";

// Prints the summary's rows, blank cells empty, numbers with two decimals
// and a "#" before each number, so a number stored as text shows.
const QString kSummaryRows = uR"(
for row in ws.iter_rows():
    cells = []
    for c in row:
        v = c.value
        cells.append('' if v is None else ('#%.2f' % v if isinstance(v, (int, float)) else str(v)))
    red = row[0].fill.fgColor.rgb if row[0].fill and row[0].fill.fill_type else ''
    print('\t'.join(cells) + '\t' + str(red))
)"_s;

class BatchCommandLine : public testing::Test
{
protected:
    // Five demonstration sets, December open, one with unbalanced books, one
    // with the password 999 and one under a passphrase, made once and
    // copied for each test.
    static void SetUpTestSuite()
    {
        s_made = new QTemporaryDir;
        QFile passphrase(passphraseFile());
        if (passphrase.open(QIODevice::WriteOnly))
            passphrase.write(kPassphrase + '\n');
        passphrase.close();
        for (int i = 0; i < kSets.size(); ++i) {
            const QString folder = QFileInfo(s_made->filePath(kSets.at(i))).absolutePath();
            cliExpect({u"demo"_s, u"--dir"_s, folder, u"--seed"_s, QString::number(i + 1), u"--vouchers-per-month"_s,
                       u"3"_s},
                      0);
        }
        if (!QFileInfo::exists(s_made->filePath(kUnbalanced)))
            return;
        tz::Session session;
        session.setDbPath(s_made->filePath(kUnbalanced));
        session.execSql(u"UPDATE 分录表 SET 借方金额 = 借方金额 + 1 WHERE ID = (SELECT min(ID) FROM 分录表 "
                        "WHERE 月 = 3 AND 借方金额 IS NOT NULL)"_s);
        session.CloseMainConnection();
        // The first set names a backup folder; the others none.
        cliExpect(login(s_made->filePath(kSets.first()))
                      << u"--yes"_s << u"settings"_s << u"backup-path"_s << s_made->filePath(u"备份"_s),
                  0);
        const QString newPassword = s_made->filePath(u"new-password"_s);
        QFile file(newPassword);
        if (file.open(QIODevice::WriteOnly))
            file.write("999\n");
        file.close();
        cliExpect(login(s_made->filePath(kWrongPassword))
                      << u"settings"_s << u"password"_s << u"--new-password-file"_s << newPassword,
                  0);
        cliExpect(login(s_made->filePath(kProtected))
                      << u"--yes"_s << u"passphrase"_s << u"set"_s << u"--file"_s << passphraseFile(),
                  0);
    }
    static void TearDownTestSuite() { delete s_made; }
    void SetUp() override
    {
        for (const QString &set : kSets)
            ASSERT_TRUE(QFileInfo::exists(s_made->filePath(set))) << set.toStdString();
    }

    static QString passphraseFile() { return s_made->filePath(u"set-passphrase"_s); }

    static QStringList login(const QString &set)
    {
        return {u"--set-passphrase-file"_s, passphraseFile(), u"--set"_s, set, u"--operator"_s, u"主管"_s,
                u"--password"_s, u"888"_s};
    }

    // A fresh copy of the five sets under `name`.
    QString copyOfSets(const QString &name) const
    {
        const QString to = m_dir.filePath(name);
        for (const QString &set : kSets) {
            QDir().mkpath(QFileInfo(QDir(to).filePath(set)).absolutePath());
            EXPECT_TRUE(QFile::copy(s_made->filePath(set), QDir(to).filePath(set)));
        }
        return to;
    }

    static QStringList monthEnd(const QString &sets, const QString &out)
    {
        return {u"--operator"_s, u"主管"_s, u"--password"_s, u"888"_s, u"batch"_s, u"month-end"_s, u"--sets"_s, sets,
                u"--month"_s, u"12"_s, u"--out"_s, out, u"--jobs"_s, u"2"_s};
    }

    // The result lines of `file` by set.
    static QHash<QString, QJsonObject> results(const QString &file)
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        QHash<QString, QJsonObject> bySet;
        for (const QByteArray &line : f.readAll().split('\n')) {
            if (!line.isEmpty()) {
                const QJsonObject o = QJsonDocument::fromJson(line).object();
                EXPECT_FALSE(bySet.contains(o.value(u"set"_s).toString())) << line.toStdString();
                bySet.insert(o.value(u"set"_s).toString(), o);
            }
        }
        return bySet;
    }

    static QByteArray digest(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : "";
    }

    static QTemporaryDir *s_made;
    QTemporaryDir m_dir;
};

QTemporaryDir *BatchCommandLine::s_made = nullptr;

TEST_F(BatchCommandLine, ClosesGoodSetsLeavesBadOnesUntouchedAndClosesNothingTwice)
{
    const QString sets = copyOfSets(u"firm"_s);
    const QString out = m_dir.filePath(u"out"_s);
    const QByteArray wrongBefore = digest(QDir(sets).filePath(kWrongPassword));
    const QByteArray unbalancedBefore = digest(QDir(sets).filePath(kUnbalanced));
    const CliRun check = cli(login(QDir(sets).filePath(kUnbalanced)) << u"check"_s);
    ASSERT_EQ(check.status, 1) << check.err.toStdString();

    // The run's passphrase opens the protected set.
    const QStringList withPassphrase = QStringList{u"--set-passphrase-file"_s, passphraseFile()} + monthEnd(sets, out);
    const CliRun run = cli(withPassphrase);
    ASSERT_EQ(run.status, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(run.out.count(u"/5] "_s), 5) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"] c2/示例.Y24  失败  操作员或密码不正确!  "_s)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"共 5 个帐套: 3 个完成, 2 个失败"_s)) << run.out.toStdString();

    QHash<QString, QJsonObject> first = results(QDir(out).filePath(u"results.jsonl"_s));
    ASSERT_EQ(first.size(), 5);
    const QStringList statements = {u"资产负债表"_s, u"利润表"_s, u"现金流量表"_s};
    QString expectedSummary;
    for (const QString &set : kSets) {
        const QJsonObject r = first.value(set);
        const bool bad = set == kWrongPassword || set == kUnbalanced;
        EXPECT_EQ(r.value(u"status"_s).toString(), bad ? u"failed"_s : u"ok"_s) << set.toStdString();
        EXPECT_EQ(r.value(u"months_closed"_s).toArray(), bad ? QJsonArray() : QJsonArray{12}) << set.toStdString();
        EXPECT_EQ(QDir(QDir(out).filePath(set)).exists(), !bad) << set.toStdString();
        const QString backup = r.value(u"backup"_s).toString();
        EXPECT_EQ(!backup.isEmpty() && QFileInfo(backup).absolutePath() == s_made->filePath(u"备份"_s)
                      && QFileInfo(backup).size() > 0,
                  set == kSets.first())
            << set.toStdString() << backup.toStdString();
        if (bad)
            continue;
        for (const QString &name : statements) {
            EXPECT_GT(QFileInfo(QDir(out).filePath(set + u'/' + name + u".pdf"_s)).size(), 1000);
            EXPECT_GT(QFileInfo(QDir(out).filePath(set + u'/' + name + u".xlsx"_s)).size(), 1000);
        }
        EXPECT_GT(QFileInfo(QDir(out).filePath(set + u"/科目余额表.pdf"_s)).size(), 1000);
        // 资产总计 as the statement command prints it (期末余额, third column).
        const CliRun sheet = cli(login(QDir(sets).filePath(set)) << u"statement"_s << u"--table"_s << u"资产表13"_s
                                                                 << u"--month"_s << u"12"_s);
        for (const QString &line : sheet.out.split(u'\n')) {
            if (line.startsWith(u"资产总计\t"_s))
                expectedSummary += set + u"\t完成\t#"_s + line.split(u'\t').at(2) + u'\n';
        }
        EXPECT_EQ(r.value(u"资产总计"_s).toDouble(), r.value(u"负债和所有者权益总计"_s).toDouble());
    }
    // The failed sets: each told why, their files as they were.
    EXPECT_EQ(first.value(kWrongPassword).value(u"problems"_s).toArray(), QJsonArray{u"操作员或密码不正确!"_s});
    QJsonArray checkProblems;
    for (const QString &line : check.out.trimmed().split(u'\n').mid(1)) // below the header 问题
        checkProblems.append(line);
    EXPECT_EQ(first.value(kUnbalanced).value(u"problems"_s).toArray(), checkProblems) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(u"凭证借贷不平"_s)) << check.out.toStdString();
    EXPECT_EQ(digest(QDir(sets).filePath(kWrongPassword)), wrongBefore);
    EXPECT_EQ(digest(QDir(sets).filePath(kUnbalanced)), unbalancedBefore);

    // The summary: 资产总计 of each good set as a number, the failed ones
    // marked 失败 on a red row, a totals row.
    const QString summary = tz::test::readWorkbook(QDir(out).filePath(u"summary.xlsx"_s), kSummaryRows);
    const QStringList rows = summary.trimmed().split(u'\n');
    ASSERT_EQ(rows.size(), 7) << summary.toStdString();
    QString shown;
    for (const QString &row : rows.mid(1, 5)) {
        const QStringList cells = row.split(u'\t');
        if (cells.at(5) == u"完成"_s)
            shown += cells.at(0) + u'\t' + cells.at(5) + u'\t' + cells.at(7) + u'\n';
        else
            EXPECT_EQ(cells.at(5) + u' ' + cells.last(), u"失败 FFFFC7CE"_s) << row.toStdString();
    }
    EXPECT_EQ(shown, expectedSummary);
    EXPECT_TRUE(rows.last().startsWith(u"合计\t"_s)) << rows.last().toStdString();

    // A rerun closes nothing and writes the outputs again.
    const QString pdf = QDir(out).filePath(u"c1/示例.Y24/资产负债表.pdf"_s);
    const QDateTime written = QFileInfo(pdf).lastModified();
    ASSERT_EQ(cli(withPassphrase).status, 1);
    const QHash<QString, QJsonObject> second = results(QDir(out).filePath(u"results.jsonl"_s));
    for (const QString &set : kSets)
        EXPECT_EQ(second.value(set).value(u"months_closed"_s).toArray(), QJsonArray()) << set.toStdString();
    EXPECT_GT(QFileInfo(pdf).lastModified(), written);
    const CliRun transfers = cli(login(QDir(sets).filePath(kSets.first()))
                                 << u"sql"_s << u"SELECT count(DISTINCT 号码) AS n FROM 分录表 WHERE 月 = 12 AND 结帐 = 2"_s);
    EXPECT_EQ(transfers.out, u"n\n1\n"_s);
}

TEST_F(BatchCommandLine, ShardsThroughGnuParallelMergeIntoTheSameSummary)
{
    // A credentials file others can read is refused before any set is opened.
    const QString credentials = m_dir.filePath(u"credentials.tsv"_s);
    QFile file(credentials);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# set\toperator\tpassword\tpassphrase\nc2/示例.Y24\t主管\t999\nc5/示例.Y24\t主管\t888\t" + kPassphrase
               + '\n');
    file.close();
    const QString one = copyOfSets(u"one"_s);
    const QString whole = m_dir.filePath(u"whole"_s);
    cliExpect(monthEnd(one, whole) << u"--credentials"_s << credentials, 2,
              u"tz305-cli: 凭据文件 %1 可被其他用户读取, 请先 chmod 600 %1\n"_s.arg(credentials));
    EXPECT_FALSE(QFileInfo::exists(whole));
    ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    // The credentials let c2 in and open c5 with its passphrase: only the
    // unbalanced set fails.
    ASSERT_EQ(cli(monthEnd(one, whole) << u"--credentials"_s << credentials).status, 1);
    const QHash<QString, QJsonObject> unsharded = results(QDir(whole).filePath(u"results.jsonl"_s));
    EXPECT_EQ(unsharded.value(kWrongPassword).value(u"status"_s).toString(), u"ok"_s);
    EXPECT_EQ(unsharded.value(kProtected).value(u"status"_s).toString(), u"ok"_s);

    const QString three = copyOfSets(u"three"_s);
    const QString shards = m_dir.filePath(u"shards"_s);
    QProcess parallel;
    parallel.start(u"parallel"_s, QStringList{u"--will-cite"_s, QString::fromUtf8(TZ305_CLI_PATH)}
                                      + monthEnd(three, shards)
                                      + QStringList{u"--credentials"_s, credentials, u"--shard"_s, u"{}/3"_s, u":::"_s,
                                                    u"1"_s, u"2"_s, u"3"_s});
    parallel.closeWriteChannel();
    ASSERT_TRUE(parallel.waitForFinished(120000));
    // The unbalanced set (index 3) is in the first shard: one job failed.
    EXPECT_EQ(parallel.exitCode(), 1) << parallel.readAllStandardError().toStdString();
    QStringList reported;
    for (int k = 1; k <= 3; ++k) {
        const QHash<QString, QJsonObject> shard = results(QDir(shards).filePath(u"results-%1-of-3.jsonl"_s.arg(k)));
        reported += shard.keys();
        for (const QString &set : shard.keys())
            EXPECT_EQ(kSets.indexOf(set) % 3, k - 1) << set.toStdString();
    }
    reported.sort();
    EXPECT_EQ(reported, kSets);
    EXPECT_FALSE(QFileInfo::exists(QDir(shards).filePath(u"summary.xlsx"_s)));

    const CliRun merged = cliExpect({u"batch"_s, u"merge"_s, u"--out"_s, shards}, 1);
    EXPECT_TRUE(merged.out.startsWith(u"共 5 个帐套: 4 个完成, 1 个失败; 汇总表 "_s)) << merged.out.toStdString();
    // The same summary but for the seconds each set took.
    const auto rows = [](const QString &out) {
        QStringList lines = tz::test::readWorkbook(QDir(out).filePath(u"summary.xlsx"_s), kSummaryRows).split(u'\n');
        for (QString &line : lines) {
            QStringList cells = line.split(u'\t');
            if (cells.size() > 14)
                cells[14].clear();
            line = cells.join(u'\t');
        }
        return lines;
    };
    EXPECT_EQ(rows(shards), rows(whole));
}

} // namespace
