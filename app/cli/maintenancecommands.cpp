// Commands over the settings window: company name, operator name and
// password, backup folder, and the maintenance of the set (backup, restore,
// compact, check, carry forward, initialise).
#include <QFileInfo>
#include <QRegularExpression>

#include "app/cli/cli.h"
#include "maintenance/backup.h"
#include "maintenance/bookcheck.h"
#include "maintenance/carryforward.h"
#include "maintenance/compact.h"
#include "maintenance/initialise.h"
#include "maintenance/passphrase.h"
#include "maintenance/restore.h"
#include "maintenance/settings.h"
#include "store/changelog.h"
#include "store/paths.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kSettingsUsage
    = u"用法: settings company 单位全称 | rename 新操作员 | password [--new-password-file 文件]"
      " | backup-path 文件夹"_s;

// A new secret, never from the command line itself (the process list shows
// it to every user): the first line of `file` (when given), else the
// variable `variable`, else typed twice without echo at the terminal, as
// the window asks for it twice (prompted as `what`). Nothing when the file
// cannot be read (told as "不能读取" + `fileWhat` + "文件").
std::optional<std::pair<QString, QString>> newSecret(Context &ctx, const std::optional<QString> &file,
    const char *variable, const QString &what, const QString &fileWhat)
{
    if (file) {
        const std::optional<QString> line = firstLineOf(*file);
        if (!line) {
            ctx.dialogs.show(u"不能读取"_s + fileWhat + u"文件: "_s + *file, u"TZ305提示"_s, Icon::Critical);
            return std::nullopt;
        }
        return std::pair {*line, *line};
    }
    if (qEnvironmentVariableIsSet(variable)) {
        const QString value = qEnvironmentVariable(variable);
        return std::pair {value, value};
    }
    const QString typed = typedSecret(what + u": "_s);
    return std::pair {typed, typed.isEmpty() ? typed : typedSecret(u"再输入一次"_s + what + u": "_s)};
}

// The logged-in operator's new password: --new-password-file, else
// TZ305_NEW_PASSWORD, else typed twice.
int changePassword(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    QStringList rest;
    if (!takeOptions(args, {u"new-password-file"_s}, v, &rest))
        return Usage;
    if (!rest.isEmpty())
        return usageError(u"新密码不能写在命令行上(进程列表中人人可见): 请用 --new-password-file 文件(第一行)、"
                          "环境变量 TZ305_NEW_PASSWORD,或在终端提示时输入"_s);
    const auto file
        = v.contains(u"new-password-file"_s) ? std::optional(v.value(u"new-password-file"_s)) : std::nullopt;
    const auto secret = newSecret(ctx, file, "TZ305_NEW_PASSWORD", u"新密码"_s, u"密码"_s);
    if (!secret)
        return Failed;
    return exitStatusOf(
        ChangePassword(ctx.session, ctx.session.operatorName(), secret->first, secret->second, ctx.dialogs));
}

} // namespace

// 帐套加密 and its removal; the new passphrase from --file, else
// TZ305_NEW_SET_PASSPHRASE, else typed twice.
int passphraseCommand(Context &ctx, const QStringList &args)
{
    const QString usage = u"用法: passphrase set [--file 文件] | passphrase remove"_s;
    if (args == QStringList {u"remove"_s})
        return exitStatusOf(RemoveSetPassphrase(ctx.session, ctx.dialogs));
    QHash<QString, QString> v;
    QStringList rest;
    if (args.value(0) != u"set"_s || !takeOptions(args.mid(1), {u"file"_s}, v, &rest) || !rest.isEmpty())
        return usageError(usage);
    const auto file = v.contains(u"file"_s) ? std::optional(v.value(u"file"_s)) : std::nullopt;
    const auto secret = newSecret(ctx, file, "TZ305_NEW_SET_PASSPHRASE", u"帐套密码"_s, u"帐套密码"_s);
    if (!secret)
        return Failed;
    return exitStatusOf(SetSetPassphrase(ctx.session, secret->first, secret->second, ctx.dialogs));
}

int settingsCommand(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty() && args.first() == u"password"_s)
        return changePassword(ctx, args.mid(1));
    if (args.size() != 2)
        return usageError(kSettingsUsage);
    const QString &what = args.at(0);
    const QString &value = args.at(1);
    if (what == u"company"_s)
        return exitStatusOf(SaveCompanyName(ctx.session, value, ctx.dialogs));
    if (what == u"rename"_s)
        return exitStatusOf(RenameOperator(ctx.session, ctx.session.operatorName(), value, ctx.dialogs));
    if (what == u"backup-path"_s) {
        // A relative folder is taken from the working directory, as a shell user means it.
        const QString folder = value.isEmpty() ? value : QFileInfo(value).absoluteFilePath();
        return exitStatusOf(SetBackupPath(ctx.session, folder, ctx.dialogs));
    }
    return usageError(kSettingsUsage);
}

namespace {

// The backup into the set's backup folder.
OpResult backupIntoFolder(Session &session, Dialogs &dialogs, QString *written)
{
    return BackupAccountSet(session, dialogs, written);
}

// A command without arguments whose operation names the file it wrote
// (through its last argument); prints that file under `header`.
int writeFileCommand(Context &ctx, const QStringList &args, const QString &usage, const QString &header,
    OpResult (*operation)(Session &, Dialogs &, QString *))
{
    if (!args.isEmpty())
        return usageError(usage);
    QString written;
    const OpResult result = operation(ctx.session, ctx.dialogs, &written);
    return ctx.printIfDone(result, {header}, {written});
}

} // namespace

// The set's integrity and the books' rules; one row per problem found.
int checkCommand(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"check 不带参数"_s);
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

// 操作日志: the trail of changes, all or one month's.
int showLogCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"month"_s}, v))
        return 2;
    std::optional<int> month;
    if (v.contains(u"month"_s)) {
        bool ok = false;
        month = v.value(u"month"_s).toInt(&ok);
        if (!ok || *month < 0 || *month > 12)
            return usageError(u"用法: log [--month 月份(0-12)]"_s);
    }
    QList<ChangeLogRow> rows;
    const OpResult result = ReadChangeLog(ctx.session, rows, ctx.dialogs, month);
    if (!result.isDone())
        return exitStatusOf(result);
    QList<QStringList> table;
    for (const ChangeLogRow &row : std::as_const(rows))
        table.append(row.fields());
    ctx.print(changeLogColumns(), table);
    return 0;
}

// 帐套恢复: the backup made a set again, in the program's data folder (or
// --dir); prints the set made.
int restoreCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"from"_s, u"as"_s, u"dir"_s}, v))
        return 2;
    if (v.value(u"from"_s).isEmpty())
        return usageError(u"用法: restore --from 备份文件 [--as 帐套简称] [--dir 文件夹]"_s);
    // NAME is the set's short name; a whole set name (华新.Y24) is taken as its short name.
    QString name = v.value(u"as"_s);
    static const QRegularExpression setName(u"^(.+)\\.Y\\d\\d$"_s);
    if (const QRegularExpressionMatch m = setName.match(name); m.hasMatch())
        name = m.captured(1);
    const QString from = QFileInfo(v.value(u"from"_s)).absoluteFilePath();
    const QString folder = v.contains(u"dir"_s) ? QFileInfo(v.value(u"dir"_s)).absoluteFilePath() : dataFolder();
    QString restored;
    const OpResult result = RestoreBackup(
        ctx.dialogs, [&] { return from; }, folder, name, &restored);
    return ctx.printIfDone(result, {u"恢复的帐套"_s}, {restored});
}

int initialiseCommand(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"initialise 不带参数"_s);
    return exitStatusOf(InitialiseYear(ctx.session, ctx.dialogs));
}

int carryForwardCommand(Context &ctx, const QStringList &args)
{
    return writeFileCommand(ctx, args, u"carry-forward 不带参数"_s, u"新帐套"_s, CarryForward);
}

int compactCommand(Context &ctx, const QStringList &args)
{
    return writeFileCommand(ctx, args, u"compact 不带参数"_s, u"帐套"_s, CompactAccountSet);
}

int backupCommand(Context &ctx, const QStringList &args)
{
    return writeFileCommand(
        ctx, args, u"backup 不带参数(备份文件夹由 settings backup-path 设定)"_s, u"备份文件"_s, backupIntoFolder);
}

} // namespace tz::cli
