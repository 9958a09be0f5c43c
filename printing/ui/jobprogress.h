// A print job's progress as a dialog with a cancel button, shown only when
// the job takes long enough to notice, and only while it works: the dialog
// is made at the first step and hidden when a stage reaches its total, so
// it never stands over a dialog or a question that comes between stages.
#pragma once

#include <memory>

#include <QPointer>
#include <QString>

#include "printing/progress.h"

class QProgressDialog;
class QWidget;

namespace tz {

class JobProgress : public Progress
{
public:
    JobProgress(const QString &text, QWidget *parent);
    ~JobProgress() override;

    bool advance(int done, int total) override;
    // Ends the stage at hand (one that stops short of its total): the
    // dialog hides until the next step, so nothing asked between stages is
    // covered by it.
    void endStage();
    // True once the user cancelled the job.
    bool wasCancelled() const { return m_cancelled; }

private:
    QString m_text;
    QPointer<QWidget> m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

} // namespace tz
