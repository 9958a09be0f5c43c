// The close and reopen commands end to end: the transfer voucher they
// write, the refusals with their messages, questions answered by --yes,
// and the exit statuses; a transfer voucher the check accepts wherever the
// staging counter stands.
#include <QFile>

#include <gtest/gtest.h>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::cli;
using tz::test::cliExpect;
using tz::test::CliRun;

namespace {

class ClosingCommandLine : public tz::test::CliSet {
protected:
    void SetUp() override
    {
        CliSet::SetUp();
        if (HasFatalFailure())
            return;

        // Two posted vouchers of February: income 1000.00, expense 300.00.
        post({
            {8020001001, u"1001"_s, 1000.0, {}},
            {8020001002, u"5001"_s, {}, 1000.0},
            {8020002001, u"5401"_s, 300.0, {}},
            {8020002002, u"1405"_s, {}, 300.0},
        });
    }

    QString transferVoucher() const
    {
        const CliRun run = cli(login() << u"sql"_s
                                       << u"SELECT 号码, 日期, 科目代码, 借方金额, 贷方金额, 审核, 制单 FROM 分录表 "
                                          "WHERE 结帐 = 2 ORDER BY TZID"_s);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return run.out;
    }
};

TEST_F(ClosingCommandLine, CloseWritesTheTransferVoucherAndReopenRemovesIt)
{
    // The month must be 1 to 12.
    for (const QStringList &args : {QStringList {u"close"_s, u"--month"_s, u"13"_s, u"--reviewer"_s, u"会计"_s},
             QStringList {u"close"_s, u"--reviewer"_s, u"会计"_s}, QStringList {u"reopen"_s, u"--month"_s, u"0"_s},
             QStringList {u"reopen"_s, u"--month"_s, u"二"_s}, QStringList {u"reopen"_s, u"2"_s}})
        cliExpect(login() << args, 2);
    const QStringList close = login() << u"close"_s << u"--month"_s << u"2"_s;
    cliExpect(close, 1, u"[TZ305提示] 审核不能为空\n"_s);
    EXPECT_EQ(transferVoucher(), u"号码\t日期\t科目代码\t借方金额\t贷方金额\t审核\t制单\n"_s);

    const CliRun closed = cliExpect(QStringList(close) << u"--reviewer"_s << u"会计"_s, 0,
        u"[结帐成功^_^] 收入/费用已成功结转！并自动生成最后一张凭证\n"_s);
    EXPECT_TRUE(closed.out.isEmpty());
    const QString voucher = u"号码\t日期\t科目代码\t借方金额\t贷方金额\t审核\t制单\n"
                            "3\t2024-02-29\t5001\t1000\t\t会计\t主管\n"
                            "3\t2024-02-29\t3103\t\t1000\t会计\t主管\n"
                            "3\t2024-02-29\t3103\t300\t\t会计\t主管\n"
                            "3\t2024-02-29\t5401\t\t300\t会计\t主管\n"_s;
    EXPECT_EQ(transferVoucher(), voucher);
    cliExpect(QStringList(close) << u"--reviewer"_s << u"会计"_s, 1, u"[TZ305提示] 2  月份已结帐,请先进行反结帐\n"_s);

    const QStringList reopen = {u"reopen"_s, u"--month"_s, u"2"_s};
    cliExpect(login() << reopen, 1, u"[TZ305提示] 是否进行反结帐?(2月份) 否\n"_s);
    EXPECT_EQ(transferVoucher(), voucher);
    cliExpect(login() << u"--yes"_s << reopen, 0, u"[TZ305提示] 是否进行反结帐?(2月份) 是\n[TZ305提示] 已反结成功\n"_s);
    EXPECT_EQ(transferVoucher(), u"号码\t日期\t科目代码\t借方金额\t贷方金额\t审核\t制单\n"_s);
    const CliRun marks = cli(login() << u"sql"_s << u"SELECT count(*) AS n FROM 分录表 WHERE 结帐 IS NOT NULL"_s);
    EXPECT_EQ(marks.out, u"n\n0\n"_s);
    cliExpect(login() << u"--yes"_s << reopen, 1, u"[TZ305提示] 2  月份未结帐\n"_s);
}

TEST_F(ClosingCommandLine, TransferLinesAreNumberedInOrderWhereverTheStagingCounterStands)
{
    // Two January vouchers and 494 more of February imported: 996 journal
    // lines. The year's journal stages them all, so the closing's four
    // staging counter values run 997..1000.
    QString csv = u"凭证,日期,字号,附件,审核,摘要说明,科目代码,数量,借方金额,贷方金额,流代,流金\n"
                  "1,2024-01-10,记,1,会计,销售,1001,,500,,,\n1,,,,,,5001,,,500,,\n"
                  "2,2024-01-11,记,1,会计,成本,5401,,200,,,\n2,,,,,,1405,,,200,,\n"_s;
    for (int v = 3; v <= 496; ++v)
        csv += u"%1,2024-02-10,记,1,会计,收款,1001,,1,,,\n%1,,,,,,1122,,,1,,\n"_s.arg(v);
    QFile file(m_dir.filePath(u"凭证.csv"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(csv.toUtf8());
    file.close();
    cliExpect(login() << u"voucher"_s << u"import"_s << file.fileName(), 0);
    cliExpect(login() << u"journal"_s << u"--month"_s << u"全部"_s, 0);
    cliExpect(login() << u"close"_s << u"--month"_s << u"1"_s << u"--reviewer"_s << u"会计"_s, 0);

    EXPECT_EQ(cli(login() << u"sql"_s << u"SELECT ID, 科目代码 FROM 分录表 WHERE 结帐 = 2 ORDER BY TZID"_s).out,
              u"ID\t科目代码\n8010003001\t5001\n8010003002\t3103\n8010003003\t3103\n8010003004\t5401\n"_s);
    cliExpect(login() << u"check"_s, 0, u"[TZ305] 帐套检查完毕,没有发现问题\n"_s);
}

} // namespace

namespace {

// The trail of changes: closing, reopening and a saved voucher appear in
// `log` with their operator; an amount changed outside the program and a
// row taken out of the log make `check` name them and fail.
TEST_F(ClosingCommandLine, TheLogNamesEachWriteAndCheckNamesChangesOutsideIt)
{
    cliExpect(login() << u"close"_s << u"--month"_s << u"2"_s << u"--reviewer"_s << u"会计"_s, 0);
    cliExpect(login() << u"--yes"_s << u"reopen"_s << u"--month"_s << u"2"_s, 0);
    cliExpect(login() << u"voucher"_s << u"save"_s << u"--date"_s << u"2024-03-05"_s << u"--reviewer"_s << u"会计"_s
                      << u"--line"_s << u"提现|1001||100||"_s << u"--line"_s << u"提现|1122|||100|"_s,
              0);
    const auto rows = [&](const QStringList &args) {
        const CliRun run = cliExpect(login() << u"log"_s << args, 0);
        QList<QStringList> fields;
        for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts))
            fields.append(line.split(u'\t').mid(1, 5)); // 时间 aside
        return fields;
    };
    const QList<QStringList> all = rows({});
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(all.at(0), (QStringList{u"操作员"_s, u"操作"_s, u"月"_s, u"号码"_s, u"摘要"_s}));
    EXPECT_EQ(all.at(1).mid(1, 2), (QStringList{u"记帐"_s, u"0"_s}));
    EXPECT_EQ(all.at(2).mid(0, 4), (QStringList{u"主管"_s, u"结帐"_s, u"2"_s, u"3"_s}));
    EXPECT_EQ(all.at(3).mid(0, 4), (QStringList{u"主管"_s, u"反结帐"_s, u"2"_s, u"3"_s}));
    EXPECT_EQ(all.at(4).mid(0, 4), (QStringList{u"主管"_s, u"保存"_s, u"3"_s, u"1"_s}));
    EXPECT_EQ(all.at(4).at(4).size(), 64);
    EXPECT_EQ(rows({u"--month"_s, u"3"_s}), (QList<QStringList>{all.at(0), all.at(4)}));
    cliExpect(login() << u"check"_s, 0, u"[TZ305] 帐套检查完毕,没有发现问题\n"_s);

    const auto changeOutside = [&](const QString &sql) {
        tz::Session session;
        session.setDbPath(m_set);
        session.execSql(sql);
        session.CloseMainConnection();
    };
    changeOutside(u"UPDATE 分录表 SET 借方金额 = 90 WHERE 月 = 3 AND 借方金额 = 100"_s);
    changeOutside(u"UPDATE 分录表 SET 贷方金额 = 90 WHERE 月 = 3 AND 贷方金额 = 100"_s);
    CliRun run = cliExpect(login() << u"check"_s, 1, u"[TZ305提示] 帐套检查发现1个问题\n"_s);
    EXPECT_EQ(run.out, u"问题\n3月1号凭证在程序外被改动\n"_s);

    changeOutside(u"UPDATE 分录表 SET 借方金额 = 100 WHERE 月 = 3 AND 借方金额 = 90"_s);
    changeOutside(u"UPDATE 分录表 SET 贷方金额 = 100 WHERE 月 = 3 AND 贷方金额 = 90"_s);
    changeOutside(u"DELETE FROM 操作日志 WHERE 操作 = '反结帐'"_s);
    run = cliExpect(login() << u"check"_s, 1, u"[TZ305提示] 帐套检查发现1个问题\n"_s);
    EXPECT_EQ(run.out, u"问题\n操作日志断链: 第4条之前的记录在程序外被删除或改动\n"_s);
}

} // namespace
