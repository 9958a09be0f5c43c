// Journal writes of posting.
#include "vouchers/postingwrites.h"

#include <stdexcept>

#include <QVariant>

#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kInsertLineSql =
    u"INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, 数量, 借方金额, "
    "贷方金额, 流代, 流金) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s;
const QString kDeleteVoucherSql = u"DELETE FROM 分录表 WHERE 月 = ? AND 号码 = ?"_s;
const QString kShiftSql = u"UPDATE 分录表 SET ID = ID + ? * 1000, 号码 = 号码 + ? WHERE 号码 >= ? AND 月 = ?"_s;

QVariant valueOf(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}

} // namespace

void writeEntryLines(Session &session, const VoucherHeader &header, const QString &preparer,
                     const QList<EntryLine> &entries)
{
    const int month = header.month();
    const QString date = header.date.toString(u"yyyy-MM-dd"_s);
    for (const EntryLine &entry : entries) {
        const std::optional<qint64> id = entryLineId(month, header.number, entry.line);
        if (!id)
            throw std::out_of_range("voucher line outside the ID scheme");
        session.execSql(kInsertLineSql,
                        {qlonglong(*id), date, month, header.word, header.number, preparer, header.reviewer,
                         header.attachments, entry.summary, entry.code, valueOf(entry.quantity),
                         valueOf(entry.debit), valueOf(entry.credit), entry.flowCode, valueOf(entry.flowAmount)});
    }
}

void deleteVoucherLines(Session &session, int month, int number)
{
    session.execSql(kDeleteVoucherSql, {month, number});
}

void shiftVouchers(Session &session, int month, int from, int step)
{
    session.execSql(kShiftSql, {step, step, from, month});
}

} // namespace tz
