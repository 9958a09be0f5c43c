// A print job's progress as a dialog with a cancel button, shown only when
// the job takes long enough to notice.
#pragma once

#include <memory>

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

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace tz
