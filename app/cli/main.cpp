// tz305-cli: the headless twin of the windows. Global options choose the
// account set and log in exactly as the login window does; each command
// calls the same operations as the windows. Tables go to stdout as TSV with
// a header row, messages to stderr as "[title] text".
#include <cstdio>
#include <memory>
#include <optional>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringDecoder>

#include "app/cli/cli.h"
#include "maintenance/salvage.h"
#include "store/login.h"
#include "store/setkeys.h"

using namespace Qt::Literals::StringLiterals;
using namespace tz::cli;

namespace {

void printHelp(const QList<Command> &commands)
{
    std::printf("用法: tz305-cli [--set 帐套文件] [--set-passphrase-file 文件] [--operator 操作员]"
                " [--password-file 文件 | --password 密码] [--yes] [--csv]"
                " 命令 ...\n"
                "\n"
                "  --set 帐套文件        要打开的帐套(同登录窗口的选择帐套)\n"
                "  --operator 操作员     登录的操作员\n"
                "  --password-file 文件  操作员密码取自该文件的第一行\n"
                "  --set-passphrase-file 文件  加密帐套的帐套密码取自该文件的第一行\n"
                "                        (或环境变量 TZ305_SET_PASSPHRASE)\n"
                "  --password 密码       操作员密码(本机所有用户都能在进程列表中看到;\n"
                "                        宜用 --password-file、环境变量 TZ305_PASSWORD,\n"
                "                        或在终端提示时输入)\n"
                "  --yes                 所有提问都答“是”(否则在非交互时答“否”)\n"
                "  --csv                 表格以 CSV 输出(默认 TSV)\n"
                "  --version             显示程序的版本\n"
                "  --help                显示本说明\n"
                "\n命令:\n");
    for (const Command &c : commands)
        std::printf("  %s\n", qPrintable(c.synopsis));
    std::printf("\n退出状态: 0 完成, 1 被拒绝或答“否”, 2 用法错误, 3 数据库或文件错误\n");
}

// The password when --password is not given: the first line of the
// password file, else the TZ305_PASSWORD variable, else typed at a prompt
// without echo when a terminal is attached, else empty (the login check
// then refuses). Nothing when the file cannot be read.
std::optional<QString> operatorPassword(const QString &passwordFile, const QString &operatorName)
{
    if (!passwordFile.isEmpty())
        return firstLineOf(passwordFile);
    if (qEnvironmentVariableIsSet("TZ305_PASSWORD"))
        return qEnvironmentVariable("TZ305_PASSWORD");
    return typedSecret(operatorName + u" 的密码: "_s);
}

// The command's name: the first argument that is neither a global option
// nor an option's value.
QByteArray commandNameIn(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--set" || arg == "--operator" || arg == "--password" || arg == "--password-file"
            || arg == "--set-passphrase-file")
            ++i;
        else if (!arg.startsWith("--"))
            return arg;
    }
    return {};
}

// The GUI application's notice that XDG_RUNTIME_DIR is unset (usual in
// scripts and services) is dropped, so stderr holds only our messages.
QtMessageHandler previousHandler = nullptr;

void quietRuntimeDirNotice(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"_s))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

// Arguments arrive as bytes and are read as UTF-8. Bytes that are no UTF-8
// would be read as other characters, and a file would get another name than
// the one typed, so such an argument is refused: the usage status, else
// nothing.
std::optional<int> refuseNonUtf8(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(QByteArrayView(argv[i]));
        if (utf8.hasError())
            return usageError(u"参数不是有效的 UTF-8 文本(文件名也须是 UTF-8): "_s + text);
    }
    return std::nullopt;
}

// Printing (and the batch, which writes PDF files) measures and paints
// text, which needs the GUI application; the command line shows no window,
// so it runs offscreen.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    const bool printing = commandNameIn(argc, argv) == "print" || commandNameIn(argc, argv) == "batch";
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (printing)
        previousHandler = qInstallMessageHandler(quietRuntimeDirNotice);
    std::unique_ptr<QCoreApplication> app
        = printing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(u"tz305"_s);
    return app;
}

// Takes the global options from the front of `args` into `options` (the
// password file's name into `passwordFile`). Returns the exit status when
// the program ends here (--help, a usage problem), else nothing.
std::optional<int> takeGlobalOptions(
    QStringList &args, Options &options, QString &passwordFile, const QList<Command> &commands)
{
    while (!args.isEmpty() && args.first().startsWith(u"--"_s)) {
        const QString option = args.takeFirst();
        const auto value = [&](QString &target) {
            if (args.isEmpty())
                return false;
            target = args.takeFirst();
            return true;
        };
        bool ok = true;
        if (option == u"--set"_s) {
            ok = value(options.setPath);
        } else if (option == u"--operator"_s) {
            ok = value(options.operatorName);
            options.operatorGiven = true;
        } else if (option == u"--password"_s) {
            ok = value(options.password);
            options.passwordGiven = true;
        } else if (option == u"--password-file"_s) {
            ok = value(passwordFile);
        } else if (option == u"--set-passphrase-file"_s) {
            ok = value(options.setPassphraseFile);
        } else if (option == u"--yes"_s) {
            options.yes = true;
        } else if (option == u"--csv"_s) {
            options.csv = true;
        } else if (option == u"--help"_s) {
            printHelp(commands);
            return Done;
        } else if (option == u"--version"_s) {
            std::printf("tz305-cli %s\n", TZ305_VERSION);
            return Done;
        } else {
            return usageError(u"未知的选项: "_s + option);
        }
        if (!ok)
            return usageError(u"选项 %1 缺少值"_s.arg(option));
    }
    return std::nullopt;
}

// Opens the set the command needs: logs in as the login window does when
// the command needs a login or --operator is given, then chooses the set.
// Returns the exit status when the command must not run, else nothing; a
// compact of a set too damaged to log in to runs without the choice.
std::optional<int> openSetFor(Context &ctx, const Command &command, const QString &passwordFile)
{
    if (command.needs == Command::Needs::OwnSets) {
        // The login given applies to every set the command opens itself.
        if (ctx.options.operatorGiven && !ctx.options.passwordGiven) {
            const std::optional<QString> password = operatorPassword(passwordFile, ctx.options.operatorName);
            if (!password) {
                ctx.dialogs.show(u"不能读取密码文件: "_s + passwordFile, u"TZ305提示"_s, tz::Icon::Critical);
                return Failed;
            }
            ctx.options.password = *password;
        }
        return std::nullopt;
    }
    const bool login = command.needs == Command::Needs::Login || ctx.options.operatorGiven;
    if (command.needs == Command::Needs::Nothing && !login)
        return std::nullopt;
    if (ctx.options.setPath.isEmpty())
        return usageError(u"命令 "_s + command.name + u" 需要 --set 帐套文件"_s);
    // Login runs the login window's checks first, so a missing or misnamed
    // file gets their message; then the set is chosen.
    if (login) {
        if (!ctx.options.passwordGiven) {
            const std::optional<QString> password = operatorPassword(passwordFile, ctx.options.operatorName);
            if (!password) {
                ctx.dialogs.show(u"不能读取密码文件: "_s + passwordFile, u"TZ305提示"_s, tz::Icon::Critical);
                return Failed;
            }
            ctx.options.password = *password;
        }
        ctx.session.setDbPath(ctx.options.setPath);
        const tz::OpResult checked = tz::CheckLogin(
            ctx.session, ctx.options.setPath, ctx.options.operatorName, ctx.options.password, ctx.dialogs);
        if (!checked.isDone()) {
            // 压缩修复 is the way out the login's message names: on a set too
            // damaged to log in to, it only salvages what still reads into a
            // new set and never writes this one.
            if (command.name != u"compact"_s || !checked.isFailed() || !tz::isDamagedAccountSet(ctx.options.setPath))
                return exitStatusOf(checked);
            return std::nullopt;
        }
    }
    QStringList operators;
    const tz::OpResult chosen = tz::ChooseAccountSet(ctx.session, ctx.options.setPath, operators, ctx.dialogs);
    if (!chosen.isDone())
        return exitStatusOf(chosen);
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    if (const std::optional<int> refused = refuseNonUtf8(argc, argv))
        return *refused;
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    const QList<Command> commands = allCommands();

    QStringList args = app->arguments().mid(1);
    Context ctx;
    QString passwordFile;
    if (const std::optional<int> ended = takeGlobalOptions(args, ctx.options, passwordFile, commands))
        return *ended;
    if (args.isEmpty()) {
        printHelp(commands);
        return Usage;
    }
    const QString name = args.takeFirst();
    const auto command
        = std::find_if(commands.cbegin(), commands.cend(), [&name](const Command &c) { return c.name == name; });
    if (command == commands.cend())
        return usageError(u"未知的命令: "_s + name + u"(tz305-cli --help 列出全部命令)"_s);

    ctx.dialogs = TerminalDialogs(ctx.options.yes);
    // A set under its own passphrase opens with it (and so do its copies).
    if (!ctx.options.setPassphraseFile.isEmpty()) {
        const std::optional<QString> line = firstLineOf(ctx.options.setPassphraseFile);
        if (!line) {
            ctx.dialogs.show(
                u"不能读取帐套密码文件: "_s + ctx.options.setPassphraseFile, u"TZ305提示"_s, tz::Icon::Critical);
            return Failed;
        }
        tz::rememberSetPassphrase(*line);
    } else if (qEnvironmentVariableIsSet("TZ305_SET_PASSPHRASE")) {
        tz::rememberSetPassphrase(qEnvironmentVariable("TZ305_SET_PASSPHRASE"));
    }
    if (const std::optional<int> ended = openSetFor(ctx, *command, passwordFile))
        return *ended;
    return command->run(ctx, args);
}
