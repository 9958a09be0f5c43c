// The books' check.
#include "maintenance/bookcheck.h"

#include "store/changelog.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/keptbalances.h"
#include "store/money.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Sums in whole mills (0.001), so binary remainders never count as a
// difference while an amount with a third decimal still does.
const QString kMills = u"CAST(round(ifnull(%1, 0) * 1000) AS INTEGER)"_s;

QString mills(const QString &column)
{
    return kMills.arg(column);
}

// A sum of mills as yuan: two decimals, three when the last is not zero.
QString yuan(const QVariant &sum)
{
    const qint64 m = qint64(sum.toDouble());
    if (m % 10 == 0)
        return centsToText(m / 10);
    return (m < 0 ? u"-"_s : QString()) + centsToText(qAbs(m) / 10) + QString::number(qAbs(m) % 10);
}

} // namespace

OpResult CheckBooks(Session &session, QStringList &problems, Dialogs &dialogs)
{
    problems.clear();
    const OpResult run = guarded(dialogs, [&] {
        // One read transaction: every rule sees the same books.
        Transaction snapshot(session, Transaction::Mode::Read);
        try {
            const ResultSet integrity = session.RunSql(u"PRAGMA integrity_check(20)"_s);
            for (const ResultSet::Row &row : integrity.rows()) {
                for (const QString &line : row.value(0).toString().split(u'\n', Qt::SkipEmptyParts)) {
                    if (line != u"ok"_s)
                        problems << u"文件完整性: "_s + line;
                }
            }
        } catch (const DbError &error) {
            if (error.kind() != DbError::Kind::Damaged)
                throw;
            problems << u"文件完整性: "_s + error.message();
        }
        // The rules below would read the pages that failed: a damaged set
        // is told as such, and the repair salvages what reads.
        if (!problems.isEmpty())
            return OpResult::done();
        // Rows by value: a loop over the rows of a temporary result would
        // outlive it.
        const auto rows = [&session](const QString &sql) { return session.RunSql(sql).rows(); };
        // total() rather than sum(): a damaged amount far out of range must
        // not stop the check with an integer overflow.
        const QString debit = mills(u"借方金额"_s);
        const QString credit = mills(u"贷方金额"_s);
        for (const ResultSet::Row &r :
             rows(u"SELECT 月, 号码, total(%1), total(%2) FROM 分录表 WHERE ID >= 8010000000 GROUP BY 月, 号码 "
                            "HAVING total(%1) <> total(%2) ORDER BY 月, 号码"_s.arg(debit, credit)))
            problems << u"%1月%2号凭证借贷不平: 借方 %3, 贷方 %4"_s.arg(r.at(0).toString(), r.at(1).toString(),
                                                                    yuan(r.at(2)), yuan(r.at(3)));
        // An amount is whole cents when rounding it to the cent on its
        // decimal digits leaves it as it is.
        for (const ResultSet::Row &r :
             rows(u"SELECT ID, 借方金额, 贷方金额 FROM 分录表 WHERE 借方金额 <> round_half_up(借方金额, 2) "
                            "OR 贷方金额 <> round_half_up(贷方金额, 2) ORDER BY ID LIMIT 50"_s)) {
            const double amount = r.at(1).isNull() || r.at(1).toDouble() == roundHalfUp(r.at(1).toDouble(), 2)
                ? r.at(2).toDouble()
                : r.at(1).toDouble();
            problems << u"分录%1的金额%2超过两位小数"_s.arg(r.at(0).toString(), shortestText(amount));
        }
        // A voucher is dated inside its own month of the fiscal year.
        const QList<QVariantList> misdated =
            session
                .RunSql(u"SELECT DISTINCT 月, 号码, 日期 FROM 分录表 WHERE ID >= 8010000000 AND (日期 IS NULL "
                        "OR date(日期) IS NOT 日期 OR substr(日期, 1, 7) IS NOT printf('%04d-%02d', ?, 月)) "
                        "ORDER BY 月, 号码, 日期 LIMIT 50"_s,
                        {session.fiscalYear()})
                .rows();
        for (const ResultSet::Row &r : misdated)
            problems << u"%1月%2号凭证的日期不在本月: %3"_s.arg(r.at(0).toString(), r.at(1).toString(),
                                                            r.at(2).isNull() ? u"(空)"_s : r.at(2).toString());
        for (const ResultSet::Row &r :
             rows(u"SELECT 月, count(DISTINCT 号码), max(号码) FROM 分录表 WHERE ID >= 8010000000 GROUP BY 月 "
                            "HAVING count(DISTINCT 号码) <> max(号码) OR min(号码) <> 1 ORDER BY 月"_s))
            problems << u"%1月凭证号不连续或重复: 共%2张, 最大号码%3"_s.arg(r.at(0).toString(), r.at(1).toString(),
                                                                      r.at(2).toString());
        for (const ResultSet::Row &r :
             rows(u"SELECT ID FROM 分录表 WHERE ID >= 8010000000 AND (ID / 1000 <> 8000000 + 月 * 10000 + 号码 "
                            "OR ID % 1000 = 0) UNION SELECT ID FROM 分录表 GROUP BY ID HAVING count(*) > 1 "
                            "UNION SELECT ID FROM 分录表 WHERE ID IS NULL OR ID < 8000000001 OR ID >= 8130000000 "
                            "ORDER BY 1 LIMIT 50"_s))
            problems << u"分录ID有误: "_s + (r.at(0).isNull() ? u"(空)"_s : r.at(0).toString());
        for (const ResultSet::Row &r :
             rows(u"SELECT j.ID, j.科目代码, k.科目代码 FROM 分录表 j LEFT JOIN 科目表 k ON k.科目代码 = j.科目代码 "
                            "WHERE k.明细 IS NOT 'Y' ORDER BY j.ID LIMIT 50"_s))
            problems << u"分录%1的科目代码%2%3"_s.arg(r.at(0).toString(), r.at(1).toString(),
                                                     r.at(2).isNull() ? u"不在科目表中"_s : u"不是明细科目"_s);
        const ResultSet opening = session.RunSql(
            u"SELECT total(%1), total(%2) FROM 分录表 WHERE ID < 8010000000 HAVING total(%1) <> total(%2)"_s.arg(debit,
                                                                                                        credit));
        if (!opening.eof())
            problems << u"年初余额借贷不平: 借方 %1, 贷方 %2"_s.arg(yuan(opening.value(0, 0)), yuan(opening.value(0, 1)));
        for (const ResultSet::Row &r :
             rows(u"SELECT 月, sum(ifnull(结帐, 0) = 0) FROM 分录表 WHERE ID >= 8010000000 AND 月 <> 12 "
                            "GROUP BY 月 HAVING max(ifnull(结帐, 0)) <> 0 AND sum(ifnull(结帐, 0) = 0) > 0 ORDER BY 月"_s))
            problems << u"%1月已结帐,但有%2行分录未标记结帐"_s.arg(r.at(0).toString(), r.at(1).toString());
        // The balances the posting keeps, against the journal.
        problems << keptBalanceProblems(session);
        // The trail's chain and every voucher against the digest its last
        // writer left.
        problems << changeLogProblems(session);
        snapshot.commit();
        return OpResult::done();
    });
    if (!run.isDone())
        return run;
    if (problems.isEmpty()) {
        dialogs.show(u"帐套检查完毕,没有发现问题"_s, applicationTitle(), Icon::Information);
        return OpResult::done();
    }
    return refuse(dialogs, u"帐套检查发现%1个问题"_s.arg(problems.size()), u"TZ305提示"_s, Icon::Exclamation);
}

} // namespace tz
