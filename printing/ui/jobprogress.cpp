// A print job's progress dialog.
#include "printing/ui/jobprogress.h"

#include <QCoreApplication>
#include <QProgressDialog>

using namespace Qt::Literals::StringLiterals;

namespace tz {

JobProgress::JobProgress(const QString &text, QWidget *parent)
    : m_text(text)
    , m_parent(parent)
{
}

JobProgress::~JobProgress() = default;

bool JobProgress::advance(int done, int total)
{
    // A progress dialog shows itself a while after it is made, whether or
    // not work goes on, so it is made only when the work begins.
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>(m_text, u"取消"_s, 0, 0, m_parent);
        m_dialog->setWindowTitle(u"TZ305"_s);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumDuration(500);
    }
    m_dialog->setMaximum(total);
    m_dialog->setValue(done);
    QCoreApplication::processEvents();
    if (m_dialog->wasCanceled())
        m_cancelled = true;
    if (done >= total)
        endStage();
    return !m_cancelled;
}

void JobProgress::endStage()
{
    // Hides the dialog and stops the timer that would show it.
    if (m_dialog)
        m_dialog->reset();
}

} // namespace tz
