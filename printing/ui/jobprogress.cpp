// A print job's progress dialog.
#include "printing/ui/jobprogress.h"

#include <QCoreApplication>
#include <QProgressDialog>

using namespace Qt::Literals::StringLiterals;

namespace tz {

JobProgress::JobProgress(const QString &text, QWidget *parent)
    : m_dialog(std::make_unique<QProgressDialog>(text, u"取消"_s, 0, 0, parent))
{
    m_dialog->setWindowTitle(u"TZ305"_s);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(500);
}

JobProgress::~JobProgress() = default;

bool JobProgress::advance(int done, int total)
{
    m_dialog->setMaximum(total);
    m_dialog->setValue(done);
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

} // namespace tz
