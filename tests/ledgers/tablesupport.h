// Shared by the table tests: journal lines written directly by their IDs
// (as posted vouchers and loaded opening balances would be); result rows as
// text come from ledgersupport.h.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "store/changelog.h"
#include "store/session.h"
#include "tests/ledgers/ledgersupport.h"

namespace tz::test {

// One journal line by its ID: "800…" an opening line (no month, date,
// word or number, summary 年初余额), "8mmnnnnlll" line lll of voucher nnnn
// of month mm (fiscal year 2024).
struct JournalLine
{
    qint64 id = 0;
    QString code;
    QVariant debit;
    QVariant credit;
    QVariant quantity = {};
    QString summary = {};
    QVariant closingMark = {};
};

inline void postLine(Session &session, const JournalLine &line)
{
    const int month = int(line.id / 10'000'000 % 100);
    if (month == 0) {
        session.execSql(QStringLiteral("INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额) "
                                       "VALUES (?, '年初余额', ?, ?, ?, ?)"),
                        {line.id, line.code, line.quantity, line.debit, line.credit});
        return;
    }
    session.execSql(QStringLiteral("INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 制单, 审核, 附件, 摘要说明, 科目代码, "
                                   "数量, 借方金额, 贷方金额, 结帐) VALUES (?, ?, ?, '记', ?, '出纳', '主管', 1, ?, ?, "
                                   "?, ?, ?, ?)"),
                    {line.id, QDate(2024, month, 10), month, int(line.id / 1000 % 10'000),
                     line.summary.isEmpty() ? QStringLiteral("业务") : line.summary, line.code, line.quantity,
                     line.debit, line.credit, line.closingMark});
}

// The lines, then the trail of changes recorded over the books as they
// now stand, as posting would have left it.
inline void postLines(Session &session, const QList<JournalLine> &lines)
{
    for (const JournalLine &line : lines)
        postLine(session, line);
    logAllVouchers(session, QStringLiteral("记帐"));
}

} // namespace tz::test
