// The 批量月结 window: the options from its controls, the run on a worker
// thread, each set's state in the table as the workers report it.
#include "batch/ui/monthendwindow.h"

#include <algorithm>
#include <array>
#include <functional>

#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include "batch/monthendresults.h"
#include "store/login.h"
#include "store/money.h"
#include "store/scripteddialogs.h"
#include "store/session.h"
#include "store/accountset.h"
#include "store/ui/controls.h"
#include "store/ui/messageboxdialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

enum Column {
    SetColumn,
    CompanyColumn,
    YearColumn,
    StateColumn,
    DetailColumn,
};

const QString kTitle = u"TZ305提示"_s;
// Where the outputs go unless another folder is chosen: inside the sets
// folder, where the run never looks for sets.
const QString kDefaultOut = u"月结输出"_s;

// A row of fields: the first, whose caption stands in the grid's first
// column, then each further field after its own caption.
QHBoxLayout *fieldRow(QWidget *first, std::initializer_list<std::pair<QString, QWidget *>> more)
{
    auto *row = new QHBoxLayout;
    row->addWidget(first);
    for (const auto &[caption, field] : more) {
        row->addSpacing(12);
        row->addWidget(fieldLabel(caption, field));
        row->addWidget(field);
    }
    return row;
}

// A set's state as its row shows it, in the order of SetRunState.
QString stateText(SetRunState state)
{
    static const std::array<QString, 4> texts{u"等待"_s, u"运行中"_s, u"完成"_s, u"失败"_s};
    return texts.at(std::size_t(state));
}

QColor stateColour(SetRunState state)
{
    switch (state) {
    case SetRunState::Running:
        return QColor(0x1a, 0x4f, 0xa0);
    case SetRunState::Done:
        return QColor(0x1b, 0x7a, 0x2e);
    case SetRunState::Failed:
        return QColor(0xb0, 0x1c, 0x1c);
    default:
        return QColor(0x55, 0x55, 0x55);
    }
}

// What a set's row says beside its state: the step under way, why it
// failed, or the months closed and its 资产总计.
QString detailText(const MonthEndSetResult &r)
{
    switch (r.state) {
    case SetRunState::Running:
        return r.step;
    case SetRunState::Failed:
        return r.problems.isEmpty() ? r.messages.value(0) : r.problems.join(u"; "_s);
    case SetRunState::Done: {
        QStringList months;
        for (const int m : r.monthsClosed)
            months.append(QString::number(m));
        QString text = months.isEmpty() ? u"无需结帐"_s : u"已结帐 %1 月"_s.arg(months.join(u'、'));
        if (r.totalAssets)
            text += u"; 资产总计 "_s + centsToText(*r.totalAssets, true);
        return text;
    }
    case SetRunState::Waiting:
        break;
    }
    return {};
}

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QLineEdit *lineEdit(const QString &name, const QString &placeholder = {})
{
    auto *field = new QLineEdit;
    field->setObjectName(name);
    field->setPlaceholderText(placeholder);
    return field;
}

} // namespace

MonthEndWindow::MonthEndWindow(QWidget *parent)
    : MonthEndWindow(nullptr, parent)
{
}

MonthEndWindow::MonthEndWindow(Dialogs &dialogs, QWidget *parent)
    : MonthEndWindow(&dialogs, parent)
{
}

MonthEndWindow::MonthEndWindow(Dialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
{
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<MessageBoxDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    buildControls();
}

MonthEndWindow::~MonthEndWindow()
{
    waitForThreads();
}

void MonthEndWindow::waitForThreads()
{
    m_stopRun = true;
    stopReading();
    if (m_run) {
        m_run->wait();
        delete m_run;
        m_run = nullptr;
    }
}

void MonthEndWindow::stopReading()
{
    m_stopReading = true;
    if (m_reader) {
        m_reader->wait();
        delete m_reader;
        m_reader = nullptr;
    }
    m_stopReading = false;
}

void MonthEndWindow::showState(int row, SetRunState state, const QString &detail)
{
    m_sets->item(row, StateColumn)->setText(stateText(state));
    m_sets->item(row, StateColumn)->setForeground(stateColour(state));
    m_sets->item(row, DetailColumn)->setText(detail);
}

void MonthEndWindow::buildControls()
{
    setWindowTitle(u"批量月结"_s);
    resize(980, 640);

    m_setsFolder = lineEdit(u"setsFolder"_s, u"放各客户帐套的文件夹(含子文件夹)"_s);
    m_chooseSets = commandButton(this, u"chooseSetsFolder"_s, u"浏览..."_s, u"选择帐套文件夹"_s);
    m_outFolder = lineEdit(u"outFolder"_s, u"报表、余额表和汇总表写到这里"_s);
    m_chooseOut = commandButton(this, u"chooseOutFolder"_s, u"浏览..."_s, u"选择输出文件夹"_s);

    m_month = new QSpinBox;
    m_month->setObjectName(u"month"_s);
    m_month->setRange(1, 12);
    m_month->setSuffix(u" 月"_s);
    // A month end is usually done for the month just past.
    m_month->setValue(QDate::currentDate().month() == 1 ? 12 : QDate::currentDate().month() - 1);
    m_month->setMinimumWidth(80);
    m_year = new QComboBox;
    m_year->setObjectName(u"year"_s);
    m_year->addItem(u"全部年度"_s, 0);
    m_year->setToolTip(u"只月结这一年度的帐套"_s);
    m_jobs = new QSpinBox;
    m_jobs->setObjectName(u"jobs"_s);
    m_jobs->setRange(1, 64);
    m_jobs->setValue(std::clamp(QThread::idealThreadCount(), 1, 64));
    m_jobs->setToolTip(u"同时月结的帐套数, 默认为处理器核数"_s);
    m_layout13 = new QRadioButton(u"小企业会计准则 (13)"_s);
    m_layout13->setObjectName(u"layout13"_s);
    m_layout13->setToolTip(u"资产表13、利润表13、现流表"_s);
    m_layout13->setChecked(true);
    m_layout07 = new QRadioButton(u"企业会计准则 (07)"_s);
    m_layout07->setObjectName(u"layout07"_s);
    m_layout07->setToolTip(u"资产表07、利润表07、现流表"_s);

    m_operator = new QComboBox;
    m_operator->setObjectName(u"operatorName"_s);
    m_operator->setEditable(true);
    m_operator->setInsertPolicy(QComboBox::NoInsert);
    m_operator->setMinimumWidth(140);
    m_password = lineEdit(u"password"_s);
    m_password->setEchoMode(QLineEdit::Password);
    m_reviewer = lineEdit(u"reviewer"_s, u"空: 同操作员"_s);
    m_credentials = lineEdit(u"credentialsFile"_s, u"可选: 每行 帐套<Tab>操作员<Tab>密码[<Tab>帐套密码], 优先于上面的操作员和密码"_s);
    m_chooseCredentials = commandButton(this, u"chooseCredentials"_s, u"浏览..."_s, u"选择凭据文件"_s);

    auto *options = new QGroupBox(u"月结设置"_s);
    options->setObjectName(u"options"_s);
    auto *grid = new QGridLayout(options);
    grid->setColumnStretch(1, 1);
    grid->addWidget(fieldLabel(u"帐套文件夹"_s, m_setsFolder), 0, 0);
    grid->addWidget(m_setsFolder, 0, 1);
    grid->addWidget(m_chooseSets, 0, 2);
    grid->addWidget(fieldLabel(u"输出文件夹"_s, m_outFolder), 1, 0);
    grid->addWidget(m_outFolder, 1, 1);
    grid->addWidget(m_chooseOut, 1, 2);

    QHBoxLayout *monthRow = fieldRow(m_month, {{u"年度"_s, m_year}, {u"同时运行"_s, m_jobs}});
    monthRow->addSpacing(24);
    monthRow->addWidget(new QLabel(u"报表格式"_s));
    monthRow->addWidget(m_layout13);
    monthRow->addWidget(m_layout07);
    monthRow->addStretch();
    grid->addWidget(fieldLabel(u"结帐至"_s, m_month), 2, 0);
    grid->addLayout(monthRow, 2, 1, 1, 2);

    QHBoxLayout *loginRow = fieldRow(m_operator, {{u"密码"_s, m_password}, {u"审核人"_s, m_reviewer}});
    grid->addWidget(fieldLabel(u"操作员"_s, m_operator), 3, 0);
    grid->addLayout(loginRow, 3, 1, 1, 2);
    grid->addWidget(fieldLabel(u"凭据文件"_s, m_credentials), 4, 0);
    grid->addWidget(m_credentials, 4, 1);
    grid->addWidget(m_chooseCredentials, 4, 2);

    m_found = new QLabel(u"请选择帐套文件夹"_s);
    m_found->setObjectName(u"setsFound"_s);
    m_sets = new QTableWidget(0, 5);
    m_sets->setObjectName(u"setsTable"_s);
    m_sets->setHorizontalHeaderLabels({u"帐套"_s, u"单位名称"_s, u"年度"_s, u"状态"_s, u"说明"_s});
    m_sets->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_sets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sets->setWordWrap(false);
    m_sets->verticalHeader()->hide();
    m_sets->horizontalHeader()->setStyleSheet(gridHeaderStyle());
    m_sets->setColumnWidth(SetColumn, 200);
    m_sets->setColumnWidth(CompanyColumn, 220);
    m_sets->setColumnWidth(YearColumn, 60);
    m_sets->setColumnWidth(StateColumn, 70);
    m_sets->horizontalHeader()->setStretchLastSection(true);

    m_progress = new QProgressBar;
    m_progress->setObjectName(u"progress"_s);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setFormat(u"%v / %m"_s);
    m_outcome = new QLabel;
    m_outcome->setObjectName(u"outcome"_s);

    auto *buttons = new QHBoxLayout;
    m_start = addCommandButton(buttons, this, u"start"_s, u"开始"_s, &MonthEndWindow::start,
                               u"检查、结帐、出报表和余额表、备份每个帐套"_s);
    m_cancelButton = addCommandButton(buttons, this, u"cancel"_s, u"取消"_s, &MonthEndWindow::cancel,
                                u"进行中的帐套完成后停止"_s);
    buttons->addStretch();
    m_openFolderButton
        = addCommandButton(buttons, this, u"openOutFolder"_s, u"打开输出文件夹"_s, &MonthEndWindow::openOutputFolder);
    m_openSummaryButton
        = addCommandButton(buttons, this, u"openSummary"_s, u"打开汇总表"_s, &MonthEndWindow::openSummary);
    m_close = addCommandButton(buttons, this, u"close"_s, u"关闭"_s, [this] { reject(); });
    m_cancelButton->setEnabled(false);
    m_openFolderButton->setEnabled(false);
    m_openSummaryButton->setEnabled(false);

    auto *top = new QVBoxLayout(this);
    top->addWidget(options);
    top->addWidget(m_found);
    top->addWidget(m_sets, 1);
    top->addWidget(m_progress);
    top->addWidget(m_outcome);
    top->addLayout(buttons);

    connect(m_setsFolder, &QLineEdit::editingFinished, this, [this] {
        if (QDir::cleanPath(m_setsFolder->text().trimmed()) != m_listedFolder)
            listSets();
    });
    connect(m_chooseSets, &QPushButton::clicked, this, [this] {
        chooseInto(m_setsFolder, u"选择帐套文件夹"_s, false);
        listSets();
    });
    connect(m_year, &QComboBox::currentIndexChanged, this, [this] { listSets(); });
    connect(m_chooseOut, &QPushButton::clicked, this,
            [this] { chooseInto(m_outFolder, u"选择输出文件夹"_s, false); });
    connect(m_chooseCredentials, &QPushButton::clicked, this,
            [this] { chooseInto(m_credentials, u"选择凭据文件"_s, true); });
}

void MonthEndWindow::chooseInto(QLineEdit *field, const QString &caption, bool file)
{
    QString chosen;
    if (m_choosePath)
        chosen = m_choosePath(caption, field->text());
    else if (file)
        chosen = QFileDialog::getOpenFileName(this, caption, field->text());
    else
        chosen = QFileDialog::getExistingDirectory(this, caption, field->text());
    if (!chosen.isEmpty())
        field->setText(QDir::toNativeSeparators(chosen));
}

void MonthEndWindow::listSets()
{
    if (isRunning())
        return;
    // One reading thread at a time: the one of an earlier folder stops
    // after the set it is reading.
    stopReading();
    ++m_generation;

    const QString folder = QDir::cleanPath(m_setsFolder->text().trimmed());
    // The default output folder follows the sets folder until another is typed.
    const QString oldDefault = QDir::toNativeSeparators(QDir(m_listedFolder).filePath(kDefaultOut));
    if (!folder.isEmpty() && (m_outFolder->text().isEmpty() || m_outFolder->text() == oldDefault))
        m_outFolder->setText(QDir::toNativeSeparators(QDir(folder).filePath(kDefaultOut)));
    m_listedFolder = folder;
    m_paths = folder.isEmpty() || !QFileInfo(folder).isDir() ? QStringList() : findAccountSets(folder);
    const QString out = QFileInfo(QDir::fromNativeSeparators(m_outFolder->text().trimmed())).absoluteFilePath() + u'/';
    m_paths.removeIf([&](const QString &path) { return path.startsWith(out); });
    // The years found are offered; the one chosen stays while it is there.
    QList<int> years;
    for (const QString &path : std::as_const(m_paths)) {
        if (!years.contains(fiscalYearOfSetFile(path)))
            years.append(fiscalYearOfSetFile(path));
    }
    std::sort(years.begin(), years.end(), std::greater<>());
    const int chosenYear = m_year->currentData().toInt();
    const QSignalBlocker quiet(m_year);
    while (m_year->count() > 1)
        m_year->removeItem(1);
    for (const int year : years)
        m_year->addItem(QString::number(year), year);
    m_year->setCurrentIndex(std::max(0, m_year->findData(chosenYear)));
    if (const int year = m_year->currentData().toInt())
        m_paths.removeIf([&](const QString &path) { return fiscalYearOfSetFile(path) != year; });

    const QDir root(QFileInfo(folder).absoluteFilePath());
    m_sets->setRowCount(0);
    m_sets->setRowCount(int(m_paths.size()));
    for (int row = 0; row < m_paths.size(); ++row) {
        const QString &path = m_paths.at(row);
        m_sets->setItem(row, SetColumn, cell(QDir::toNativeSeparators(root.relativeFilePath(path))));
        m_sets->setItem(row, CompanyColumn, cell(QString()));
        m_sets->setItem(row, YearColumn, cell(QString::number(fiscalYearOfSetFile(path))));
        m_sets->setItem(row, StateColumn, cell(QString()));
        m_sets->setItem(row, DetailColumn, cell(QString()));
        showState(row, SetRunState::Waiting, QString());
    }
    m_found->setText(folder.isEmpty()                ? u"请选择帐套文件夹"_s
                         : !QFileInfo(folder).isDir() ? u"文件夹不存在: "_s + QDir::toNativeSeparators(folder)
                         : m_paths.isEmpty()          ? u"此文件夹下没有帐套"_s
                                                      : u"找到 %1 个帐套"_s.arg(m_paths.size()));
    m_progress->setRange(0, std::max<int>(1, int(m_paths.size())));
    m_progress->setValue(0);
    m_outcome->clear();
    if (m_paths.isEmpty())
        return;

    // The companies are read off the window's thread: each set is opened
    // with its key, which takes a moment, and a firm has hundreds.
    const QStringList paths = m_paths;
    const int generation = m_generation;
    m_reader = QThread::create([this, paths, generation] {
        for (int row = 0; row < paths.size() && !m_stopReading; ++row) {
            Session session;
            ScriptedDialogs quiet;
            QStringList operators;
            const OpResult chosen = ChooseAccountSet(session, paths.at(row), operators, quiet);
            const QString company = session.companyName();
            try {
                session.CloseMainConnection();
            } catch (...) {
                // Nothing was written; the connection is gone either way.
            }
            const QString problem = chosen.isDone() ? QString()
                : quiet.messages.isEmpty()          ? chosen.message
                                                    : quiet.messages.last().text;
            QMetaObject::invokeMethod(
                this, [=, this] { showSetInfo(generation, row, company, problem, operators); }, Qt::QueuedConnection);
        }
    });
    m_reader->start();
}

void MonthEndWindow::showSetInfo(int generation, int row, const QString &company, const QString &problem,
                                 const QStringList &operators)
{
    if (generation != m_generation || row >= m_sets->rowCount())
        return;
    if (m_sets->item(row, CompanyColumn)->text().isEmpty())
        m_sets->item(row, CompanyColumn)->setText(company);
    if (!problem.isEmpty() && m_sets->item(row, StateColumn)->text() == stateText(SetRunState::Waiting))
        m_sets->item(row, DetailColumn)->setText(problem);
    // The operators of the sets offered for the login, in the order found.
    for (const QString &name : operators) {
        if (m_operator->findText(name) < 0) {
            const QString typed = m_operator->currentText();
            m_operator->addItem(name);
            m_operator->setEditText(typed.isEmpty() ? name : typed);
        }
    }
}

int MonthEndWindow::rowOf(const QString &path) const
{
    return int(m_paths.indexOf(path));
}

void MonthEndWindow::start()
{
    if (isRunning())
        return;
    if (QDir::cleanPath(m_setsFolder->text().trimmed()) != m_listedFolder)
        listSets();
    MonthEndOptions options;
    options.setsFolder = QDir::fromNativeSeparators(m_listedFolder);
    options.outFolder = QDir::fromNativeSeparators(m_outFolder->text().trimmed());
    options.month = m_month->value();
    options.layout = m_layout07->isChecked() ? StatementLayout::General07 : StatementLayout::Small13;
    options.operatorName = m_operator->currentText().trimmed();
    options.password = m_password->text();
    options.reviewer = m_reviewer->text().trimmed();
    options.jobs = m_jobs->value();
    options.year = m_year->currentData().toInt();
    const QString credentials = QDir::fromNativeSeparators(m_credentials->text().trimmed());

    if (options.setsFolder.isEmpty()) {
        m_dialogs->show(u"请选择帐套文件夹"_s, kTitle, Icon::Exclamation);
        return;
    }
    if (m_paths.isEmpty()) {
        m_dialogs->show(m_found->text(), kTitle, Icon::Exclamation);
        return;
    }
    if (options.outFolder.isEmpty()) {
        m_dialogs->show(u"请选择输出文件夹"_s, kTitle, Icon::Exclamation);
        return;
    }
    if (!credentials.isEmpty()) {
        const OpResult read = readCredentials(credentials, options.credentials);
        if (!read.isDone()) {
            m_dialogs->show(read.message, kTitle, Icon::Exclamation);
            return;
        }
    }
    if (options.operatorName.isEmpty() && options.credentials.isEmpty()) {
        m_dialogs->show(u"请输入操作员, 或选择凭据文件"_s, kTitle, Icon::Exclamation);
        return;
    }
    if (!QDir().mkpath(options.outFolder)) {
        m_dialogs->show(u"不能建立输出文件夹: "_s + QDir::toNativeSeparators(options.outFolder), kTitle,
                        Icon::Critical);
        return;
    }

    // The reading thread must not hold a set open while the run writes it.
    stopReading();
    for (int row = 0; row < m_sets->rowCount(); ++row)
        showState(row, SetRunState::Waiting, QString());
    m_ended = 0;
    m_progress->setRange(0, int(m_paths.size()));
    m_progress->setValue(0);
    m_outcome->setText(u"正在月结..."_s);
    m_runOut = QDir(options.outFolder).absolutePath();
    m_summary.clear();
    m_stopRun = false;

    // RunMonthEnd blocks until every set has ended, so it runs on a thread
    // of its own; its workers' reports are posted to the window's thread.
    m_run = QThread::create([this, options] {
        QElapsedTimer clock;
        clock.start();
        QList<MonthEndSetResult> results;
        const OpResult ran = RunMonthEnd(
            options, results,
            [this](const MonthEndSetResult &r) {
                QMetaObject::invokeMethod(this, [this, r] { showProgress(r); }, Qt::QueuedConnection);
            },
            &m_stopRun);
        // A cancelled run reports the sets that ran; the others never started.
        results.removeIf([](const MonthEndSetResult &r) { return r.state == SetRunState::Waiting; });
        OpResult written = OpResult::done();
        if (ran.isDone())
            written = writeMonthEndOutputs(results, options.outFolder, 1, 1);
        const double seconds = double(clock.elapsed()) / 1000.0;
        QMetaObject::invokeMethod(
            this, [=, this] { finishRun(ran, written, results, seconds); }, Qt::QueuedConnection);
    });
    setRunning(true);
    m_run->start();
}

void MonthEndWindow::cancel()
{
    if (!isRunning())
        return;
    m_stopRun = true;
    m_cancelButton->setEnabled(false);
    m_outcome->setText(u"正在取消: 进行中的帐套完成后停止..."_s);
}

void MonthEndWindow::showProgress(const MonthEndSetResult &result)
{
    const int row = rowOf(result.path);
    if (row < 0)
        return;
    showState(row, result.state, detailText(result));
    if (!result.company.isEmpty())
        m_sets->item(row, CompanyColumn)->setText(result.company);
    if (result.state == SetRunState::Done || result.state == SetRunState::Failed) {
        m_progress->setValue(++m_ended);
        m_sets->scrollToItem(m_sets->item(row, SetColumn));
    }
}

void MonthEndWindow::finishRun(const OpResult &ran, const OpResult &written, const QList<MonthEndSetResult> &results,
                               double seconds)
{
    if (m_run) {
        m_run->wait();
        delete m_run;
        m_run = nullptr;
    }
    const bool cancelled = m_stopRun;
    setRunning(false);
    if (!ran.isDone()) {
        m_outcome->setText(ran.message);
        m_dialogs->show(ran.message, kTitle, Icon::Exclamation);
        emit runEnded();
        return;
    }
    qsizetype failed = 0;
    for (const MonthEndSetResult &r : results)
        failed += r.isOk() ? 0 : 1;
    for (int row = 0; row < m_sets->rowCount(); ++row) {
        if (m_sets->item(row, StateColumn)->text() == stateText(SetRunState::Waiting))
            m_sets->item(row, DetailColumn)->setText(cancelled ? u"已取消"_s : QString());
    }
    QString text = u"共 %1 个帐套: %2 个完成, %3 个失败"_s.arg(m_paths.size()).arg(results.size() - failed).arg(failed);
    if (cancelled && results.size() < m_paths.size())
        text = u"已取消. "_s + text + u", %1 个未运行"_s.arg(m_paths.size() - results.size());
    text += u"; 用时 %1 秒"_s.arg(seconds, 0, 'f', 1);
    if (written.isDone()) {
        m_summary = QDir(m_runOut).filePath(u"summary.xlsx"_s);
        text += u"; 汇总表: "_s + QDir::toNativeSeparators(m_summary);
    }
    m_outcome->setText(text);
    m_openFolderButton->setEnabled(true);
    m_openSummaryButton->setEnabled(!m_summary.isEmpty());
    if (!written.isDone())
        m_dialogs->show(written.message, kTitle, Icon::Critical);
    emit runEnded();
}

void MonthEndWindow::setRunning(bool running)
{
    const std::initializer_list<QWidget *> options{m_setsFolder, m_chooseSets, m_outFolder, m_chooseOut, m_year,
                                                  m_month, m_jobs, m_layout13, m_layout07, m_operator, m_password,
                                                  m_reviewer, m_credentials, m_chooseCredentials, m_start, m_close};
    for (QWidget *w : options)
        w->setEnabled(!running);
    m_cancelButton->setEnabled(running);
    if (running) {
        m_openFolderButton->setEnabled(false);
        m_openSummaryButton->setEnabled(false);
    }
}

void MonthEndWindow::reject()
{
    if (isRunning()) {
        m_dialogs->show(u"批量月结正在进行。请先点 取消, 进行中的帐套完成后再关闭。"_s, kTitle, Icon::Exclamation);
        return;
    }
    QDialog::reject();
}

void MonthEndWindow::openOutputFolder()
{
    if (m_runOut.isEmpty())
        return;
    if (m_openFolder) {
        m_openFolder(m_runOut);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(m_runOut)))
        m_dialogs->show(u"无法打开文件夹: "_s + QDir::toNativeSeparators(m_runOut), kTitle, Icon::Exclamation);
}

void MonthEndWindow::openSummary()
{
    if (!m_summary.isEmpty())
        openWorkbook(m_summary, *m_dialogs);
}

} // namespace tz
