// Voucher printing (凭证打印): a posted voucher laid out into pages of a
// fixed number of lines on one of two preprinted forms, through the staging
// table 分录始表, and the window's saved settings.
#pragma once

#include <QString>
#include <QStringList>

#include "printing/pagelayout.h"
#include "store/opresult.h"

namespace tz {

class Dialogs;
class Progress;
class Session;

enum class VoucherForm {
    Small, // 凭证打印: 21×11 cm
    Large, // 大凭证打印: 25×12 cm
};

struct VoucherPrintSettings
{
    VoucherForm form = VoucherForm::Small;
    int linesPerPage = 6;
    double leftCm = 1;
    double topCm = 1;
    QString chiefAccountant; // after "会计主管: "
    QString bookkeeper;      // after "记帐: "
};

// The window's saved texts of 左边CM, 上边CM and 凭证行数 (sections text3,
// text4, text5, key TZPZ0; 1, 1 and 6 until they are saved) and the names
// of 主管 and 记帐 (sections combo2, combo3), kept per user in the
// program's settings file.
struct SavedVoucherSettings
{
    QString leftCm;
    QString topCm;
    QString lines;
    QString chiefAccountant;
    QString bookkeeper;
};
SavedVoucherSettings loadVoucherSettings();
// Saves them and says "保存OK" (no icon, "TZ305").
OpResult SaveVoucherSettings(const SavedVoucherSettings &saved, Dialogs &dialogs);

// Every operator name of 信息表, for the signer boxes.
OpResult ReadOperatorNames(Session &session, QStringList &names, Dialogs &dialogs);

// The month's largest voucher number, 1 when the month has none.
OpResult LargestVoucherNumber(Session &session, int month, int &number, Dialogs &dialogs);

// Lays out voucher `number` of `month` (the texts of 月份 and the number
// box). Refuses, in order: lines per page or number below 1 "请设置凭证的行数
// (号码为空?)" (no icon, "TZ305"); no month "月份或号码不能为空" (no icon,
// "TZ305"); more lines than a page of the form holds with its margins
// (maxVoucherLines) "凭证行数太多: 21*11CM的凭证上边1CM时每页最多16行,请减少
// 凭证行数", or with no room for one line "上边CM太大: …时放不下一行,请减小上边
// CM" (critical, "TZ305提示"); a number without lines "本月没有第N号凭证"
// (exclamation, "TZ305"). Writes the staging rows in one transaction:
// 分录始表 emptied, one row per line with 科目全称 code "." full name, 顺序
// the line's rank within the voucher, blank rows with the following ranks
// filling the last page, and 月 the page of each row. Every page carries the whole voucher's
// totals and "(page/pages)" after the number.
OpResult LayOutVoucher(Session &session, const QString &month, const QString &number,
                       const VoucherPrintSettings &settings, Document &doc, Dialogs &dialogs);

// Continuous printing of vouchers `from` to `to` of `month`, each laid out
// as LayOutVoucher does and appended to `doc`. Refuses: lines below 1
// "请设置凭证的行数" (no icon, "TZ305"); more lines than the form holds as
// LayOutVoucher does; `to` beyond the month's largest number "最大号码错误",
// `to` below `from` "号码要前小后大" (exclamation, "TZ305"). With `askFirst` (printing on paper) asks "是否进行连续打印凭证？"
// ("TZ305") first; No ends silently. `progress` may cancel between vouchers.
OpResult LayOutVoucherRange(Session &session, int month, int from, int to, const VoucherPrintSettings &settings,
                            bool askFirst, Document &doc, Dialogs &dialogs, Progress *progress = nullptr);

} // namespace tz
