// Year-end carry forward.
#include "maintenance/carryforward.h"

#include <QFile>
#include <QFileInfo>

#include "store/setexport.h"
#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/keptbalances.h"
#include "store/money.h"
#include "store/safefile.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kTitle = u"TZ305提示"_s;

// Every account's closing balance in cents and its closing quantity, over
// all journal lines: what the new year opens with.
const QString kClosingSql = uR"(SELECT k.科目代码, k.方向, round_half_up(total(ifnull(j.借方金额, 0)) - total(ifnull(j.贷方金额, 0)), 2),
       total(CASE WHEN j.借方金额 IS NULL THEN -ifnull(j.数量, 0) ELSE ifnull(j.数量, 0) END), count(j.数量)
  FROM 科目表 k JOIN 分录表 j ON j.科目代码 = k.科目代码
 GROUP BY k.科目代码 ORDER BY k.科目代码)"_s;

const QString kOpeningLineSql =
    u"INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额) VALUES (?, '年初余额', ?, ?, ?, ?)"_s;
const QString kOpeningFiguresSql = u"UPDATE 科目表 SET 数量 = ?, 借方金额 = ?, 贷方金额 = ? WHERE 科目代码 = ?"_s;

struct Carried
{
    QString code;
    QVariant quantity;
    QVariant debit;
    QVariant credit;
    Cents balance = 0;
};

// The new set is read and rewritten once, the year's lines dropped in one
// transaction: a small page cache serves as well (dirty pages spill to the
// file, journaled, before the commit).
void keepSmallCache(Session &session)
{
    session.OpenMainConnection();
    useSmallCache(session.mainConnection());
}

// The balances to carry, read from this year's books.
QList<Carried> closingBalances(Session &session)
{
    QList<Carried> carried;
    const ResultSet rows = session.RunSql(kClosingSql);
    for (const ResultSet::Row &r : rows.rows()) {
        const Cents balance = roundToCents(r.at(2).toDouble());
        if (balance == 0)
            continue; // a zero balance is not carried, even with a quantity left
        const bool debitSide = r.at(1).toString() != u"贷"_s;
        Carried c;
        c.code = r.at(0).toString();
        c.balance = balance;
        const double quantity = r.at(3).toDouble();
        if (r.at(4).toLongLong() > 0)
            c.quantity = debitSide ? quantity : -quantity;
        if (debitSide)
            c.debit = centsToDouble(balance);
        else
            c.credit = centsToDouble(-balance);
        carried.append(c);
    }
    return carried;
}

// Writes the opening lines and figures into the new set (its own session).
void writeOpenings(Session &next, const QList<Carried> &carried)
{
    Transaction transaction(next);
    emptyJournal(next);
    next.execSql(u"UPDATE 科目表 SET 数量 = NULL, 借方金额 = NULL, 贷方金额 = NULL"_s);
    qint64 sequence = 0;
    for (const Carried &c : carried) {
        next.execSql(kOpeningLineSql, {8'000'000'000 + ++sequence, c.code, c.quantity, c.debit, c.credit});
        next.execSql(kOpeningFiguresSql, {c.quantity, c.debit, c.credit, c.code});
    }
    next.execSql(u"DELETE FROM 数量式余额表"_s);
    // The new year's trail begins with its opening lines.
    next.execSql(u"DELETE FROM 操作日志"_s);
    logAllVouchers(next, u"结转上年"_s);
    transaction.commit();
}

// The new set opens, is whole, balances, and opens each account with this
// year's closing balance. Empty when it does; otherwise what is wrong.
QString verifyNextYear(const QString &path, const QList<Carried> &carried)
{
    if (const QString problem = verifyAccountSet(path); !problem.isEmpty())
        return problem;
    Session next;
    next.setDbPath(path);
    keepSmallCache(next);
    const ResultSet rows = next.RunSql(
        u"SELECT 科目代码, round_half_up(total(ifnull(借方金额, 0)) - total(ifnull(贷方金额, 0)), 2) FROM 分录表 "
        "GROUP BY 科目代码 ORDER BY 科目代码"_s);
    if (rows.recordCount() != carried.size())
        return u"新帐套的年初科目数与本年期末不符"_s;
    Cents total = 0;
    for (qsizetype i = 0; i < carried.size(); ++i) {
        const Cents opening = roundToCents(rows.value(int(i), 1).toDouble());
        if (rows.value(int(i), 0).toString() != carried.at(i).code || opening != carried.at(i).balance)
            return u"新帐套的年初余额与本年期末不符: "_s + carried.at(i).code;
        total += opening;
    }
    if (total != 0)
        return u"新帐套的年初余额借贷不平"_s;
    return {};
}

} // namespace

QString nextYearPath(const QString &setPath)
{
    bool ok = false;
    const int digits = setPath.right(2).toInt(&ok);
    if (!ok || digits >= 99 || setPath.size() < 3)
        return {};
    return setPath.chopped(2) + QString::number(digits + 1).rightJustified(2, u'0');
}

OpResult CarryForward(Session &session, Dialogs &dialogs, QString *created)
{
    const QString path = session.dbPath();
    const QString next = nextYearPath(path);
    if (next.isEmpty())
        return refuse(dialogs, u"本帐套已是99年度,两位年号没有下一年度,不能过帐"_s, kTitle, Icon::Exclamation);
    if (QFileInfo::exists(next))
        return refuse(dialogs,
                      next.right(2) + u"年的帐套已经在同一文件夹内存在,详细的帐套路径为: "_s + next
                          + u"\n\n如果要重新过帐请拷走帐套或删除帐套再过帐"_s,
                      applicationTitle(), Icon::None);
    if (!dialogs.ask(u"0.过帐前请结平[本年利润]科目.\n1.过帐前请先进行数据备份.\n2.过帐后回到这里还可以修改年初数.\n"
                     "3.过帐成功将自动退出系统.\n\n4.是否现在过帐?"_s,
                     u"TZ305提示：请一定要看如下内容"_s))
        return OpResult::refused();

    removeStaleScratch(next);
    const QString scratch = scratchPathFor(next);
    QString problem;
    const OpResult built = guarded(dialogs, [&] {
        ProgressSteps progress(dialogs, u"年度过帐"_s);
        progress.step(u"正在复制本年帐套…"_s);
        exportOpenSet(session, scratch);
        // The balances come from the copy itself, so they are the books
        // the new set was made from even if a posting followed the copy.
        progress.step(u"正在结转年末余额…"_s);
        QList<Carried> carried;
        {
            Session nextYear;
            nextYear.setDbPath(scratch);
            keepSmallCache(nextYear);
            carried = closingBalances(nextYear);
            writeOpenings(nextYear, carried);
        }
        progress.step(u"正在检查新帐套…"_s);
        problem = verifyNextYear(scratch, carried);
        return OpResult::done();
    });
    if (!built.isDone() || !problem.isEmpty()) {
        QFile::remove(scratch);
        return problem.isEmpty() ? built : fail(dialogs, u"过帐没有完成: "_s + problem);
    }
    if (const QString installed = installScratch(scratch, next, false); !installed.isEmpty())
        return fail(dialogs, u"过帐没有完成: "_s + installed);
    if (created)
        *created = next;
    dialogs.show(u"1.恭喜你过帐成功!\n\n2.帐套路径(名): "_s + next + u"\n\n3.请重新登陆新帐套"_s, kTitle, Icon::None);
    return OpResult::done();
}

} // namespace tz
