// The result grid's model.
#include "store/ui/resultgridmodel.h"

#include "store/dberror.h"
#include "store/numberformat.h"
#include "store/ui/stripegrid.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace

ResultGridModel::ResultGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ResultGridModel::setResult(ResultSet rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_paged = PagedRows();
    m_isPaged = false;
    m_formats.clear();
    m_captions.clear();
    endResetModel();
}

void ResultGridModel::setPagedResult(PagedRows rows)
{
    beginResetModel();
    m_rows = ResultSet();
    m_paged = std::move(rows);
    m_isPaged = true;
    m_formats.clear();
    m_captions.clear();
    endResetModel();
}

void ResultGridModel::clear()
{
    setResult(ResultSet());
}

void ResultGridModel::setHeaderCaption(int column, const QString &caption)
{
    m_captions.insert(column, caption);
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ResultGridModel::setColumnFormat(int column, const QString &format)
{
    m_formats.insert(column, format);
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::DisplayRole});
}

QString ResultGridModel::text(int row, int column) const
{
    return data(index(row, column)).toString();
}

const QStringList &ResultGridModel::columnNames() const
{
    return m_isPaged ? m_paged.columnNames() : m_rows.columnNames();
}

const ResultSet::Row &ResultGridModel::row(int row) const
{
    return m_isPaged ? m_paged.row(row) : m_rows.rows().at(row);
}

int ResultGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_isPaged ? m_paged.count() : m_rows.recordCount();
}

int ResultGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || columnNames().isEmpty() ? 0 : int(columnNames().size()) + 1;
}

QVariant ResultGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int column = index.column();
    if (role == Qt::BackgroundRole)
        return stripeColour(index.row() + 1);
    if (column == 0) {
        if (role == Qt::DisplayRole)
            return QString::number(index.row() + 1);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    QVariant value;
    try {
        value = row(index.row()).value(column - 1);
    } catch (const DbError &) {
        // A paged row that cannot be read now (the set locked past the wait,
        // its file gone) shows empty and is read again when next painted;
        // an error must not escape a paint.
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return formatValue(value, m_formats.value(column));
    case Qt::TextAlignmentRole:
        // Numbers to the right, text to the left, as a result grid lays out
        // what it is given.
        return int((isNumber(value) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::BackgroundRole)
        return stripeHeaderColour();
    if (role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return u"序号"_s;
    return m_captions.value(section, columnNames().value(section - 1));
}

} // namespace tz
