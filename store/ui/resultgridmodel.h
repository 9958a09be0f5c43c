// The query window's result grid MSH1 as a model: the rows of a work table
// (or of a query over it) behind a row-number column "序号", each column with
// its display format, rows striped. Only what is on screen is formatted, and
// paged rows are read only as they come on screen, so a ledger of a hundred
// thousand lines or the whole year's journal opens at once and scrolls
// smoothly.
#pragma once

#include <QAbstractTableModel>
#include <QHash>

#include "store/pagedrows.h"
#include "store/resultset.h"

namespace tz {

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultGridModel(QObject *parent = nullptr);

    // Shows `rows`; every column format is dropped.
    void setResult(ResultSet rows);
    // Shows `rows`, reading them as they are shown; every column format is
    // dropped.
    void setPagedResult(PagedRows rows);
    // Empties the grid.
    void clear();
    // Formats grid column `column` (1 for the result's first column) with a
    // display format of formatValue; an empty format shows plain text.
    void setColumnFormat(int column, const QString &format);
    // Heads column `column` with `caption` instead of the stored column
    // name (work tables keep internal names such as 借方金额1).
    void setHeaderCaption(int column, const QString &caption);

    const QStringList &columnNames() const;
    // The text shown in a cell, as data() gives it.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const ResultSet::Row &row(int row) const;

    ResultSet m_rows;
    PagedRows m_paged;
    bool m_isPaged = false;
    QHash<int, QString> m_formats;
    QHash<int, QString> m_captions;
};

} // namespace tz
