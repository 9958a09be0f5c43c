// Small helpers of the ledger tests: journal lines written directly (so a
// test controls IDs, NULLs and quantities exactly) and work-table rows
// rendered as "a|b|c" text, NULL as an empty field, numbers as their
// shortest text.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include "store/money.h"
#include "store/resultset.h"
#include "store/session.h"

namespace tz::test {

// A journal line of voucher `number` in `month` (0 = opening line with
// sequence `line`), fiscal year 2024.
struct Line
{
    int month;
    int number;
    int line;
    QString code;
    QVariant debit;
    QVariant credit;
    QVariant quantity = {};
    QString summary = QStringLiteral("业务");
};

inline qlonglong lineId(const Line &l)
{
    return 8'000'000'000LL + l.month * 10'000'000LL + l.number * 1'000LL + l.line;
}

inline void postLine(Session &s, const Line &l)
{
    const bool opening = l.month == 0;
    s.execSql(QStringLiteral("INSERT INTO 分录表 (ID, 日期, 月, 字号, 号码, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
              {opening ? 8'000'000'000LL + l.line : lineId(l),
               opening ? QVariant() : QVariant(QStringLiteral("2024-%1-15").arg(l.month, 2, 10, QLatin1Char('0'))),
               opening ? QVariant() : QVariant(l.month), opening ? QVariant() : QVariant(QStringLiteral("记")),
               opening ? QVariant() : QVariant(l.number), opening ? QStringLiteral("年初余额") : l.summary, l.code,
               l.quantity, l.debit, l.credit});
}

inline void postLines(Session &s, const QList<Line> &lines)
{
    for (const Line &l : lines)
        postLine(s, l);
}

// A cell as the command line prints it: NULL empty, numbers in their
// shortest form.
inline QString cellText(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return shortestText(value.toDouble());
    return value.toString();
}

// Each row as its cells joined by '|'.
inline QStringList rowTexts(const ResultSet &rows)
{
    QStringList out;
    for (const ResultSet::Row &row : rows.rows()) {
        QStringList cells;
        for (const QVariant &v : row)
            cells.append(cellText(v));
        out.append(cells.join(u'|'));
    }
    return out;
}

// Rows of a query as "a|b|c".
inline QStringList table(Session &s, const QString &sql, const QVariantList &params = {})
{
    return rowTexts(s.RunSql(sql, params));
}

} // namespace tz::test
