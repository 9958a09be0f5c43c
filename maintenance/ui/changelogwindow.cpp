// The window 操作日志.
#include "maintenance/ui/changelogwindow.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "store/changelog.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

ChangeLogWindow::ChangeLogWindow(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow<QWidget>(session, dialogs.given, parent)
{
    setWindowTitle(u"操作日志"_s);
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(u"日志"_s);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->hide();
    const QStringList columns = changeLogColumns();
    m_grid->setColumnCount(int(columns.size()));
    m_grid->setHorizontalHeaderLabels(columns);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);

    QList<ChangeLogRow> rows;
    if (!ReadChangeLog(m_session, rows, m_dialogs).isDone())
        return;
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList fields = rows.at(r).fields();
        for (int c = 0; c < fields.size(); ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(fields.at(c)));
    }
    m_grid->resizeColumnsToContents();
    m_grid->scrollToBottom();
}

} // namespace tz
