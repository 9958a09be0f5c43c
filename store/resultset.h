// A materialised query result: column names and rows, with a cursor that
// offers record count, end-of-file test, move-first and move-next, and field
// access by name or by ordinal. NULL columns are null QVariants.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tz {

class ResultSet
{
public:
    using Row = QList<QVariant>;

    ResultSet() = default;
    ResultSet(QStringList columns, QList<Row> rows);

    int recordCount() const { return int(m_rows.size()); }
    int columnCount() const { return int(m_columns.size()); }
    const QStringList &columnNames() const { return m_columns; }
    const QList<Row> &rows() const { return m_rows; }

    // Cursor.
    bool eof() const { return m_pos >= m_rows.size(); }
    void moveFirst() { m_pos = 0; }
    void moveNext();
    int position() const { return int(m_pos); }

    // Fields of the current row; a name that is no column throws DbError.
    QVariant field(int ordinal) const;
    QVariant field(const QString &name) const;
    QString text(const QString &name) const { return field(name).toString(); }
    bool isNull(const QString &name) const { return field(name).isNull(); }

    // Random access, independent of the cursor.
    QVariant value(int row, int ordinal) const;
    QVariant value(int row, const QString &name) const;

    // Ordinal of a column, or -1. Names compare exactly first, then ignoring case.
    int columnIndex(const QString &name) const;

private:
    int requireColumn(const QString &name) const;

    QStringList m_columns;
    QList<Row> m_rows;
    qsizetype m_pos = 0;
};

} // namespace tz
