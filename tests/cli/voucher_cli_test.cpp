// The voucher commands end to end: save, show, modify, delete with their
// messages and questions, and the CSV import (quoting, numbering after the
// month's vouchers, and a refused voucher refusing the whole file).
#include <gtest/gtest.h>

#include <QFile>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

const QString kCsvHeader = u"凭证,日期,字号,附件,审核,摘要说明,科目代码,数量,借方金额,贷方金额,流代,流金\n"_s;
const QString kOutcomeHeader = u"月\t号码\t分录\t下一号码\n"_s;

class VoucherCommandLine : public tz::test::CliSet
{
protected:
    QStringList v(const QStringList &args, bool yes = false) const
    {
        return (yes ? QStringList {u"--yes"_s} : QStringList()) + login() << u"voucher"_s << args;
    }

    CliRun sql(const QString &statement) const { return cli(login() << u"sql"_s << statement); }

    QString writeCsv(const QString &body) const
    {
        const QString path = m_dir.filePath(u"凭证.csv"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(body.toUtf8());
        return path;
    }
};

TEST_F(VoucherCommandLine, SaveShowModifyDeleteRefusalsAndUsage)
{
    const QStringList cash = {u"--date"_s, u"2024-03-05"_s, u"--reviewer"_s, u"会计"_s, u"--attach"_s, u"2"_s};
    CliRun run = cliExpect(v(QStringList {u"save"_s} << cash << u"--line"_s << u"提现|1001 库存现金||100.00||"_s
                                                  << u"--line"_s << u"|1122|||100|"_s),
        0, u"[TZ305系统] 凭证保存成功\n"_s);
    EXPECT_EQ(run.out, kOutcomeHeader + u"3\t1\t2\t2\n"_s);
    cliExpect(v(QStringList {u"save"_s} << cash << u"--line"_s << u"二|1001||5||"_s << u"--line"_s << u"|1122|||5|"_s), 0);

    EXPECT_EQ(cliExpect(v({u"show"_s, u"--month"_s, u"3"_s, u"--number"_s, u"1"_s}), 0).out, u"日期\t字号\t号码\t附件\t制单\t审核\t序号\t摘要说明\t科目名称\t数量\t借方金额\t贷方金额\t流代\t流金\n"
                       "2024-03-05\t记\t1\t2\t主管\t会计\t1\t提现\t1001 库存现金\t\t100.00\t\t\t\n"
                       "2024-03-05\t记\t1\t2\t主管\t会计\t2\t提现\t1122 应收账款\t\t\t100.00\t\t\n"_s);

    const QStringList modify = {u"modify"_s, u"--month"_s, u"3"_s, u"--number"_s, u"1"_s, u"--reviewer"_s, u"出纳"_s};
    cliExpect(v(modify), 1, u"[TZ305提示] 真要修改此张凭证吗?(1号凭证) 否\n"_s);
    EXPECT_EQ(cliExpect(v(modify, true), 0).out, kOutcomeHeader + u"3\t1\t2\t3\n"_s);
    EXPECT_EQ(sql(u"SELECT DISTINCT 审核 FROM 分录表 WHERE 号码 = 1"_s).out, u"审核\n出纳\n"_s);

    cliExpect(v({u"delete"_s, u"--month"_s, u"3"_s, u"--number"_s, u"1"_s}, true), 0,
        u"[TZ305提示] 真要删除此张凭证吗?(1号凭证),以后的号码会自动减号) 是\n[TZ305系统] 凭证删除成功\n"_s);
    EXPECT_EQ(sql(u"SELECT ID, 号码, 摘要说明 FROM 分录表 ORDER BY ID"_s).out,
              u"ID\t号码\t摘要说明\n8030001001\t1\t二\n8030001002\t1\t二\n"_s);

    cliExpect(v({u"show"_s, u"--month"_s, u"3"_s, u"--number"_s, u"5"_s}), 1, u"[TZ305提示] 5 号凭证没有数据,注意凭证号\n"_s);

    const QStringList head = {u"save"_s, u"--date"_s, u"2024-03-05"_s, u"--reviewer"_s, u"会计"_s};
    run = cliExpect(v(QStringList(head) << u"--line"_s << u"a|1001||100||"_s << u"--line"_s << u"|1122|||99.99|"_s), 1,
        u"[TZ305提示] 借贷不平!\n"_s);
    EXPECT_TRUE(run.out.isEmpty());

    // Amounts are taken exactly as typed, and only chart detail accounts are posted.
    const QList<std::pair<QString, QString>> refusals = {
        {u"a|1001||x||"_s, u"借方金额不是有效的数字: x"_s},
        {u"a|1001||1.234||"_s, u"借方金额最多只能有两位小数: 1.234"_s},
        {u"a|1001|||1e14|"_s, u"贷方金额太大,最多为999999999999.99: 1e14"_s},
        {u"a|9999999||1||"_s, u"9999999  此科目不存在"_s},
        {u"a|1002||1||"_s, u"1002  不是明细科目,不能录入凭证"_s},
    };
    for (const auto &[line, message] : refusals)
        cliExpect(v(QStringList(head) << u"--line"_s << line << u"--line"_s << u"b|1122|||1|"_s), 1,
                  u"[TZ305提示] "_s + message + u'\n');
    for (const QStringList &usage : {QStringList{u"save"_s, u"--line"_s, u"a|1001||1||"_s},
                                     QStringList(head) << u"--line"_s << u"a|1001||1|||||"_s,
                                     QStringList{u"insert"_s, u"--date"_s, u"2024-03-05"_s},
                                     QStringList{u"delete"_s, u"--month"_s, u"13"_s, u"--number"_s, u"1"_s},
                                     QStringList{u"nosuch"_s}})
        cliExpect(v(usage), 2);
    EXPECT_EQ(sql(u"SELECT count(*) AS n FROM 分录表"_s).out, u"n\n2\n"_s); // voucher 二 only
}

TEST_F(VoucherCommandLine, ImportNumbersAfterTheMonthAndARefusedVoucherRefusesTheFile)
{
    cliExpect(v({u"save"_s, u"--date"_s, u"2024-01-02"_s, u"--reviewer"_s, u"会计"_s, u"--line"_s, u"先|1001||1||"_s,
                u"--line"_s, u"|1122|||1|"_s}),
        0);
    const QString path = writeCsv(kCsvHeader +
                                  u"A,2024-01-05,记,2,会计,\"收货款, \"\"甲\"\"公司\",1001 库存现金,,\"1,000.00\",,101,1000\n"
                                  "A,,,,,,1122,,,1000,,\n"
                                  "B,2024-01-20,转,0,会计,多行,1405,3,300,,,\r\n"
                                  "B,,,,,,1001,,,100,,\r\n"
                                  "B,,,,,,1122,,,200,,\r\n"
                                  "\n"
                                  "C,2024-02-01,记,,会计,\"两行\n摘要\",1001,,50,,,\n"
                                  "C,,,,,,5001,,,50,,\n"_s);
    EXPECT_EQ(cliExpect(v({u"import"_s, path}), 0, u"[TZ305系统] 凭证导入成功: 3张凭证, 7行分录\n"_s).out,
              u"凭证\t分录\n3\t7\n"_s);
    EXPECT_EQ(sql(u"SELECT ID, 字号, 附件, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额, 流代, 流金 FROM 分录表 "
                  "WHERE ID > 8010001999 ORDER BY ID"_s)
                  .out,
              u"ID\t字号\t附件\t摘要说明\t科目代码\t数量\t借方金额\t贷方金额\t流代\t流金\n"
              "8010002001\t记\t2\t收货款, \"甲\"公司\t1001\t\t1000\t\t101\t1000\n"
              "8010002002\t记\t2\t收货款, \"甲\"公司\t1122\t\t\t1000\t\t\n"
              "8010003001\t转\t0\t多行\t1405\t3\t300\t\t\t\n"
              "8010003002\t转\t0\t多行\t1001\t\t\t100\t\t\n"
              "8010003003\t转\t0\t多行\t1122\t\t\t200\t\t\n"
              "8020001001\t记\t0\t两行\\n摘要\t1001\t\t50\t\t\t\n"
              "8020001002\t记\t0\t两行\\n摘要\t5001\t\t\t50\t\t\n"_s);
    const QString before = sql(u"SELECT count(*) AS n FROM 分录表"_s).out;

    // A refused voucher refuses the whole file.
    const QString good = u"A,2024-01-05,记,1,会计,好,1001,,10,,,\nA,,,,,,1122,,,10,,\n"_s;
    const QString last = u"C,2024-01-07,记,1,会计,好,1001,,10,,,\nC,,,,,,1122,,,10,,\n"_s;
    struct Case
    {
        QString middle; // voucher B, starting on line 4
        QString err;
    };
    const Case cases[] = {
        {u"B,2024-01-06,记,1,会计,坏,1001,,10,,,\nB,,,,,,1122,,,9.99,,\n"_s, u"[TZ305提示] 第4行: 借贷不平!\n"_s},
        {u"B,2024-01-06,记,1,会计,坏,1001,,10,,,\nB,,,,,,1122,,,abc,,\n"_s,
         u"[TZ305提示] 第5行: 贷方金额不是有效的数字: abc\n"_s},
        {u"B,2023-01-06,记,1,会计,坏,1001,,10,,,\nB,,,,,,1122,,,10,,\n"_s, u"[TZ305] 第4行: 会计年度不一致\n"_s},
        {u"B,2024-01-06,记,1,,坏,1001,,10,,,\nB,,,,,,1122,,,10,,\n"_s, u"[TZ305提示] 第4行: 凭证号,审核不能为空\n"_s},
        {u"B,2024-01-06,记,1,会计,坏,1001,,10,,,\nB,,,,,,,,,10,,\n"_s, u"[TZ305提示] 第5行: 科目代码不能为空\n"_s},
        {u"B,2024-01-06,记,1,会计,坏,1001,,10,,\nB,,,,,,1122,,,10,,\n"_s, u"[TZ305提示] 第4行: 应有12列,此行有11列\n"_s},
        {u"B,2024-01-06,记,1,会计,\"坏,1001,,10,,,\n"_s, u"[TZ305提示] 第4行: 引号没有结束\n"_s},
        {u"B,2024-01-06,记,1,会计,坏,1001,,10.005,,,\nB,,,,,,1122,,,10.005,,\n"_s,
         u"[TZ305提示] 第4行: 借方金额最多只能有两位小数: 10.005\n"_s},
        {u"B,2024-01-06,记,1,会计,坏,1002,,10,,,\nB,,,,,,1122,,,10,,\n"_s,
         u"[TZ305提示] 第4行: 1002  不是明细科目,不能录入凭证\n"_s},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(cliExpect(v({u"import"_s, writeCsv(kCsvHeader + good + c.middle + last)}), 1, c.err).out.isEmpty());
    cliExpect(v({u"import"_s, writeCsv(u"凭证,日期\n"_s + good)}), 1, u"[TZ305提示] 第1行: 标题行应为: "_s + kCsvHeader);
    cliExpect(v({u"import"_s, m_dir.filePath(u"没有.csv"_s)}), 3,
        u"[TZ305提示] 不能读取文件: "_s + m_dir.filePath(u"没有.csv"_s) + u'\n');
    EXPECT_EQ(sql(u"SELECT count(*) AS n FROM 分录表"_s).out, before);
}

} // namespace
