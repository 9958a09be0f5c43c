// Commands over the settings window's values: company name, operator name
// and password, backup folder.
#include <QFileInfo>

#include "app/cli/cli.h"
#include "maintenance/backup.h"
#include "maintenance/bookcheck.h"
#include "maintenance/carryforward.h"
#include "maintenance/initialise.h"
#include "maintenance/settings.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kSettingsUsage =
    u"settings needs one of: company NAME | rename NEWNAME | password NEW | backup-path DIR"_s;

int settings(Context &ctx, const QStringList &args)
{
    if (args.size() != 2)
        return usageError(kSettingsUsage);
    const QString &what = args.at(0);
    const QString &value = args.at(1);
    if (what == u"company"_s)
        return exitStatusOf(SaveCompanyName(ctx.session, value, ctx.dialogs));
    if (what == u"rename"_s)
        return exitStatusOf(RenameOperator(ctx.session, ctx.session.operatorName(), value, ctx.dialogs));
    if (what == u"password"_s) // typed once here; the window asks for it twice
        return exitStatusOf(ChangePassword(ctx.session, ctx.session.operatorName(), value, value, ctx.dialogs));
    if (what == u"backup-path"_s) {
        // A relative folder is taken from the working directory, as a shell user means it.
        const QString folder = value.isEmpty() ? value : QFileInfo(value).absoluteFilePath();
        return exitStatusOf(SetBackupPath(ctx.session, folder, ctx.dialogs));
    }
    return usageError(kSettingsUsage);
}

// The backup into the set's backup folder; prints the file written.
int backup(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"backup takes no arguments (the folder is settings backup-path)"_s);
    QString written;
    const OpResult result = BackupAccountSet(ctx.session, ctx.dialogs, &written);
    if (result.isDone())
        ctx.print({u"备份文件"_s}, {{written}});
    return exitStatusOf(result);
}

// The set's integrity and the books' rules; one row per problem found.
int check(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"check takes no arguments"_s);
    QStringList problems;
    const OpResult result = CheckBooks(ctx.session, problems, ctx.dialogs);
    if (!problems.isEmpty()) {
        QList<QStringList> rows;
        for (const QString &problem : std::as_const(problems))
            rows.append({problem});
        ctx.print({u"问题"_s}, rows);
    }
    return exitStatusOf(result);
}

// 年度过帐: prints the next year's file.
int carryForward(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"carry-forward takes no arguments"_s);
    QString created;
    const OpResult result = CarryForward(ctx.session, ctx.dialogs, &created);
    if (result.isDone())
        ctx.print({u"新帐套"_s}, {{created}});
    return exitStatusOf(result);
}

int initialise(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"initialise takes no arguments"_s);
    return exitStatusOf(InitialiseYear(ctx.session, ctx.dialogs));
}

} // namespace

void addMaintenanceCommands(QList<Command> &commands)
{
    commands.append({u"initialise"_s,
                     u"initialise   empty the year's journal and opening balances after a backup (asks three times; --yes)"_s,
                     Command::Needs::Login, initialise});
    commands.append({u"carry-forward"_s,
                     u"carry-forward   next year's set beside this one, its openings this year's closing balances "
                     "(asks; --yes)"_s,
                     Command::Needs::Login, carryForward});
    commands.append({u"backup"_s, u"backup   a dated copy of the set in its backup folder (asks; --yes)"_s,
                     Command::Needs::Login, backup});
    commands.append({u"check"_s,
                     u"check   the file's integrity and the books' rules (balanced vouchers, gap-free numbers, "
                     "detail accounts, opening balance, closed months)"_s,
                     Command::Needs::Login, check});
    commands.append({u"settings"_s,
                     u"settings company NAME | rename NEWNAME | password NEW | backup-path DIR   "
                     "the settings window's values of the logged-in operator"_s,
                     Command::Needs::Login, settings});
}

} // namespace tz::cli
