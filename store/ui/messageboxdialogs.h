// Messages and questions of the windows: modal message boxes over a parent.
#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QWidget>

#include "store/dialogs.h"

namespace tz {

class MessageBoxDialogs : public Dialogs
{
public:
    explicit MessageBoxDialogs(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }

    void show(const QString &text, const QString &title, Icon icon) override;
    bool ask(const QString &text, const QString &title) override;
    void progress(const QString &step, const QString &title) override;

private:
    QPointer<QWidget> m_parent;
    QPointer<QProgressDialog> m_progress;
};

} // namespace tz
