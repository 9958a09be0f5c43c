// The window 操作日志: the trail of changes in a read-only grid, read once
// when the window opens (ReadChangeLog).
#pragma once

#include <QWidget>

#include "store/ui/setwindow.h"

class QTableWidget;

namespace tz {

class ChangeLogWindow : public SetWindow<QWidget> {
    Q_OBJECT

public:
    // Messages go to message boxes over this window.
    explicit ChangeLogWindow(Session &session, QWidget *parent = nullptr);
    // Messages go to `dialogs`; it must outlive the window.
    ChangeLogWindow(Session &session, Dialogs &dialogs, QWidget *parent = nullptr);

private:
    ChangeLogWindow(Session &session, Dialogs *dialogs, QWidget *parent);

    QTableWidget *m_grid = nullptr;
};

} // namespace tz
