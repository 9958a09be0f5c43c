// Materialised query results.
#include "store/resultset.h"

#include "store/dberror.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

ResultSet::ResultSet(QStringList columns, QList<Row> rows)
    : m_columns(std::move(columns))
    , m_rows(std::move(rows))
{
}

void ResultSet::moveNext()
{
    if (m_pos < m_rows.size())
        ++m_pos;
}

QVariant ResultSet::field(int ordinal) const
{
    return value(int(m_pos), ordinal);
}

QVariant ResultSet::field(const QString &name) const
{
    return value(int(m_pos), requireColumn(name));
}

QVariant ResultSet::value(int row, int ordinal) const
{
    if (row < 0 || row >= m_rows.size())
        throw DbError(DbError::Kind::Statement, u"结果集中没有当前记录"_s);
    if (ordinal < 0 || ordinal >= m_columns.size())
        throw DbError(DbError::Kind::Statement, u"结果集中没有第 %1 列"_s.arg(ordinal));
    return m_rows.at(row).at(ordinal);
}

QVariant ResultSet::value(int row, const QString &name) const
{
    return value(row, requireColumn(name));
}

int ResultSet::columnIndex(const QString &name) const
{
    const int exact = int(m_columns.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int ResultSet::requireColumn(const QString &name) const
{
    const int index = columnIndex(name);
    if (index < 0)
        throw DbError(DbError::Kind::Statement, u"结果集中没有列: %1"_s.arg(name));
    return index;
}

} // namespace tz
