// Commands over the settings window's values: company name, operator name
// and password, backup folder.
#include <QFileInfo>

#include "app/cli/cli.h"
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

} // namespace

void addMaintenanceCommands(QList<Command> &commands)
{
    commands.append({u"settings"_s,
                     u"settings company NAME | rename NEWNAME | password NEW | backup-path DIR   "
                     "the settings window's values of the logged-in operator"_s,
                     Command::Needs::Login, settings});
}

} // namespace tz::cli
