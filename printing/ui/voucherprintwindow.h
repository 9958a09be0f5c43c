// The voucher printing window (凭证打印), a child of the main window: month,
// number or range, lines per page, margins, the two signers and the form
// size; 预览 and 下一 preview one voucher, 连续打印 prints a range on the
// default printer, 输出PDF writes the range as a PDF file, 保存 keeps the
// margins, lines per page and the two signers.
#pragma once

#include <functional>
#include <memory>

#include <QWidget>

#include "printing/ui/paperprinter.h"
#include "printing/voucherprint.h"
#include "store/operation.h"
#include "store/ui/setwindow.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tz {

class VoucherPrintWindow : public SetWindow<QWidget>
{
    Q_OBJECT

public:
    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit VoucherPrintWindow(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~VoucherPrintWindow() override;

    // Where the pages go (printing/ui/paperprinter.h); tests replace it.
    void setPageOutput(PageOutput output) { m_output = std::move(output); }
    // Chooses the PDF file, offered the suggested path; an empty answer
    // cancels. By default a save dialog.
    void setPdfPathChooser(std::function<QString(const QString &suggested)> chooser);

    VoucherPrintSettings settings() const;

public slots:
    void monthChosen(); // Combo1: the month's largest number into Text2
    void preview();     // Command1 预览
    void next();        // Command2 下一
    void printRange();  // Command4 连续打印
    void writePdf();    // Command7 输出PDF
    void save();        // Command6 保存

private:
    void setUp();
    void build();
    int markerNumber() const;

    PageOutput m_output;
    std::function<QString(const QString &)> m_pdfPath;
    QComboBox *m_month = nullptr;    // Combo1
    QLineEdit *m_from = nullptr;     // Text1
    QLineEdit *m_to = nullptr;       // Text2
    QLineEdit *m_lines = nullptr;    // Text5
    QLineEdit *m_left = nullptr;     // Text3
    QLineEdit *m_top = nullptr;      // Text4
    QComboBox *m_chief = nullptr;    // Combo2
    QComboBox *m_keeper = nullptr;   // Combo3
    QRadioButton *m_small = nullptr; // Option1
    QRadioButton *m_large = nullptr; // Option2
};

} // namespace tz
