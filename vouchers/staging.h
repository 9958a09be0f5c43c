// The voucher on view: navigation through a month's vouchers and the
// staging table 分录始表 that holds the fetched voucher. Every step empties
// 分录始表 first (so it is empty after a refused step), copies the wanted
// voucher's lines from 分录表 into it, and reads it back as plain values.
// Modify and delete act only on the voucher staged here.
#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "store/operation.h"
#include "vouchers/voucherline.h"

namespace tz {

// A voucher read from 分录始表: the header of its first line (preparer is
// the stored 制单) and one line per staged row in ID order.
struct LoadedVoucher
{
    VoucherHeader header;
    QList<VoucherLine> lines;

    bool operator==(const LoadedVoucher &) const = default;
};

// What the window shows after a step.
struct NavigationResult
{
    QString numberText;                   // the number box (Text4)
    std::optional<LoadedVoucher> voucher; // the voucher now on view; none: header and grid stay as they were
};

// Reads the voucher held in 分录始表 (loadStagedVoucher). Each line's
// account cell is the code, one blank and the account's full name; a line
// whose account is missing from 科目表 shows the bare code (it is still
// part of the voucher, and a modify rewrites it). Amounts come with their
// stored values behind them (VoucherLine::Stored), quantities as stored.
// With nothing staged: numberText + " 号凭证没有数据,注意凭证号"
// (exclamation, "TZ305提示"), refused, numberText unchanged.
OpResult LoadStagedVoucher(Session &session, const QString &numberText, NavigationResult &result, Dialogs &dialogs);

// Stages voucher `number` of `month` and loads it; the number box then
// reads `number` (or the staged 号码). Refused as LoadStagedVoucher when the
// month has no such voucher.
OpResult FetchVoucher(Session &session, int month, int number, NavigationResult &result, Dialogs &dialogs);

// 首条: voucher 1 of the month. The box keeps numberText until a voucher loads.
OpResult FirstVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                      Dialogs &dialogs);

// 上一: the voucher before the box's number. Refuses a blank box
// ("号码不能为空!!") and a number of 1 or less ("已经是第一张了!!"), both
// critical, "TZ305提示".
OpResult PreviousVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                         Dialogs &dialogs);

// 下一: the voucher after the box's number. Refuses a blank box
// ("号码不能为空!!"); past the month's largest number says "已经是最后一条了"
// (title "TZ305", no icon) and puts that largest number in the box.
OpResult NextVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                     Dialogs &dialogs);

// 末条: the month's last voucher. On an empty month the "没有数据" message
// quotes numberText, the box's old content.
OpResult LastVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                     Dialogs &dialogs);

// The click on "凭证号:": the month's largest number + 1, or 1 for an empty month.
OpResult NextVoucherNumber(Session &session, int month, int &number, Dialogs &dialogs);

} // namespace tz
