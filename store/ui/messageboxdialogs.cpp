// Message boxes.
#include "store/ui/messageboxdialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace tz {

namespace {

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBoxDialogs::progress(const QString &step, const QString &title)
{
    if (step.isEmpty()) {
        delete m_progress;
        return;
    }
    if (!m_progress) {
        // A busy bar without a cancel button: the work runs to its end in
        // one piece (a half-done copy or compaction is never left behind).
        m_progress = new QProgressDialog(m_parent);
        m_progress->setObjectName(QStringLiteral("progress"));
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->setCancelButton(nullptr);
        m_progress->setRange(0, 0);
        m_progress->setMinimumDuration(0);
        m_progress->setMinimumWidth(360);
    }
    m_progress->setWindowTitle(title);
    m_progress->setLabelText(step);
    m_progress->show();
    // The work runs on this thread: let the dialog paint its new step.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MessageBoxDialogs::show(const QString &text, const QString &title, Icon icon)
{
    delete m_progress;
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool MessageBoxDialogs::ask(const QString &text, const QString &title)
{
    delete m_progress;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace tz
