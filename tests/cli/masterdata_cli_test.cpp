// The opening-balance commands end to end: set, trial balance, load into the
// journal, and the refusals with their messages and exit statuses.
#include <gtest/gtest.h>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::CliRun;
using tz::test::cli;
using tz::test::cliExpect;

namespace {

class OpeningCommandLine : public tz::test::CliSet
{
protected:
    void set(const QStringList &options)
    {
        cliExpect(login() << u"opening"_s << u"set"_s << options, 0, u""_s);
    }
};

TEST_F(OpeningCommandLine, TrialLoadAndRefusals)
{
    set({u"--code"_s, u"2001"_s, u"--credit"_s, u"300,000"_s});
    set({u"--code"_s, u"2001"_s, u"--credit"_s, u"1,000"_s});
    set({u"--code"_s, u"1122"_s, u"--debit"_s, u"0.67"_s, u"--qty"_s, u"4"_s});
    set({u"--code"_s, u"1001"_s, u"--debit"_s, u"999.33"_s});
    const QString log = cliExpect(login() << u"log"_s, 0).out;
    EXPECT_TRUE(log.contains(u"\t2001 数量 借方 贷方300000\n"_s)) << log.toStdString();
    EXPECT_TRUE(log.contains(u"\t1122 数量4 借方0.67 贷方\n"_s)) << log.toStdString();
    const QStringList trial = login() << u"opening"_s << u"trial"_s;
    EXPECT_EQ(cliExpect(trial, 0).out, u"借方合计\t贷方合计\t状态\n1,000.00\t1,000.00\t平衡\n"_s);

    const QString question = u"[TZ305] 是否装入年初数据?请认真核对里边的数据！！！ "_s;
    cliExpect(login() << u"opening"_s << u"load"_s, 1, question + u"否\n"_s);
    for (int i = 0; i < 2; ++i)
        cliExpect(login() << u"--yes"_s << u"opening"_s << u"load"_s, 0, question + u"是\n[TZ305] 已装入成功\n"_s);
    const CliRun lines = cli(login() << u"sql"_s << u"SELECT ID, 科目代码, 借方金额, 贷方金额 FROM 分录表 ORDER BY ID"_s);
    EXPECT_EQ(lines.out, u"ID\t科目代码\t借方金额\t贷方金额\n"
                         "8000000001\t1001\t999.33\t\n"
                         "8000000002\t1122\t0.67\t\n"
                         "8000000003\t2001\t\t1000\n"_s);

    // Unbalanced: refused; bad input: refused or a usage error.
    set({u"--code"_s, u"1001"_s, u"--debit"_s, u"10"_s});
    EXPECT_EQ(cliExpect(trial, 0).out, u"借方合计\t贷方合计\t状态\n10.67\t1,000.00\t不平衡\n"_s);
    cliExpect(login() << u"--yes"_s << u"opening"_s << u"load"_s, 1, u"[TZ305] 借贷不平\n"_s);
    cliExpect(login() << u"opening"_s << u"set"_s << u"--code"_s << u"1002"_s << u"--debit"_s << u"1"_s, 1,
              u"[TZ305提示] 1002  不是明细科目,不能录入年初数\n"_s);
    cliExpect(login() << u"opening"_s << u"set"_s << u"--code"_s << u"1001"_s, 2);
    // Typed amounts are taken exactly: a third decimal or more than the
    // money columns hold is refused, never rounded.
    cliExpect(login() << u"opening"_s << u"set"_s << u"--code"_s << u"1001"_s << u"--debit"_s << u"0.665"_s, 1,
              u"[TZ305提示] 借方金额最多只能有两位小数: 0.665\n"_s);
    cliExpect(login() << u"opening"_s << u"set"_s << u"--code"_s << u"1001"_s << u"--credit"_s << u"1e14"_s, 1,
              u"[TZ305提示] 贷方金额太大,最多为999999999999.99: 1e14\n"_s);
}

} // namespace
