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
    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit ChangeLogWindow(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);

private:
    QTableWidget *m_grid = nullptr;
};

} // namespace tz
