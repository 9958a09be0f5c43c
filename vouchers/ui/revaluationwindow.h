// The period-end FX revaluation window (期末调汇), opened from the voucher
// window over the work table its start filled: a rate typed per account,
// 调汇 recomputes, 导出EXCEL writes the table, 生成分录 posts the voucher.
#pragma once

#include <functional>

#include <QDialog>

#include "store/operation.h"
#include "vouchers/revaluation.h"

class QComboBox;
class QTableWidget;

namespace tz {

class RevaluationWindow : public QDialog {
    Q_OBJECT

public:
    // `header` carries the voucher window's date, word and reviewer.
    RevaluationWindow(Session &session, Dialogs &dialogs, const VoucherHeader &header, QWidget *parent = nullptr);

    // Where 导出EXCEL asks for the file and what opens it (tests replace them).
    void setSavePathChooser(std::function<QString(const QString &)> chooser);
    void setFileOpener(std::function<void(const QString &)> opener);
    // The voucher number 生成分录 wrote (0 before).
    int postedNumber() const { return m_posted; }

private:
    void reload();
    void recompute(); // 调汇
    void exportTable(); // 导出EXCEL
    void post(); // 生成分录

    Session &m_session;
    Dialogs &m_dialogs;
    VoucherHeader m_header;
    QTableWidget *m_grid = nullptr;  // DataGrid1
    QComboBox *m_against = nullptr;  // Combo1
    std::function<QString(const QString &)> m_choosePath;
    std::function<void(const QString &)> m_openFile;
    int m_posted = 0;
};

} // namespace tz
