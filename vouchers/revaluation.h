// Period-end FX revaluation (期末调汇 of the voucher window). The books keep
// no foreign-currency column: for accounts flagged 调汇 = 'Y' the journal's
// 数量 holds the foreign amount. The work table 调汇 holds one row per
// flagged account with a balance up to the working month; the operator
// types a rate per row, the revalued amount and the difference follow, and
// one voucher posts the differences against a profit-and-loss account
// through SaveNextVoucher, as a keyed voucher is posted.
#pragma once

#include <optional>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "store/money.h"
#include "store/operation.h"
#include "vouchers/posting.h"
#include "vouchers/voucherline.h"

namespace tz {

// One row of 调汇.
struct RevaluationRow
{
    QString code;                    // 科目代码
    QString name;                    // 科目全称
    std::optional<double> foreign;   // 数量: the foreign balance
    Cents book = 0;                  // 调整前金额: debit minus credit
    std::optional<double> rate;      // 汇率
    std::optional<Cents> revalued;   // 调整后金额 = 数量 × 汇率
    std::optional<Cents> difference; // 损益 = 调整前金额 − 调整后金额
};

// The summary of the generated voucher, which also marks a month revalued.
inline constexpr char16_t kRevaluationSummary[] = u"调整汇兑损益 ";

// Start for working month `month`, in one transaction: refused when the
// month is closed (m + "  月份已结帐,请先进行反结帐", exclamation,
// "TZ305提示") or already has a revaluation voucher
// ("本月已调汇,请删除调汇凭证再进行调汇", exclamation, "TZ305"); then 调汇
// is emptied and filled with the flagged accounts whose foreign or book
// balance over the opening lines and months 1..m is not zero. None:
// "没有数据,调汇标志是否已设置为'Y'" (no icon, "TZ305").
OpResult StartRevaluation(Session &session, int month, Dialogs &dialogs);

// The rows of 调汇 in account order. Throws DbError when the set fails.
QList<RevaluationRow> ReadRevaluation(Session &session);

// The accounts a revaluation posts against: the profit-and-loss (class 5)
// detail accounts, each as code, one blank and full name, in code order.
// Throws DbError when the set fails.
QStringList RevaluationCounterAccounts(Session &session);

// What the operator typed into one row of 调汇; a value not given keeps
// the stored one.
struct RevaluationInput
{
    std::optional<double> foreign; // 数量
    std::optional<Cents> book;     // 调整前金额
    std::optional<double> rate;    // 汇率
};

// 调汇: stores the values given by account code (a code not in 调汇 is
// ignored) and recomputes 调整后金额 = 数量 × 汇率 (数量 NULL counting as 0)
// and 损益 = 调整前金额 − 调整后金额, rounded half up to the cent, of every
// row; a row without a rate has neither. One transaction: a refusal stores
// nothing. Refused ("TZ305提示", critical), in account order:
//  - a rate that is not a finite number above 0:
//    code + "  汇率必须是大于0的数: " + rate;
//  - an amount beyond 999999999999.99, as a typed amount is refused:
//    code + "  调整后金额太大,最多为999999999999.99: " + amount, the same
//    with 损益, and "损益合计太大,..." for the sum the voucher posts;
//  - a rate so small that a foreign balance other than 0 is worth 0.00:
//    code + "  汇率太小,调整后金额为0: " + rate.
// An empty table: "没有数据" (no icon, "TZ305").
OpResult RecomputeRevaluation(Session &session, const QHash<QString, RevaluationInput> &inputs, Dialogs &dialogs);
// The same with rates alone.
OpResult RecomputeRevaluation(Session &session, const QHash<QString, double> &rates, Dialogs &dialogs);

// 生成分录: refused without a profit-and-loss account
// ("请选择对应损益类科目", exclamation, "TZ305"), with one that is not among
// RevaluationCounterAccounts (code + "  不是损益类明细科目,请选择对应损益类科目",
// exclamation, "TZ305"), while a row has no rate
// (code + "  没有汇率,请先输入汇率并点[调汇]", exclamation, "TZ305"), and
// when every difference is zero ("没有汇兑损益,不需要生成分录", no icon,
// "TZ305"). Asks "是否按此金额进行调汇?  若要打印请先导出EXCEL,可以重复操作"
// ("TZ305提示"; No ends silently). The voucher: first `against` debited
// with the sum of the differences (no line when they cancel out), then each
// account with a difference credited with it (a gain is a negative amount on the same side), every
// line with the summary "调整汇兑损益 " and 附件 1; posted by
// SaveNextVoucher with `header` (date, word, reviewer), so it takes the
// month's next number, the posting checks and their messages. Then
// "凭证保存成功,请检查凭证是否正确!!" (information, "TZ305提示").
OpResult PostRevaluation(Session &session, const VoucherHeader &header, const QString &against,
                         PostingOutcome &outcome, Dialogs &dialogs);

} // namespace tz
