// Voucher navigation and the staging table.
#include "vouchers/staging.h"

#include <QVariant>

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"
#include "store/worktables.h"
#include "vouchers/monthstate.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;

#define TZ_JOURNAL_COLUMNS \
    "ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额, 流代, 流金, " \
    "结帐, 科目全称, 顺序, TZID"

const QString kStageVoucherSql = u"INSERT INTO 分录始表 (" TZ_JOURNAL_COLUMNS ") SELECT " TZ_JOURNAL_COLUMNS
                                 " FROM 分录表 WHERE 月 = ? AND 号码 = ? ORDER BY ID"_s;
const QString kStagedHeaderSql =
    u"SELECT 日期, 字号, 号码, 附件, 制单, 审核 FROM 分录始表 ORDER BY ID LIMIT 1"_s;
// Every staged line, also one whose account is no longer in the chart.
const QString kStagedLinesSql =
    u"SELECT A.摘要说明, A.科目代码, F.科目全称, A.数量, A.借方金额, A.贷方金额, A.流代, A.流金 "
    "FROM 分录始表 AS A LEFT JOIN 科目表 AS F ON F.科目代码 = A.科目代码 ORDER BY A.ID"_s;

#undef TZ_JOURNAL_COLUMNS

std::optional<double> realOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

std::optional<Cents> centsOf(const std::optional<double> &value)
{
    if (!value)
        return std::nullopt;
    return roundToCents(*value);
}

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

VoucherLine stagedLine(const ResultSet::Row &row)
{
    VoucherLine line;
    line.summary = textOf(row.at(0));
    const QString code = textOf(row.at(1));
    line.account = row.at(2).isNull() ? code : code + u' ' + row.at(2).toString();
    line.quantity = realOf(row.at(3));
    const VoucherLine::Stored stored{realOf(row.at(4)), realOf(row.at(5)), realOf(row.at(7))};
    line.debit = centsOf(stored.debit);
    line.credit = centsOf(stored.credit);
    line.flowCode = textOf(row.at(6));
    line.flowAmount = centsOf(stored.flowAmount);
    line.stored = stored;
    return line;
}

// Empties the staging table and, when a number is given, copies that
// voucher of the month into it: one transaction.
void restage(Session &session, int month, std::optional<int> number)
{
    Transaction transaction(session, Transaction::Mode::WorkTables);
    emptyWorkTables(session, {u"分录始表"_s});
    if (number)
        session.execSql(kStageVoucherSql, {month, *number});
    transaction.commit();
}

// Reads the staged voucher; false when nothing is staged.
bool readStaged(Session &session, LoadedVoucher &voucher)
{
    const ResultSet head = session.RunSql(kStagedHeaderSql);
    if (head.eof())
        return false;
    voucher.header.date = QDate::fromString(textOf(head.value(0, 0)).left(10), u"yyyy-MM-dd"_s);
    voucher.header.word = textOf(head.value(0, 1));
    voucher.header.number = head.value(0, 2).toInt();
    voucher.header.attachments = head.value(0, 3).toInt();
    voucher.header.preparer = textOf(head.value(0, 4));
    voucher.header.reviewer = textOf(head.value(0, 5));
    const ResultSet lines = session.RunSql(kStagedLinesSql);
    for (const ResultSet::Row &row : lines.rows())
        voucher.lines.append(stagedLine(row));
    return true;
}

OpResult load(Session &session, NavigationResult &result, Dialogs &dialogs)
{
    LoadedVoucher voucher;
    if (!readStaged(session, voucher)) {
        result.voucher.reset();
        return refuse(dialogs, result.numberText + u" 号凭证没有数据,注意凭证号"_s, kNoticeTitle, Icon::Exclamation);
    }
    result.numberText = QString::number(voucher.header.number);
    result.voucher = voucher;
    return OpResult::done();
}

OpResult stageAndLoad(Session &session, int month, int number, NavigationResult &result, Dialogs &dialogs)
{
    restage(session, month, number);
    return load(session, result, dialogs);
}

// A step from a blank number box: the staging table is left empty and the
// user told so.
OpResult refuseBlankNumber(Session &session, int month, Dialogs &dialogs)
{
    restage(session, month, std::nullopt);
    return refuse(dialogs, u"号码不能为空!!"_s, kNoticeTitle, Icon::Critical);
}

} // namespace

OpResult LoadStagedVoucher(Session &session, const QString &numberText, NavigationResult &result, Dialogs &dialogs)
{
    result = {numberText, std::nullopt};
    return guarded(dialogs, [&] { return load(session, result, dialogs); });
}

OpResult FetchVoucher(Session &session, int month, int number, NavigationResult &result, Dialogs &dialogs)
{
    result = {QString::number(number), std::nullopt};
    return guarded(dialogs, [&] { return stageAndLoad(session, month, number, result, dialogs); });
}

OpResult FirstVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                      Dialogs &dialogs)
{
    result = {numberText, std::nullopt};
    return guarded(dialogs, [&] { return stageAndLoad(session, month, 1, result, dialogs); });
}

OpResult PreviousVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                         Dialogs &dialogs)
{
    result = {numberText, std::nullopt};
    return guarded(dialogs, [&] {
        if (numberText.trimmed().isEmpty())
            return refuseBlankNumber(session, month, dialogs);
        const int current = leadingNumber(numberText);
        if (current <= 1) {
            restage(session, month, std::nullopt);
            return refuse(dialogs, u"已经是第一张了!!"_s, kNoticeTitle, Icon::Critical);
        }
        result.numberText = QString::number(current - 1);
        return stageAndLoad(session, month, current - 1, result, dialogs);
    });
}

OpResult NextVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                     Dialogs &dialogs)
{
    result = {numberText, std::nullopt};
    return guarded(dialogs, [&] {
        // The staging table is emptied and the next voucher staged in one
        // transaction; a refused step leaves it empty.
        if (numberText.trimmed().isEmpty())
            return refuseBlankNumber(session, month, dialogs);
        const int max = readMonthState(session, month).maxNumber;
        const qint64 next = qint64(leadingNumber(numberText)) + 1;
        if (next > max) {
            restage(session, month, std::nullopt);
            result.numberText = QString::number(max);
            return refuse(dialogs, u"已经是最后一条了"_s, applicationTitle(), Icon::None);
        }
        result.numberText = QString::number(next);
        return stageAndLoad(session, month, int(next), result, dialogs);
    });
}

OpResult LastVoucher(Session &session, int month, const QString &numberText, NavigationResult &result,
                     Dialogs &dialogs)
{
    result = {numberText, std::nullopt};
    return guarded(dialogs, [&] {
        const int max = readMonthState(session, month).maxNumber;
        return stageAndLoad(session, month, max, result, dialogs);
    });
}

OpResult NextVoucherNumber(Session &session, int month, int &number, Dialogs &dialogs)
{
    return guarded(dialogs, [&] {
        number = readMonthState(session, month).maxNumber + 1;
        return OpResult::done();
    });
}

} // namespace tz
