// Small builders shared by the posting and staging tests: voucher lines,
// headers in the fiscal year 2024, and the journal read back as rows.
#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QVariant>

#include "store/money.h"
#include "store/session.h"
#include "tests/support/printers.h"
#include "tests/support/scripteddialogs.h"
#include "vouchers/voucherline.h"

namespace tz::test {

inline VoucherLine debitLine(const QString &summary, const QString &account, Cents debit)
{
    VoucherLine line;
    line.summary = summary;
    line.account = account;
    line.debit = debit;
    return line;
}

inline VoucherLine creditLine(const QString &summary, const QString &account, Cents credit)
{
    VoucherLine line;
    line.summary = summary;
    line.account = account;
    line.credit = credit;
    return line;
}

// Cash debit against receivables credit, both of `cents`.
inline QList<VoucherLine> twoLines(const QString &summary, Cents cents)
{
    return {debitLine(summary, QStringLiteral("1001 库存现金"), cents), creditLine(QString(), QStringLiteral("1122 应收账款"), cents)};
}

inline VoucherHeader headerOf(int month, int number, const QString &reviewer = QStringLiteral("会计"))
{
    VoucherHeader header;
    header.date = QDate(2024, month, 15);
    header.word = QStringLiteral("记");
    header.number = number;
    header.attachments = 1;
    header.reviewer = reviewer;
    return header;
}

// The ID a line must carry.
inline qlonglong idOf(int month, int number, int line)
{
    return 8'000'000'000LL + month * 10'000'000LL + number * 1'000LL + line;
}

// Rows of a query as lists of values.
inline QList<QVariantList> rowsOf(Session &session, const QString &sql, const QVariantList &params = {})
{
    return session.RunSql(sql, params).rows();
}

inline qlonglong countOf(Session &session, const QString &sql, const QVariantList &params = {})
{
    return session.RunSql(sql, params).value(0, 0).toLongLong();
}

// (ID, 号码, 摘要说明) of a month in ID order: enough to see numbering.
inline QList<QVariantList> monthIds(Session &session, int month)
{
    return rowsOf(session, QStringLiteral("SELECT ID, 号码, 摘要说明 FROM 分录表 WHERE 月 = ? ORDER BY ID"), {month});
}

inline const Message &savedMessage()
{
    static const Message m{QStringLiteral("凭证保存成功"), QStringLiteral("TZ305系统"), Icon::Information};
    return m;
}

} // namespace tz::test
