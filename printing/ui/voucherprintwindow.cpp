// The voucher printing window.
#include "printing/ui/voucherprintwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "printing/pagepainter.h"
#include "printing/ui/jobprogress.h"
#include "printing/ui/paperprinter.h"
#include "store/dialogs.h"
#include "store/offeredname.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

VoucherPrintWindow::VoucherPrintWindow(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    setUp();
}

void VoucherPrintWindow::setUp()
{
    m_output = PageOutput::standard(this, m_dialogs);
    // An existing file is asked about once, by the writer (confirmTarget).
    m_pdfPath = [this](const QString &suggested) {
        return QFileDialog::getSaveFileName(this, u"输出PDF"_s, suggested, u"PDF (*.pdf)"_s, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    build();
}

VoucherPrintWindow::~VoucherPrintWindow() = default;

void VoucherPrintWindow::setPdfPathChooser(std::function<QString(const QString &)> chooser)
{
    m_pdfPath = std::move(chooser);
}

void VoucherPrintWindow::build()
{
    setObjectName(u"VoucherPrintWindow"_s);
    setWindowTitle(u"凭证打印"_s);
    const auto digits = [this](const QString &name, const QString &text, int width) {
        auto *edit = new QLineEdit(text, this);
        edit->setObjectName(name);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), edit));
        edit->setFixedWidth(width);
        return edit;
    };
    m_month = new QComboBox(this);
    m_month->setObjectName(u"Combo1"_s);
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QString::number(m));
    m_month->setCurrentIndex(-1);
    connect(m_month, &QComboBox::activated, this, &VoucherPrintWindow::monthChosen);
    m_from = digits(u"Text1"_s, u"1"_s, 70);
    m_from->setStyleSheet(u"QLineEdit { border: 2px solid red; }"_s);
    m_to = digits(u"Text2"_s, u"1"_s, 70);

    auto *choose = new QHBoxLayout;
    choose->addWidget(new QLabel(u"月份"_s, this));
    choose->addWidget(m_month);
    choose->addSpacing(10);
    choose->addWidget(new QLabel(u"号码"_s, this));
    choose->addWidget(m_from);
    choose->addWidget(new QLabel(u"到"_s, this));
    choose->addWidget(m_to);
    choose->addSpacing(10);
    addCommandButton(choose, this, u"Command1"_s, u"预览"_s, &VoucherPrintWindow::preview);
    addCommandButton(choose, this, u"Command2"_s, u"下一"_s, &VoucherPrintWindow::next);
    addCommandButton(choose, this, u"Command4"_s, u"连续打印"_s, &VoucherPrintWindow::printRange);
    addCommandButton(choose, this, u"Command7"_s, u"输出PDF"_s, &VoucherPrintWindow::writePdf);
    choose->addStretch(1);

    const SavedVoucherSettings saved = loadVoucherSettings();
    m_lines = digits(u"Text5"_s, saved.lines, 50);
    m_left = new QLineEdit(saved.leftCm, this);
    m_left->setObjectName(u"Text3"_s);
    m_left->setFixedWidth(50);
    m_top = new QLineEdit(saved.topCm, this);
    m_top->setObjectName(u"Text4"_s);
    m_top->setFixedWidth(50);
    QStringList names;
    ReadOperatorNames(m_session, names, m_dialogs);
    const auto signer = [this, &names](const QString &name, const QString &saved) {
        auto *combo = new QComboBox(this);
        combo->setObjectName(name);
        combo->setEditable(true);
        combo->addItems(names);
        combo->setCurrentIndex(-1);
        combo->setCurrentText(saved);
        combo->setMinimumWidth(110);
        return combo;
    };
    m_chief = signer(u"Combo2"_s, saved.chiefAccountant);
    m_keeper = signer(u"Combo3"_s, saved.bookkeeper);
    m_small = new QRadioButton(u"凭证规格:21*11CM"_s, this);
    m_small->setObjectName(u"Option1"_s);
    m_small->setChecked(true);
    m_large = new QRadioButton(u"凭证规格:25*12CM"_s, this);
    m_large->setObjectName(u"Option2"_s);

    auto *frame = new QGroupBox(u"打印设置"_s, this);
    frame->setObjectName(u"Frame1"_s);
    auto *grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(u"凭证行数"_s, frame), 0, 0);
    grid->addWidget(m_lines, 0, 1);
    grid->addWidget(new QLabel(u"左边CM"_s, frame), 0, 2);
    grid->addWidget(m_left, 0, 3);
    grid->addWidget(new QLabel(u"上边CM"_s, frame), 0, 4);
    grid->addWidget(m_top, 0, 5);
    QPushButton *saveButton = commandButton(frame, u"Command6"_s, u"保存"_s);
    connect(saveButton, &QPushButton::clicked, this, &VoucherPrintWindow::save);
    grid->addWidget(saveButton, 0, 6);
    grid->addWidget(new QLabel(u"主管"_s, frame), 1, 0);
    grid->addWidget(m_chief, 1, 1, 1, 2);
    grid->addWidget(new QLabel(u"记帐"_s, frame), 1, 3);
    grid->addWidget(m_keeper, 1, 4, 1, 2);
    grid->addWidget(m_small, 2, 0, 1, 3);
    grid->addWidget(m_large, 2, 3, 1, 4);
    grid->setColumnStretch(7, 1);

    auto *hint = new QLabel(u"选择月份自动出最大凭证号。预览出错时,请设置(左边1，上边1,行数自已定)。预览的是红色框内的凭证号,可录"_s,
                            this);
    hint->setObjectName(u"Label9"_s);
    hint->setWordWrap(true);

    auto *box = new QVBoxLayout(this);
    box->addLayout(choose);
    box->addWidget(frame);
    box->addWidget(hint);
    box->addStretch(1);
}

VoucherPrintSettings VoucherPrintWindow::settings() const
{
    VoucherPrintSettings s;
    s.form = m_large->isChecked() ? VoucherForm::Large : VoucherForm::Small;
    s.linesPerPage = m_lines->text().toInt();
    s.leftCm = m_left->text().toDouble();
    s.topCm = m_top->text().toDouble();
    s.chiefAccountant = m_chief->currentText();
    s.bookkeeper = m_keeper->currentText();
    return s;
}

int VoucherPrintWindow::markerNumber() const
{
    return m_large->isChecked() ? 15 : 14;
}

void VoucherPrintWindow::monthChosen()
{
    int largest = 1;
    if (LargestVoucherNumber(m_session, m_month->currentText().toInt(), largest, m_dialogs).isDone())
        m_to->setText(QString::number(largest));
}

void VoucherPrintWindow::preview()
{
    Document doc;
    if (LayOutVoucher(m_session, m_month->currentText(), m_from->text(), settings(), doc, m_dialogs).isDone())
        m_output.preview(doc, m_large->isChecked() ? u"大凭证打印"_s : u"凭证打印"_s, markerNumber());
}

void VoucherPrintWindow::next()
{
    m_from->setText(QString::number(m_from->text().toInt() + 1));
    preview();
}

void VoucherPrintWindow::printRange()
{
    if (!requirePrinter(m_dialogs).isDone())
        return;
    Document doc;
    JobProgress progress(u"正在排版凭证…"_s, this);
    if (LayOutVoucherRange(m_session, m_month->currentText().toInt(), m_from->text().toInt(), m_to->text().toInt(),
                           settings(), true, doc, m_dialogs, &progress)
            .isDone()) {
        progress.endStage();
        m_output.print(doc);
    }
}

void VoucherPrintWindow::writePdf()
{
    // The file is named first, in the exports folder, after the vouchers
    // and their month; the vouchers are laid out and written after that.
    const int from = m_from->text().toInt();
    const int to = m_to->text().toInt();
    const QString numbers = (from == to ? QString::number(from) : u"%1-%2"_s.arg(from).arg(to)) + u"号"_s;
    const QString path = m_pdfPath(offeredPath(
        m_session.setShortName(), {u"凭证"_s, numbers, periodName(m_session.fiscalYear(), m_month->currentText())},
        u"pdf"_s));
    if (path.isEmpty())
        return;
    Document doc;
    JobProgress progress(u"正在排版凭证…"_s, this);
    if (LayOutVoucherRange(m_session, m_month->currentText().toInt(), from, to, settings(), false, doc, m_dialogs,
                           &progress)
            .isDone()) {
        progress.endStage(); // the question about an existing file may come next
        WritePdf(doc, path, m_dialogs, &progress);
    }
    if (progress.wasCancelled())
        m_dialogs.show(u"已取消,没有输出PDF文件: "_s + path, applicationTitle(), Icon::Information);
}

void VoucherPrintWindow::save()
{
    SaveVoucherSettings({m_left->text(), m_top->text(), m_lines->text(), m_chief->currentText(), m_keeper->currentText()},
                        m_dialogs);
}

} // namespace tz
