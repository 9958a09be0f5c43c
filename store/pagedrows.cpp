// Rows read a block at a time by rowid.
#include "store/pagedrows.h"

#include "store/connection.h"
#include "store/session.h"
#include "store/transaction.h"

namespace tz {

namespace {

// A screen shows some forty rows; a block of 200 serves a few screens of
// scrolling with one short read transaction, and eight blocks bound what a
// grid keeps whatever the size of the result.
constexpr int kBlockRows = 200;
constexpr size_t kKeptBlocks = 8;

} // namespace

PagedRows::PagedRows(Session &session, const QString &orderSql, const QVariantList &params, const QString &rowSql)
{
    Transaction read(session, Transaction::Mode::Read);
    const QList<qint64> rowids = session.mainConnection().queryIntegers(orderSql, params);
    // The column names come from the statement, also when no row matches.
    m_columns = session.RunSql(rowSql, {rowids.isEmpty() ? qint64(-1) : rowids.first()}).columnNames();
    read.commit();
    m_count = int(rowids.size());
    m_read = [session = &session, rowSql, rowids](int first, int n) {
        QList<ResultSet::Row> rows;
        rows.reserve(n);
        Transaction read(*session, Transaction::Mode::Read);
        for (int r = first; r < first + n; ++r) {
            ResultSet one = session->RunSql(rowSql, {rowids.at(r)});
            rows.append(one.recordCount() > 0 ? one.rows().first() : ResultSet::Row());
        }
        read.commit();
        return rows;
    };
}

PagedRows::PagedRows(const QStringList &columns, int count, BlockReader read)
    : m_read(std::move(read))
    , m_count(count)
    , m_columns(columns)
{
}

const PagedRows::Block &PagedRows::block(int index) const
{
    const int first = index * kBlockRows;
    for (auto it = m_blocks.begin(); it != m_blocks.end(); ++it) {
        if (it->first == first) {
            // Most recently used last, so that scrolling back and forth keeps
            // the blocks on screen.
            if (std::next(it) != m_blocks.end()) {
                Block kept = std::move(*it);
                m_blocks.erase(it);
                m_blocks.push_back(std::move(kept));
            }
            return m_blocks.back();
        }
    }
    Block fresh;
    fresh.first = first;
    const int n = std::min(count(), first + kBlockRows) - first;
    fresh.rows = m_read(first, n);
    fresh.rows.resize(n);
    for (ResultSet::Row &row : fresh.rows)
        row.resize(m_columns.size());
    if (m_blocks.size() >= kKeptBlocks)
        m_blocks.pop_front();
    m_blocks.push_back(std::move(fresh));
    return m_blocks.back();
}

const ResultSet::Row &PagedRows::row(int row) const
{
    const Block &b = block(row / kBlockRows);
    return b.rows.at(row - b.first);
}

ResultSet PagedRows::readAll() const
{
    QList<ResultSet::Row> rows;
    rows.reserve(count());
    for (int r = 0; r < count(); ++r)
        rows.append(row(r));
    return ResultSet(m_columns, std::move(rows));
}

} // namespace tz
