// Month closing (the profit-and-loss transfer voucher) and reopening.
#include "vouchers/closing.h"

#include <QVariant>

#include "accounts/chartrules.h"
#include "store/checkedwrite.h"
#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/session.h"
#include "store/transaction.h"
#include "store/worktables.h"
#include "vouchers/postingwrites.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;
const QString kClosedTitle = u"结帐成功^_^"_s;

// "8" + mm + nnnn + lll: the month and number parts as one bound base, the
// line part (the line's rank) added in SQL.
constexpr qint64 kLineIdBase = 8'000'000'000;
constexpr qint64 kMonthStep = 10'000'000;
constexpr qint64 kNumberStep = 1'000;

// One side of the transfer: the accounts it takes (first two code digits,
// compared as text), each account's month movement rounded to the cent
// (income credit minus debit, expense debit minus credit), and the column
// of the staging line that carries it.
struct TransferSide
{
    QString accounts;
    QString net;
    QString stagedColumn;
};

const TransferSide kIncome{u"substr(科目代码, 1, 2) BETWEEN '50' AND '53'"_s,
                           u"round_half_up(total(贷方金额) - total(借方金额), 2)"_s, u"借方金额"_s};
const TransferSide kExpense{u"substr(科目代码, 1, 2) BETWEEN '54' AND '59'"_s,
                            u"round_half_up(total(借方金额) - total(贷方金额), 2)"_s, u"贷方金额"_s};

const QString kMonthStateSql = u"SELECT max(号码) AS ma, max(结帐) AS jj FROM 分录表 WHERE 月 = ?"_s;

// The side's total adds up the accounts' rounded amounts, so each 3103 line
// equals the sum of the lines it balances, to the cent.
QString totalSql(const TransferSide &side)
{
    return u"SELECT total(net) FROM (SELECT "_s + side.net + u" AS net FROM 分录表 WHERE "_s + side.accounts
        + u" AND 月 = ? GROUP BY 科目代码)"_s;
}

// One staging line per account of the side, in code order so that the TZID
// each takes does not depend on the query plan.
QString stageSql(const TransferSide &side)
{
    return u"INSERT INTO 分录始表 (科目代码, 数量, "_s + side.stagedColumn + u") SELECT 科目代码, sum(数量), "_s
        + side.net + u" FROM 分录表 WHERE "_s + side.accounts + u" AND 月 = ? GROUP BY 科目代码 ORDER BY 科目代码"_s;
}


const QString kStageProfitCreditSql = u"INSERT INTO 分录始表 (科目代码, 贷方金额) VALUES ('3103', ?)"_s;
const QString kStageProfitDebitSql = u"INSERT INTO 分录始表 (科目代码, 借方金额) VALUES ('3103', ?)"_s;

// Accounts without net movement, and a 3103 line whose total is zero.
const QString kDropZeroLinesSql =
    u"DELETE FROM 分录始表 WHERE round_half_up(ifnull(贷方金额, 0) + ifnull(借方金额, 0), 2) = 0"_s;

const QString kStagedOffChartSql
    = u"SELECT s.科目代码, k.科目代码 FROM 分录始表 AS s LEFT JOIN 科目表 AS k ON k.科目代码 = s.科目代码 "
      "WHERE k.明细 IS NOT 'Y' ORDER BY s.TZID LIMIT 1"_s;

const QString kMarkMonthClosedSql = u"UPDATE 分录表 SET 结帐 = 1 WHERE 月 = ?"_s;

const QString kStagedLinesSql = u"SELECT count(*) FROM 分录始表"_s;

// Lines 001, 002, ... in staging order (TZID), as a keyed voucher is
// numbered: the counter can stand anywhere, and its last three digits would
// wrap past 999 in the middle of the voucher.
const QString kNumberStagedLinesSql =
    u"UPDATE 分录始表 SET ID = ?1 + o.line, 日期 = ?2, 月 = ?3, 字号 = '记', 号码 = ?4, "
    "摘要说明 = '结转本期损益', 附件 = 1, 审核 = ?5, 制单 = ?6, 结帐 = 2 "
    "FROM (SELECT rowid AS r, row_number() OVER (ORDER BY TZID, rowid) AS line FROM 分录始表) AS o "
    "WHERE o.r = 分录始表.rowid"_s;

const QString kJournalColumns = u"ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, 数量, 借方金额, "
                                 "贷方金额, 流代, 流金, 结帐, 科目全称, 顺序, TZID"_s;
const QString kAppendVoucherSql =
    u"INSERT INTO 分录表 ("_s + kJournalColumns + u") SELECT "_s + kJournalColumns + u" FROM 分录始表 ORDER BY TZID"_s;

const QString kClosingMarkSql = u"SELECT max(结帐) AS jj FROM 分录表 WHERE 月 = ?"_s;
const QString kDeleteTransferSql = u"DELETE FROM 分录表 WHERE 结帐 = 2 AND 月 = ?"_s;
const QString kClearMarksSql = u"UPDATE 分录表 SET 结帐 = NULL WHERE 月 = ?"_s;
const QString kTransferNumbersSql
    = u"SELECT DISTINCT 号码 FROM 分录表 WHERE 结帐 = 2 AND 月 = ? ORDER BY 号码 DESC"_s;
const QString kDeleteStagedTransferSql = u"DELETE FROM 分录始表 WHERE 结帐 = 2 AND 月 = ?"_s;
// The voucher on view in the entry window moves with its number, so a later
// 修改 or 删除 of that number still acts on the voucher that was fetched.
const QString kShiftStagedDownSql
    = u"UPDATE 分录始表 SET ID = ID - 1000, 号码 = 号码 - 1 WHERE 号码 > ? AND 月 = ?"_s;

// The month's largest 结帐 says closed when it is neither NULL nor 0.
bool isClosedMark(const QVariant &mark)
{
    return !mark.isNull() && mark.toDouble() != 0;
}

Cents totalOf(Session &session, const QString &sql, int month)
{
    return roundToCents(session.RunSql(sql, {month}).value(0, 0).toDouble());
}

// Fills 分录始表 with the transfer lines of `month` and drops the zero ones.
void stageTransferLines(Session &session, int month)
{
    const Cents income = totalOf(session, totalSql(kIncome), month);
    const Cents expense = totalOf(session, totalSql(kExpense), month);
    emptyWorkTables(session, {u"分录始表"_s});
    session.execSql(stageSql(kIncome), {month});
    session.execSql(kStageProfitCreditSql, {centsToDouble(income)});
    session.execSql(kStageProfitDebitSql, {centsToDouble(expense)});
    session.execSql(stageSql(kExpense), {month});
    session.execSql(kDropZeroLinesSql);
}

// How a closing ended inside its transaction; the message follows the commit
// or the rollback.
enum class Closing {
    AlreadyClosed,
    NothingToTransfer,
    Transferred,
    NumberExhausted,
    TooManyLines,
    NotDetailAccount,
};

} // namespace

OpResult CloseMonth(Session &session, const QDate &workingDate, const QString &reviewer, Dialogs &dialogs,
                    ClosingResult *result)
{
    if (!workingDate.isValid() || workingDate.year() != session.fiscalYear())
        return refuse(dialogs, u"会计年度不一致"_s, applicationTitle(), Icon::None);
    if (reviewer.isEmpty())
        return refuse(dialogs, u"审核不能为空"_s, kNoticeTitle, Icon::Critical);

    const int month = workingDate.month();
    const QDate lastDay(workingDate.year(), month, workingDate.daysInMonth());
    ClosingResult closing;
    closing.month = month;
    Closing outcome = Closing::AlreadyClosed;
    QString offChartCode;
    bool offChartMissing = false;

    const OpResult run = guarded(dialogs, [&] {
        Transaction transaction(session);
        const ResultSet state = session.RunSql(kMonthStateSql, {month});
        if (isClosedMark(state.value(0, 1)))
            return OpResult::refused();
        const int number = state.value(0, 0).toInt() + 1;

        stageTransferLines(session, month);
        // The transfer posts only to detail accounts: 3103 with sub-accounts
        // added under it is a parent and must not take the lines.
        const ResultSet offChart = session.RunSql(kStagedOffChartSql);
        if (!offChart.eof()) {
            outcome = Closing::NotDetailAccount;
            offChartCode = offChart.value(0, 0).toString();
            offChartMissing = offChart.value(0, 1).isNull();
            return OpResult::refused();
        }
        session.execSql(kMarkMonthClosedSql, {month});

        const ResultSet staged = session.RunSql(kStagedLinesSql);
        const int lines = staged.value(0, 0).toInt();
        if (lines == 0) {
            outcome = Closing::NothingToTransfer;
            logOperation(session, u"结帐"_s, month, u"没有结转凭证"_s);
            transaction.commit();
            return OpResult::done();
        }
        if (number > kMaxVoucherNumber) {
            outcome = Closing::NumberExhausted;
            return OpResult::refused();
        }
        if (lines > kMaxVoucherLines) {
            outcome = Closing::TooManyLines;
            return OpResult::refused();
        }
        const qint64 idBase = kLineIdBase + month * kMonthStep + number * kNumberStep;
        session.execSql(kNumberStagedLinesSql,
                        {idBase, lastDay, month, number, reviewer, session.operatorName()});
        session.execSql(kAppendVoucherSql);
        logVouchers(session, u"结帐"_s, month, number, number);
        transaction.commit();
        outcome = Closing::Transferred;
        closing.voucherNumber = number;
        closing.lines = lines;
        return OpResult::done();
    });
    if (run.isFailed())
        return run;
    if (result)
        *result = closing;

    const QString monthText = QString::number(month);
    switch (outcome) {
    case Closing::AlreadyClosed:
        return refuse(dialogs, monthText + u"  月份已结帐,请先进行反结帐"_s, kNoticeTitle, Icon::Exclamation);
    case Closing::NumberExhausted:
        return refuse(dialogs, monthText + u"  月份凭证号已到%1,不能生成结转凭证,没有结帐"_s.arg(kMaxVoucherNumber),
                      kNoticeTitle, Icon::Exclamation);
    case Closing::TooManyLines:
        return refuse(dialogs, monthText + u"  月份结转凭证超过%1行,不能生成,没有结帐"_s.arg(kMaxVoucherLines),
                      kNoticeTitle, Icon::Exclamation);
    case Closing::NotDetailAccount:
        return refuse(dialogs,
                      (offChartMissing ? noSuchChartAccountText(offChartCode)
                                       : notDetailAccountText(offChartCode, u"不能生成结转凭证"_s))
                          + u",没有结帐"_s,
                      kNoticeTitle, Icon::Exclamation);
    case Closing::NothingToTransfer:
        dialogs.show(u"没有要结转的数据,没有生成凭证"_s, kClosedTitle, Icon::Exclamation);
        return OpResult::done();
    case Closing::Transferred:
        break;
    }
    dialogs.show(u"收入/费用已成功结转！并自动生成最后一张凭证"_s, kClosedTitle, Icon::Information);
    return OpResult::done();
}

OpResult ReopenMonth(Session &session, int month, Dialogs &dialogs, qint64 *removedLines)
{
    if (removedLines)
        *removedLines = 0;
    const QString monthText = QString::number(month);
    qint64 removed = 0;
    // Checked again under the write lock: another program may have reopened
    // the month while the question was open.
    const OpResult run = checkAskWrite(
        session, dialogs,
        [&]() -> std::optional<PendingRefusal> {
            if (isClosedMark(session.RunSql(kClosingMarkSql, {month}).value(0, 0)))
                return std::nullopt;
            return PendingRefusal{monthText + u"  月份未结帐"_s, kNoticeTitle, Icon::Exclamation};
        },
        [&] { return dialogs.ask(u"是否进行反结帐?("_s + monthText + u"月份)"_s, kNoticeTitle); },
        [&] {
            // Vouchers posted behind the transfer voucher (a closed December
            // takes postings) move down as a deletion moves them, so the
            // month stays numbered without a gap. Highest number first, so
            // each shift only moves vouchers that stay.
            const ResultSet transfers = session.RunSql(kTransferNumbersSql, {month});
            removed = session.execSql(kDeleteTransferSql, {month});
            session.execSql(kDeleteStagedTransferSql, {month});
            for (qsizetype r = 0; r < transfers.recordCount(); ++r) {
                const int number = transfers.value(r, 0).toInt();
                shiftVouchers(session, month, number, -1);
                session.execSql(kShiftStagedDownSql, {number, month});
                logDeletion(session, u"反结帐"_s, month, number);
            }
            if (transfers.eof())
                logOperation(session, u"反结帐"_s, month, u"没有结转凭证"_s);
            session.execSql(kClearMarksSql, {month});
        });
    if (!run.isDone())
        return run;
    if (removedLines)
        *removedLines = removed;
    dialogs.show(u"已反结成功"_s, kNoticeTitle, Icon::Information);
    return OpResult::done();
}

} // namespace tz
