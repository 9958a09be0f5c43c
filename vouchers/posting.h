// Posting a voucher: the four operations behind 保存记录, 修改, 插入 and
// 删除 of the voucher window. They keep the vouchers of a month numbered
// 1..k without gaps; every line's ID is "8" + month + number + line (see
// entrylines.h), and renumbering moves ID and 号码 together in one UPDATE.
//
// The checks each operation makes, in its order, and their messages (title
// "TZ305提示" and critical unless named; the first failing check is the
// only message and nothing is written):
//   会计年度不一致 (title "TZ305", no icon): the date's year is not the fiscal year;
//   凭证号,审核不能为空: number below 1 or no reviewer;
//   m + "  月份已结帐,请先进行反结帐" (exclamation): month m closed, m not 12;
//   save:   凭证号不连续，请点[凭证号]进行自动取号: number is not the month's largest + 1;
//   modify: 不能修改凭证,号码出错; insert: 此号码不在原凭证内,不能插入凭证;
//   delete: 此号码没有内容: number above the month's largest;
//   本月凭证已有9999张,不能再保存凭证 / 不能再插入凭证: the month is full;
//   没有数据: 分录始表 holds no voucher (modify, delete);
//   不能修改凭证,要查询出来的号码才能修改 / 不能删除凭证,要查询出来的号码才能删除:
//       the staged voucher is not voucher n of this month;
//   第一行摘要不能为空: the first row has no summary;
//   借贷不平! (exclamation): the lines written do not balance to the cent;
//   没有要保存的数据！ (title "提示窗口", no icon): fewer than two lines;
//   一张凭证最多999行,此凭证有N行: too many lines;
//   code + "  科目代码只能是数字": a written code that is not all digits;
//   code + "  此科目不存在" / code + "  不是明细科目,不能录入凭证" (exclamation):
//       a written code the chart lacks, or a parent account.
// Save:   year, number/reviewer, month, save number, limit, summary, balance, two lines, line limit, codes, chart.
// Modify: year, number/reviewer, month, modify number, staged, staged number, summary, balance, two
//         lines, line limit, codes, chart.
// Insert: year, number/reviewer, month, insert number, limit, summary, balance, two lines, line limit, codes, chart.
// Delete: number/reviewer, month, delete number, summary, staged, staged number.
//
// Each operation makes its checks and writes in one BEGIN IMMEDIATE
// transaction (modify, insert and delete also check once before their
// question) and speaks after the commit; the window then refreshes (blank
// grid) and shows nextNumber. Another program holding the lock past the
// wait gets the Busy message and writes nothing.
#pragma once

#include <optional>

#include <QList>

#include "store/operation.h"
#include "vouchers/voucherline.h"

namespace tz {

// What a posting operation leaves for the window.
struct PostingOutcome
{
    // The number box (Text4) after success: save n + 1, modify max + 1,
    // insert max + 2, delete max (max as read before the operation).
    std::optional<int> nextNumber;
    // Save refused the number as not following the month's largest: the
    // window shades the label "凭证号:" to prompt a click for the next one.
    bool numberNotConsecutive = false;
    int linesWritten = 0;
    int number = 0; // the voucher number written
};

// 保存记录: adds the voucher as number header.number of month
// header.month(), which must be the month's largest + 1. Writes one 分录表
// line per grid row before the first row without an account, 制单 the
// session's operator. Then "凭证保存成功" (information, "TZ305系统").
OpResult SaveVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                     PostingOutcome &outcome, Dialogs &dialogs);

// What a posting says after its commit when its caller words it (a
// generated voucher asks the user to look it over); the icon is information.
struct PostingNotice
{
    QString text;
    QString title;
    // The operation's name in the trail of changes (保存 when empty).
    QString operation;
};

// 保存记录 as the next number of the month: the number is the month's
// largest + 1 read inside the write transaction, so a program saving into
// the same month at the same time never makes it stale (the command line
// saves this way when no number is given). Otherwise as SaveVoucher;
// header.number is ignored and the number taken is outcome.number. `done`,
// when given, replaces the "凭证保存成功" notice.
OpResult SaveNextVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                         PostingOutcome &outcome, Dialogs &dialogs,
                         const std::optional<PostingNotice> &done = std::nullopt);

// 修改: replaces the lines of voucher n, which must be the voucher staged
// in 分录始表 (fetched by navigation) of the same month. Asks
// "真要修改此张凭证吗?(n号凭证)" ("TZ305提示"; No ends silently), deletes
// the voucher's lines and writes the grid's. Then "凭证修改成功".
OpResult ModifyVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                       PostingOutcome &outcome, Dialogs &dialogs);

// 插入: writes the grid as voucher n of the month and moves vouchers n and
// above one number up (ID + 1000, 号码 + 1). Asks
// "真要插入此张凭证吗?原来的n号凭证及以后的号码会自动增号". Then "凭证插入成功".
OpResult InsertVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                       PostingOutcome &outcome, Dialogs &dialogs);

// 删除: deletes voucher n, which must be the staged voucher of the same
// month, and moves the vouchers above it one number down (ID - 1000,
// 号码 - 1). Only the first row's summary of `lines` is looked at; the date
// gives the month and its year is not checked. Asks
// "真要删除此张凭证吗?(n号凭证),以后的号码会自动减号)". Then "凭证删除成功".
OpResult DeleteVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                       PostingOutcome &outcome, Dialogs &dialogs);

} // namespace tz
