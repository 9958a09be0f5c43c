// The statements window (报表, Form12), a child of the main window: the
// operator picks a statement template and a month, 查 询 evaluates it into
// the display grid MSH1, 公式设置 opens the template in the editing grid
// DataGrid1 (a row is saved when the cursor leaves it), 导出EXCEL writes the
// statement's workbook.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QWidget>

#include "statements/statementtable.h"
#include "store/ui/workbookhooks.h"
#include "store/ui/setwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class QTableWidget;

namespace tz {

class Dialogs;
class ResultGridModel;
struct PageOutput;
class Session;

class StatementWindow : public SetWindow<QWidget>, public WorkbookHooks {
    Q_OBJECT

public:
    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit StatementWindow(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~StatementWindow() override;

    // Where 打印预览 sends the pages (printing/ui/paperprinter.h).
    void setPageOutput(PageOutput output);

    const ResultGridModel &result() const { return *m_model; }

public slots:
    void query();        // 查 询
    void editTemplate(); // 公式设置
    void preview();      // 打印预览
    void exportWorkbook(); // 导出EXCEL
    void showHelp();     // 查看设置说明

private:
    void setUp();
    void build();
    StatementTable selectedTable() const;
    std::optional<int> selectedMonth() const;
    void saveEditedRow(int row);
    void loadTemplateRows();

    QList<QRadioButton *> m_options;
    QComboBox *m_month = nullptr;
    QLineEdit *m_company = nullptr;
    ResultGridModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QTableWidget *m_editor = nullptr;
    QListWidget *m_codes = nullptr;
    std::optional<StatementTable> m_shown;  // the statement in the display grid
    std::optional<int> m_shownMonth;
    std::optional<StatementTable> m_edited; // the template in the editing grid
    QList<qint64> m_rowids;
    int m_dirtyRow = -1;
    bool m_loading = false;
    std::unique_ptr<PageOutput> m_output;
};

} // namespace tz
