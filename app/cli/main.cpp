// tz305-cli: the headless twin of the windows. Global options choose the
// account set and log in exactly as the login window does; each command
// calls the same operations as the windows. Tables go to stdout as TSV with
// a header row, messages to stderr as "[title] text".
#include <cstdio>
#include <memory>
#include <optional>

#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include "app/cli/cli.h"
#include "store/login.h"

using namespace Qt::Literals::StringLiterals;
using namespace tz::cli;

namespace {

void printHelp(const QList<Command> &commands)
{
    std::printf("usage: tz305-cli [--set FILE] [--operator NAME] [--password-file F | --password PW] [--yes] [--csv]"
                " COMMAND ...\n"
                "\n"
                "  --set FILE       the account set (as chosen in the login window)\n"
                "  --operator NAME  operator to log in as\n"
                "  --password-file F  read the operator's password from the first line of F\n"
                "  --password PW    the operator's password (seen by every user in the process list;\n"
                "                   prefer --password-file, the TZ305_PASSWORD variable, or the prompt\n"
                "                   shown when a terminal is attached)\n"
                "  --yes            answer Yes to every question (otherwise No when not interactive)\n"
                "  --csv            print tables as CSV instead of TSV\n"
                "\ncommands:\n");
    for (const Command &c : commands)
        std::printf("  %s\n", qPrintable(c.synopsis));
    std::printf("\nexit status: 0 done, 1 refused, 2 usage error, 3 database or file error\n");
}

// The password when --password is not given: the first line of the
// password file, else the TZ305_PASSWORD variable, else typed at a prompt
// without echo when a terminal is attached, else empty (the login check
// then refuses). Nothing when the file cannot be read.
std::optional<QString> operatorPassword(const QString &passwordFile, const QString &operatorName)
{
    if (!passwordFile.isEmpty()) {
        QFile file(passwordFile);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        return line;
    }
    if (qEnvironmentVariableIsSet("TZ305_PASSWORD"))
        return qEnvironmentVariable("TZ305_PASSWORD");
    if (!isatty(STDIN_FILENO))
        return QString();
    std::fprintf(stderr, "%s", qPrintable(operatorName + u" 的密码: "_s));
    std::fflush(stderr);
    termios saved {};
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QTextStream in(stdin);
    const QString typed = in.readLine();
    if (terminal)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fprintf(stderr, "\n");
    return typed;
}

// The command's name: the first argument that is neither a global option
// nor an option's value.
QByteArray commandNameIn(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--set" || arg == "--operator" || arg == "--password" || arg == "--password-file")
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

} // namespace

int main(int argc, char **argv)
{
    // Printing measures and paints text, which needs the GUI application;
    // the command line shows no window, so it runs offscreen.
    const bool printing = commandNameIn(argc, argv) == "print";
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (printing)
        previousHandler = qInstallMessageHandler(quietRuntimeDirNotice);
    const std::unique_ptr<QCoreApplication> app = printing ? std::make_unique<QGuiApplication>(argc, argv)
                                                           : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(u"tz305"_s);

    QList<Command> commands;
    addStoreCommands(commands);
    addAccountCommands(commands);
    addMasterDataCommands(commands);
    addMaintenanceCommands(commands);
    addClosingCommands(commands);
    addVoucherCommands(commands);
    addDemoCommands(commands);
    addLedgerCommands(commands);
    addTableCommands(commands);
    addStatementCommands(commands);
    addPrintCommands(commands);
    addExportCommands(commands);
    addRevaluationCommands(commands);

    QStringList args = app->arguments().mid(1);
    Context ctx;
    QString passwordFile;
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
            ok = value(ctx.options.setPath);
        } else if (option == u"--operator"_s) {
            ok = value(ctx.options.operatorName);
            ctx.options.operatorGiven = true;
        } else if (option == u"--password"_s) {
            ok = value(ctx.options.password);
            ctx.options.passwordGiven = true;
        } else if (option == u"--password-file"_s) {
            ok = value(passwordFile);
        } else if (option == u"--yes"_s) {
            ctx.options.yes = true;
        } else if (option == u"--csv"_s) {
            ctx.options.csv = true;
        } else if (option == u"--help"_s) {
            printHelp(commands);
            return Done;
        } else {
            return usageError(u"unknown option "_s + option);
        }
        if (!ok)
            return usageError(u"option %1 needs a value"_s.arg(option));
    }
    if (args.isEmpty()) {
        printHelp(commands);
        return Usage;
    }
    const QString name = args.takeFirst();
    const auto command = std::find_if(commands.cbegin(), commands.cend(),
                                      [&name](const Command &c) { return c.name == name; });
    if (command == commands.cend())
        return usageError(u"unknown command "_s + name);

    ctx.dialogs = TerminalDialogs(ctx.options.yes);
    const bool login = command->needs == Command::Needs::Login || ctx.options.operatorGiven;
    if (command->needs != Command::Needs::Nothing || login) {
        if (ctx.options.setPath.isEmpty())
            return usageError(name + u" needs --set FILE"_s);
        // Login runs the login window's checks first, so a missing or
        // misnamed file gets their message; then the set is chosen.
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
            const tz::OpResult checked = tz::CheckLogin(ctx.session, ctx.options.setPath, ctx.options.operatorName,
                                                        ctx.options.password, ctx.dialogs);
            if (!checked.isDone())
                return exitStatusOf(checked);
        }
        QStringList operators;
        const tz::OpResult chosen = tz::ChooseAccountSet(ctx.session, ctx.options.setPath, operators, ctx.dialogs);
        if (!chosen.isDone())
            return exitStatusOf(chosen);
    }
    return command->run(ctx, args);
}
