// Rows of a query read as they are shown. The order of the rows is read
// once, as their rowids (eight bytes a row); a row's values are read by its
// rowid when first asked for, a block of rows at a time, and only the last
// few blocks are kept. A grid over the whole year's journal holds the
// year's order and a few screens of rows, never the year itself. Rows that
// are computed rather than stored (a ledger's) come the same way from a
// block reader.
#pragma once

#include <deque>
#include <functional>

#include <QList>
#include <QStringList>
#include <QVariantList>

#include "store/resultset.h"

namespace tz {

class Session;

class PagedRows
{
public:
    PagedRows() = default;
    // `orderSql` selects one integer column: the rowids in display order.
    // `rowSql` selects the shown columns of the row whose rowid is bound as
    // ?1. Both run now in one read transaction; the rows themselves are read
    // when asked for.
    PagedRows(Session &session, const QString &orderSql, const QVariantList &params, const QString &rowSql);
    // `count` rows of the columns `columns`, rows first .. first + n - 1
    // given by `read(first, n)` when asked for (a short answer is padded
    // with empty rows).
    using BlockReader = std::function<QList<ResultSet::Row>(int first, int n)>;
    PagedRows(const QStringList &columns, int count, BlockReader read);

    int count() const { return m_count; }
    const QStringList &columnNames() const { return m_columns; }

    // The values of row `row` (0-based), read with its block when it is not
    // kept. A row deleted since the order was read shows empty.
    const ResultSet::Row &row(int row) const;

    // Every row at once, for a caller that wants them all (tests, exports).
    ResultSet readAll() const;

private:
    struct Block
    {
        int first = 0;
        QList<ResultSet::Row> rows;
    };
    const Block &block(int index) const;

    BlockReader m_read;
    int m_count = 0;
    QStringList m_columns;
    mutable std::deque<Block> m_blocks; // the most recently read last
};

} // namespace tz
