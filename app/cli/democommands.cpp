// The demo command: a complete demonstration account set made through the
// operations the windows use.
#include <cstdio>

#include <QDir>
#include <QFileInfo>

#include "app/cli/cli.h"
#include "demo/demobooks.h"
#include "store/accountset.h"
#include "store/login.h"
#include "store/paths.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

// Answers Yes to every question and keeps quiet; the last message is
// printed only when the operation that spoke is refused or fails.
class QuietDialogs : public Dialogs {
public:
    void show(const QString &text, const QString &title, Icon) override
    {
        m_text = text;
        m_title = title;
    }
    bool ask(const QString &, const QString &) override { return true; }

    // Prints the last message of an operation that was not done.
    int report(const OpResult &result) const
    {
        if (!result.isDone()) {
            const QString text = m_text.isEmpty() ? result.message : m_text;
            std::fprintf(
                stderr, "[%s] %s\n", qPrintable(m_title.isEmpty() ? applicationTitle() : m_title), qPrintable(text));
        }
        return exitStatusOf(result);
    }

private:
    QString m_text;
    QString m_title;
};

bool positive(const QString &text, int low, int high, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

} // namespace

int demoCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"dir"_s, u"year"_s, u"vouchers-per-month"_s, u"seed"_s}, v))
        return Usage;
    const QString synopsis
        = u"用法: demo [--dir 文件夹] [--year 年度(2015-2099)] [--vouchers-per-month 每月凭证数(1-9999)]"
          " [--seed 随机种子]"_s;
    int year = 0;
    int perMonth = 0;
    bool seedOk = false;
    const QString yearText = v.value(u"year"_s, u"2024"_s);
    const quint32 seed = v.value(u"seed"_s, u"1"_s).toUInt(&seedOk);
    if (!positive(yearText, 2015, 2099, year) || !positive(v.value(u"vouchers-per-month"_s, u"20"_s), 1, 9999, perMonth)
        || !seedOk)
        return usageError(synopsis);

    QuietDialogs dialogs;
    // Without --dir the set goes where the README's headless run keeps it.
    const QString dir = QFileInfo(v.value(u"dir"_s, dataFolder() + u"/demo"_s)).absoluteFilePath();
    QString created;
    const OpResult made = CreateAccountSet(u"示例"_s, yearText, dir, dialogs, &created);
    if (!made.isDone())
        return dialogs.report(made);

    Session &session = ctx.session;
    QStringList operators;
    const OpResult chosen = ChooseAccountSet(session, created, operators, dialogs);
    if (!chosen.isDone())
        return dialogs.report(chosen);
    session.setOperatorName(u"主管"_s);
    session.setFiscalYear(qint16(year));

    DemoBooksCounts counts;
    const OpResult books = MakeDemoBooks(session, year, perMonth, seed, dialogs, &counts);
    session.CloseMainConnection();
    if (!books.isDone())
        return dialogs.report(books);

    std::printf("%s\tvouchers %d\tlines %d\tmonths closed %d\n", qPrintable(QDir::toNativeSeparators(created)),
        counts.vouchers, counts.lines, counts.monthsClosed);
    return Done;
}

} // namespace tz::cli
