// The balance table over a year of journal lines, built once with the
// journal's code index carrying the amounts (as the template has it) and
// once with a code index of (科目代码, ID) only, which makes every line a
// separate page fetch from the encrypted table.
#include <cstdio>

#include <QElapsedTimer>

#include "ledgers/balancetable.h"
#include "store/session.h"
#include "store/transaction.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Twelve months of `vouchersPerMonth` five-line vouchers spread over the
// detail accounts of the chart.
void fillYear(tz::Session &s, int vouchersPerMonth)
{
    tz::Transaction tx(s);
    s.execSql(uR"(INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额)
WITH RECURSIVE
 m(month) AS (SELECT 1 UNION ALL SELECT month + 1 FROM m WHERE month < 12),
 v(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM v WHERE n < ?1),
 l(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM l WHERE k < 5),
 c(i, code) AS (SELECT row_number() OVER (ORDER BY 科目代码) - 1, 科目代码 FROM 科目表 WHERE 明细 = 'Y')
SELECT 8000000000 + month * 10000000 + n * 1000 + k, printf('2024-%02d-15', month), month, '记', n, '业务',
       (SELECT code FROM c WHERE i = (n * 7 + k * 13 + month) % (SELECT count(*) FROM c)),
       CASE WHEN k = 2 THEN 3.5 END, CASE WHEN k < 5 THEN 100.25 * k END, CASE WHEN k = 5 THEN 1002.5 END
  FROM m, v, l)"_s,
              {vouchersPerMonth});
    tx.commit();
}

double buildMillis(tz::Session &s)
{
    tz::test::ScriptedDialogs dialogs;
    QElapsedTimer timer;
    timer.start();
    tz::BuildBalanceTable(s, u"12"_s, u"4"_s, dialogs);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

void balanceTableIndex(int vouchersPerMonth)
{
    tz::test::TestSet set;
    tz::Session &s = set.session();
    fillYear(s, vouchersPerMonth);
    const double covering = buildMillis(s);
    s.execSql(u"DROP INDEX 分录表_科目代码"_s);
    s.execSql(u"CREATE INDEX 分录表_科目代码 ON 分录表 (科目代码, ID)"_s);
    const double narrow = buildMillis(s);
    std::printf("%-44s %-24s %9.1f ms   %-24s %9.1f ms   ratio %.2f\n",
                qPrintable(u"balance table, %1 journal lines"_s.arg(vouchersPerMonth * 60)), "code index + amounts",
                covering, "code index (科目代码, ID)", narrow, covering / narrow);
}
