// The revalue command end to end: the computed table, the question answered
// No without --yes, the voucher posted with it, a second run refused, and
// the rates and accounts the window would not take refused alike.
#include <gtest/gtest.h>

#include "tests/cli/clirunner.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::cliExpect;

namespace {

class RevalueCommandLine : public tz::test::CliSet {};

TEST_F(RevalueCommandLine, PrintsTheTableAndPostsWithYes)
{
    post({{8000000001, u"1002002"_s, 6800.0, {}, 1000.0}, {8000000002, u"3001"_s, {}, 6800.0}});
    const QStringList revalue = login() << u"revalue"_s << u"--month"_s << u"1"_s << u"--rate"_s << u"1002002=6.5"_s
                                        << u"--against"_s << u"5603001"_s;
    const QString table = u"科目代码\t科目全称\t数量\t调整前金额\t汇率\t调整后金额\t损益\n"
                          "1002002\t银行存款/美元户\t1000\t6800.00\t6.5\t6500.00\t300.00\n"_s;
    EXPECT_EQ(cliExpect(revalue, 1,
                        u"[TZ305提示] 是否按此金额进行调汇?  若要打印请先导出EXCEL,可以重复操作 否\n"_s)
                  .out,
              table);
    // Nothing absurd is posted: a rate must be a positive number whose
    // amount one journal line takes, the account a profit-and-loss detail one.
    const QList<std::pair<QString, QString>> refused{
        {u"1002002=0"_s, u"[TZ305提示] 1002002  汇率必须是大于0的数: 0\n"_s},
        {u"1002002=-0"_s, u"[TZ305提示] 1002002  汇率必须是大于0的数: 0\n"_s},
        {u"1002002=inf"_s, u"[TZ305提示] 1002002  汇率必须是大于0的数: inf\n"_s},
        {u"1002002=1e-300"_s, u"[TZ305提示] 1002002  汇率太小,调整后金额为0: 1e-300\n"_s},
        {u"1002002=1e10"_s, u"[TZ305提示] 1002002  调整后金额太大,最多为999999999999.99: 10000000000000.00\n"_s}};
    for (const auto &[rate, err] : refused)
        cliExpect(login() << u"--yes"_s << u"revalue"_s << u"--month"_s << u"1"_s << u"--rate"_s << rate
                          << u"--against"_s << u"5603001"_s,
                  1, err);
    cliExpect(login() << u"--yes"_s << u"revalue"_s << u"--month"_s << u"1"_s << u"--rate"_s << u"1002002=6.5"_s
                      << u"--against"_s << u"1001"_s,
              1, u"[TZ305] 1001  不是损益类明细科目,请选择对应损益类科目\n"_s);
    EXPECT_EQ(cliExpect(QStringList{u"--yes"_s} + revalue << u"--reviewer"_s << u"张三"_s, 0).out,
              table + u"月\t号码\t分录\n1\t1\t2\n"_s);
    cliExpect(revalue, 1, u"[TZ305] 本月已调汇,请删除调汇凭证再进行调汇\n"_s);
    cliExpect(login() << u"revalue"_s << u"--month"_s << u"1"_s << u"--rate"_s << u"1002002"_s << u"--against"_s
                      << u"5603001"_s,
              2);
}

} // namespace
