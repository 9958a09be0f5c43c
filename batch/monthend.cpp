// The batch month end: the sets found, each run through the existing
// operations on a worker thread with its own session, one set at a time
// per worker.
#include "batch/monthend.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "ledgers/balancetable.h"
#include "maintenance/backup.h"
#include "maintenance/bookcheck.h"
#include "maintenance/settings.h"
#include "printing/pagelayout.h"
#include "printing/pagepainter.h"
#include "printing/tablereports.h"
#include "statements/statement.h"
#include "statements/statementworkbook.h"
#include "store/accountset.h"
#include "store/dberror.h"
#include "store/dialogs.h"
#include "store/login.h"
#include "store/money.h"
#include "store/session.h"
#include "store/setkeys.h"
#include "vouchers/closing.h"
#include "vouchers/monthstate.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// The questions a set's run may be asked are whether to replace an output
// of an earlier run: answered Yes, so a rerun rewrites its outputs. Any
// other question is answered No. Messages are kept, in order, for the
// set's result.
class SetDialogs : public Dialogs
{
public:
    void show(const QString &text, const QString &title, Icon icon) override
    {
        Q_UNUSED(title);
        last = text;
        if (icon != Icon::Information)
            said.append(text);
    }
    bool ask(const QString &text, const QString &) override
    {
        return text.startsWith(u"文件已存在,是否覆盖?"_s);
    }
    QStringList said; // every message but the plain confirmations
    QString last;     // the last message shown
};

// Matches a file name that the login window takes as an account set.
bool isSetFileName(const QString &name)
{
    const qsizetype n = name.size();
    return n >= 4 && !name.startsWith(u'.') && name.at(n - 3) == u'Y' && name.at(n - 2).isDigit()
        && name.at(n - 1).isDigit() && name.at(n - 2).unicode() < 128 && name.at(n - 1).unicode() < 128;
}

// The statements of a layout, in the order they are written.
QList<StatementTable> layoutTables(StatementLayout layout)
{
    if (layout == StatementLayout::General07)
        return {StatementTable::BalanceSheet07, StatementTable::Income07, StatementTable::CashFlow};
    return {StatementTable::BalanceSheet13, StatementTable::Income13, StatementTable::CashFlow};
}

Figure figureOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return roundToCents(value.toDouble());
}

QString bare(const QVariant &caption)
{
    return caption.toString().remove(u' ').remove(u'\u3000');
}

// Takes the figures the summary shows from a statement's rows as
// ReadStatement gives them.
void takeFigures(StatementTable table, const ResultSet &rows, MonthEndSetResult &result)
{
    for (const ResultSet::Row &r : rows.rows()) {
        if (kindOf(table) == StatementKind::BalanceSheet) {
            if (bare(r.at(1)) == u"资产总计"_s)
                result.totalAssets = figureOf(r.at(4));
            if (bare(r.at(1)) == u"货币资金"_s)
                result.cash = figureOf(r.at(4));
            if (bare(r.at(6)).startsWith(u"负债和所有者权益"_s) && bare(r.at(6)).endsWith(u"总计"_s))
                result.totalLiabilitiesAndEquity = figureOf(r.at(9));
        } else if (kindOf(table) == StatementKind::Income) {
            const QString caption = bare(r.at(1));
            if (caption.contains(u"营业收入"_s) && !result.revenueMonth && !result.revenueYear) {
                result.revenueMonth = figureOf(r.at(5));
                result.revenueYear = figureOf(r.at(4));
            }
            if (caption.contains(u"净利润"_s)) {
                result.netProfitMonth = figureOf(r.at(5));
                result.netProfitYear = figureOf(r.at(4));
            }
        }
    }
}

const SetCredential *credentialFor(const QList<SetCredential> &credentials, const QString &path,
                                   const QString &relative)
{
    for (const SetCredential &c : credentials) {
        if (QDir::fromNativeSeparators(c.set) == relative || QFileInfo(c.set).absoluteFilePath() == path)
            return &c;
    }
    const QString shortName = shortNameOfSetFile(path);
    for (const SetCredential &c : credentials) {
        if (c.set == shortName)
            return &c;
    }
    return nullptr;
}

// One set's month end, every step through the operations the windows and
// commands use. Returns at the first step that is not done, the set marked
// failed with what that step said.
class SetRun
{
public:
    SetRun(const MonthEndOptions &options, MonthEndSetResult &result, const std::function<void()> &tell)
        : m_options(options)
        , m_result(result)
        , m_tell(tell)
    {
    }

    void run()
    {
        QElapsedTimer clock;
        clock.start();
        try {
            if (steps())
                m_result.state = SetRunState::Done;
        } catch (const std::exception &e) {
            fail(QString::fromStdString(e.what()));
        }
        try {
            m_session.CloseMainConnection();
        } catch (...) {
            // The connection is gone either way.
        }
        m_result.messages = m_dialogs.said;
        m_result.step.clear();
        m_result.seconds = double(clock.elapsed()) / 1000.0;
    }

private:
    bool fail(const QString &text)
    {
        m_result.state = SetRunState::Failed;
        if (!text.isEmpty() && !m_result.problems.contains(text))
            m_result.problems.append(text);
        return false;
    }

    // The result's failure when `done` is not done: what it said, else
    // the last message shown.
    bool ok(const OpResult &done)
    {
        if (done.isDone())
            return true;
        return fail(done.message.isEmpty() ? m_dialogs.last : done.message);
    }

    void step(const QString &text)
    {
        m_result.step = text;
        m_tell();
    }

    bool steps()
    {
        step(u"登录"_s);
        if (!logIn())
            return false;
        step(u"检查"_s);
        QStringList problems;
        const OpResult checked = CheckBooks(m_session, problems, m_dialogs);
        if (!checked.isDone()) {
            // The findings themselves, not the count the check ends with.
            for (const QString &p : std::as_const(problems))
                fail(p);
            return problems.isEmpty() ? ok(checked) : false;
        }
        if (!closeMonths() || !writeStatements() || !writeBalanceTable())
            return false;
        return backUp();
    }

    bool logIn()
    {
        const SetCredential *own = credentialFor(m_options.credentials, m_result.path, m_result.relativePath);
        const QString op = own ? own->operatorName : m_options.operatorName;
        const QString password = own ? own->password : m_options.password;
        // The set's passphrase opens this set and its backup on this worker
        // only; a wrong one is refused by the login's opening.
        if (own && !own->passphrase.isEmpty())
            m_passphrase.emplace(own->passphrase);
        m_session.setDbPath(m_result.path);
        if (!ok(CheckLogin(m_session, m_result.path, op, password, m_dialogs)))
            return false;
        QStringList operators;
        if (!ok(ChooseAccountSet(m_session, m_result.path, operators, m_dialogs)))
            return false;
        m_result.company = m_session.companyName();
        m_result.shortName = m_session.setShortName();
        m_result.year = m_session.fiscalYear();
        return true;
    }

    // Closes months 1..M that hold vouchers and are open, in order; a month
    // without a line has nothing to close.
    bool closeMonths()
    {
        const QString reviewer = m_options.reviewer.isEmpty() ? m_session.operatorName() : m_options.reviewer;
        for (int month = 1; month <= m_options.month; ++month) {
            const MonthState state = readMonthState(m_session, month);
            if (state.closed || state.maxNumber == 0)
                continue;
            step(u"结帐 %1 月"_s.arg(month));
            if (!ok(CloseMonth(m_session, QDate(m_session.fiscalYear(), month, 1), reviewer, m_dialogs)))
                return false;
            m_result.monthsClosed.append(month);
        }
        return true;
    }

    QString target(const QString &name)
    {
        m_result.outputs.append(m_result.relativePath + u'/' + name);
        return m_folder + u'/' + name;
    }

    bool writeStatements()
    {
        m_folder = QDir(m_options.outFolder).filePath(m_result.relativePath);
        if (!QDir().mkpath(m_folder))
            return fail(u"不能建立输出文件夹: "_s + m_folder);
        for (const StatementTable table : layoutTables(m_options.layout)) {
            step(statementTitle(table));
            if (!ok(EvaluateStatement(m_session, table, m_options.month, m_dialogs)))
                return false;
            Document doc;
            if (!ok(LayOutStatementReport(m_session, table, m_options.month, doc, m_dialogs))
                || !ok(WritePdf(doc, target(statementTitle(table) + u".pdf"_s), m_dialogs, nullptr, true))
                || !ok(WriteStatementWorkbook(m_session, table, m_options.month,
                                              target(statementTitle(table) + u".xlsx"_s), m_dialogs)))
                return false;
            ResultSet rows;
            if (!ok(ReadStatement(m_session, table, rows, m_dialogs)))
                return false;
            takeFigures(table, rows, m_result);
        }
        return true;
    }

    bool writeBalanceTable()
    {
        step(u"科目余额表"_s);
        const QString month = QString::number(m_options.month);
        Document doc;
        return ok(BuildBalanceTable(m_session, month, u"1"_s, m_dialogs))
            && ok(LayOutBalanceReport(m_session, month, 1, doc, m_dialogs))
            && ok(WritePdf(doc, target(u"科目余额表.pdf"_s), m_dialogs, nullptr, true));
    }

    // A backup only where the set names its backup folder.
    bool backUp()
    {
        AccountSetInfo info;
        if (!ok(ReadAccountSetInfo(m_session, info, m_dialogs)))
            return false;
        if (info.backupPath.trimmed().isEmpty())
            return true;
        step(u"备份"_s);
        return ok(MakeBackup(m_session, m_dialogs, &m_result.backupFile));
    }

    const MonthEndOptions &m_options;
    MonthEndSetResult &m_result;
    std::function<void()> m_tell;
    std::optional<ThreadSetPassphrase> m_passphrase; // outlives m_session
    Session m_session;
    SetDialogs m_dialogs;
    QString m_folder;
};

} // namespace

QStringList findAccountSets(const QString &folder, int year)
{
    QStringList sets;
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isSetFileName(it.fileName()) && (year == 0 || fiscalYearOfSetFile(path) == year))
            sets.append(QFileInfo(path).absoluteFilePath());
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

OpResult readCredentials(const QString &path, QList<SetCredential> &credentials)
{
    credentials.clear();
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return OpResult::refused(u"不能读取凭据文件: "_s + path);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (file.permissions() & others)
        return OpResult::refused(u"凭据文件 %1 可被其他用户读取, 请先 chmod 600 %1"_s.arg(path));
    int lineNumber = 0;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        ++lineNumber;
        QString text = line;
        if (text.endsWith(u'\r'))
            text.chop(1);
        if (text.trimmed().isEmpty() || text.startsWith(u'#'))
            continue;
        const QStringList fields = text.split(u'\t');
        if (fields.size() < 3 || fields.size() > 4 || fields.at(0).isEmpty() || fields.at(1).isEmpty())
            return OpResult::refused(
                u"凭据文件 %1 第 %2 行应为: 帐套<Tab>操作员<Tab>密码[<Tab>帐套密码]"_s.arg(path).arg(lineNumber));
        credentials.append({fields.at(0), fields.at(1), fields.at(2), fields.value(3)});
    }
    return OpResult::done();
}

OpResult RunMonthEnd(const MonthEndOptions &options, QList<MonthEndSetResult> &results,
                     const MonthEndProgress &progress, const std::atomic_bool *cancel)
{
    results.clear();
    if (options.month < 1 || options.month > 12)
        return OpResult::refused(u"月份应为 1-12"_s);
    if (!QFileInfo(options.setsFolder).isDir())
        return OpResult::refused(u"帐套文件夹不存在: "_s + options.setsFolder);
    if (options.outFolder.isEmpty())
        return OpResult::refused(u"请指定输出文件夹"_s);
    if (options.shards < 1 || options.shard < 1 || options.shard > options.shards)
        return OpResult::refused(u"分片应为 K/N, 1 ≤ K ≤ N"_s);

    const QDir root(QFileInfo(options.setsFolder).absoluteFilePath());
    const QString out = QFileInfo(options.outFolder).absoluteFilePath() + u'/';
    const QStringList sets = findAccountSets(root.absolutePath(), options.year);
    int index = 0;
    for (const QString &path : sets) {
        // Outputs kept under the sets folder are never taken for sets.
        if (path.startsWith(out))
            continue;
        if (index % options.shards == options.shard - 1) {
            MonthEndSetResult r;
            r.index = index;
            r.path = path;
            r.relativePath = root.relativeFilePath(path);
            r.month = options.month;
            r.year = fiscalYearOfSetFile(path);
            r.shortName = shortNameOfSetFile(path);
            results.append(r);
        }
        ++index;
    }

    std::mutex telling;
    const auto tell = [&](const MonthEndSetResult &r) {
        if (!progress)
            return;
        const std::lock_guard lock(telling);
        progress(r);
    };
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (;;) {
            if (cancel && cancel->load())
                return;
            const qsizetype i = next++;
            if (i >= results.size())
                return;
            MonthEndSetResult &r = results[i];
            r.state = SetRunState::Running;
            SetRun(options, r, [&] { tell(r); }).run();
            tell(r);
        }
    };
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int jobs = int(std::clamp<qsizetype>(options.jobs > 0 ? options.jobs : cores, 1, std::max<qsizetype>(1, results.size())));
    std::vector<std::thread> workers;
    for (int j = 1; j < jobs; ++j)
        workers.emplace_back(work);
    work();
    for (std::thread &w : workers)
        w.join();
    return OpResult::done();
}

} // namespace tz
