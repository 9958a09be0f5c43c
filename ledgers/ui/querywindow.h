// The comprehensive query window (综合查询), a child of the main window:
// the operator picks an account, a ledger format or a table, a month and a
// depth; each button runs its build, which refills a work table, and the
// result grid MSH1 shows that table. The kind of the last query is kept in
// the main window's marker field Text1, where printing and export read it.
#pragma once

#include <functional>

#include <memory>
#include <optional>

#include <QWidget>

#include "ledgers/ledgerquery.h"
#include "store/pagedrows.h"
#include "store/resultset.h"
#include "store/ui/setwindow.h"
#include "store/ui/workbookhooks.h"

class QButtonGroup;
class QComboBox;
class QHBoxLayout;
class QVBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;

namespace tz {

class Dialogs;
class ResultGridModel;
class Session;
enum class ReportButton;
enum class ReportTarget;
struct Document;
struct PageOutput;

class QueryWindow : public SetWindow<QWidget>, public WorkbookHooks {
    Q_OBJECT

public:
    // `marker` is the main window's query-kind field; with none the window
    // keeps its own. Messages go to message boxes over this window.
    QueryWindow(Session &session, QLineEdit *marker, QWidget *parent = nullptr);
    // Messages and questions go to `dialogs`; it must outlive the window.
    QueryWindow(Session &session, Dialogs &dialogs, QLineEdit *marker, QWidget *parent = nullptr);
    ~QueryWindow() override;

    // The result grid's model (for tests and the printing of what is shown).
    const ResultGridModel &result() const { return *m_model; }
    // The query-kind marker's text.
    QString marker() const;
    // The left page margin of landscape pages, in centimetres (Text7).
    QString leftMarginText() const;
    // Where 打印 and 预览 send the pages (printing/ui/paperprinter.h).
    void setPageOutput(PageOutput output);

public slots:
    void queryLedger(); // 帐页查询
    void nextAccount(); // 下一
    void previousAccount(); // 上一
    void queryJournal(); // 分录簿
    void filterJournal(); // 筛选
    void queryVoucherSummary(); // 科目汇总表
    void queryAmountBalance(); // 科目余额表
    void queryQuantityBalance(); // 数量余额表
    void print(); // 打印
    void preview(); // 预览
    void exportTable(); // 导出
    void exportWorkbook(); // EXCEL帐页

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QueryWindow(Session &session, Dialogs *dialogs, QLineEdit *marker, QWidget *parent);

    struct Layout; // widths and formats of the grid's columns

    void build();
    void fitColumns();
    void buildAccountRow(QVBoxLayout *box);
    void buildChoiceRow(QVBoxLayout *box);
    void buildTableRow(QVBoxLayout *box);
    void codeChanged(const QString &text);
    void pickAccount();
    void stepAccount(bool next);
    void decimalsChanged();
    std::optional<LedgerFormat> chosenFormat() const;
    void setMarker(const QString &marker);
    void showRows(ResultSet rows, const Layout &layout);
    void showPagedRows(PagedRows rows, const Layout &layout);
    void applyLayout(const Layout &layout);
    void queryBalance(bool amountView);
    Layout journalLayout() const;
    // Shows the entry journal staged in 分录始表; its row count, -1 when unread.
    int showJournal();
    // Copies the journal on view into 分录始表 for the worksheet export when
    // the grid reads it straight from the journal; false when refused.
    bool stageJournal();
    // Fills the work table of the ledger on view, computed for the screen,
    // for a reader of the table (printing, the workbooks); false when refused.
    bool fillLedgerTable();
    void chooseReport(ReportButton button);
    void writeLedgerWorkbook(ReportTarget target);
    void offerToOpen(const QString &path);
    // Lays out the page report `target` of the query kind `kind`.
    bool layOutReport(ReportTarget target, const QString &kind, Document &doc);

    std::unique_ptr<PageOutput> m_output;
    QLineEdit *m_marker = nullptr; // the main window's Text1, or m_ownMarker
    // The month choice of the journal on view while 分录始表 does not hold it.
    std::optional<QString> m_unstagedJournal;
    // The ledger on view while its work table does not hold it.
    std::optional<std::pair<LedgerFormat, LedgerRequest>> m_unfilledLedger;
    // What 导出 offers to name its file after (offeredPath): what the last
    // query showed, its account and its period.
    QStringList m_exportName;

    QLineEdit *m_code = nullptr; // Text2
    QLabel *m_status = nullptr; // Label3
    QLineEdit *m_namePath = nullptr; // Text3
    QLineEdit *m_direction = nullptr; // Text4
    QLineEdit *m_unit = nullptr; // Text5
    QLineEdit *m_spec = nullptr; // Text8
    QLineEdit *m_topName = nullptr; // Text6
    QButtonGroup *m_formats = nullptr; // Option1..Option6
    QComboBox *m_month = nullptr; // Combo1
    QComboBox *m_depth = nullptr; // Combo2
    QSpinBox *m_quantityDigits = nullptr; // UpDown1 (Text9)
    QSpinBox *m_priceDigits = nullptr; // UpDown2 (Text10)
    QLineEdit *m_leftMargin = nullptr; // Text7
    QTableView *m_grid = nullptr; // MSH1
    ResultGridModel *m_model = nullptr;
};

} // namespace tz
