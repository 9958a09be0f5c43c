// The command-line twin of the windows: global options, the command table,
// the table output and the exit statuses.
#pragma once

#include <functional>
#include <optional>

#include <QHash>

#include <QList>
#include <QString>
#include <QStringList>

#include "app/cli/terminaldialogs.h"
#include "ledgers/ledgerquery.h"
#include "store/lookupaccount.h"
#include "store/opresult.h"
#include "store/resultset.h"
#include "store/session.h"

namespace tz::cli {

// Exit statuses.
enum ExitStatus {
    Done = 0,
    Refused = 1, // a check failed or a question was answered No
    Usage = 2,
    Failed = 3, // database or file error
};

int exitStatusOf(const OpResult &result);

struct Options {
    QString setPath;
    QString operatorName;
    QString password;
    QString setPassphraseFile; // --set-passphrase-file
    bool operatorGiven = false;
    bool passwordGiven = false;
    bool yes = false;
    bool csv = false;
};

struct Context {
    Options options;
    Session session;
    TerminalDialogs dialogs {false};

    // Prints rows as TSV (or CSV) with a header row of the column names;
    // NULL is an empty field.
    void print(const ResultSet &rows) const;
    void print(const QStringList &header, const QList<QStringList> &rows) const;

    // The end of most commands: when `result` is done, prints its table (or
    // its one row under `header`); returns the result's exit status.
    int printIfDone(const OpResult &result, const ResultSet &rows) const;
    int printIfDone(const OpResult &result, const QStringList &header, const QStringList &row) const;
};

struct Command {
    enum class Needs {
        Nothing, // no account set
        Set, // --set, chosen as in the login window
        Login, // --set, --operator and --password, checked as at login
        OwnSets, // sets of its own (batch): --operator and the password apply to each
    };
    QString name;
    QString synopsis;
    Needs needs;
    std::function<int(Context &, const QStringList &args)> run;
};

// One word after a command's name (account add, voucher show ...) and what
// it runs with the arguments after it.
struct SubCommand {
    QString name;
    std::function<int(Context &, const QStringList &args)> run;
};

// Runs the sub-command that the first argument names; any other first
// argument is a usage error that prints `usage`.
int runSubCommand(Context &ctx, const QStringList &args, const QList<SubCommand> &subCommands, const QString &usage);

// The commands, each run with the arguments after its name (in the files
// named).

// storecommands.cpp: sets, operators, the chart, a read-only query
int newSetCommand(Context &ctx, const QStringList &args);
int operatorsCommand(Context &ctx, const QStringList &args);
int infoCommand(Context &ctx, const QStringList &args);
int loginValuesCommand(Context &ctx, const QStringList &args);
int accountsCommand(Context &ctx, const QStringList &args);
int sqlCommand(Context &ctx, const QStringList &args);

// accountcommands.cpp: the chart of accounts
int accountCommand(Context &ctx, const QStringList &args);
int searchCommand(Context &ctx, const QStringList &args);

// masterdatacommands.cpp: phrases, cash-flow items, opening balances
int phraseCommand(Context &ctx, const QStringList &args);
int itemCommand(Context &ctx, const QStringList &args);
int openingCommand(Context &ctx, const QStringList &args);

// maintenancecommands.cpp: settings and the set's maintenance
int initialiseCommand(Context &ctx, const QStringList &args);
int carryForwardCommand(Context &ctx, const QStringList &args);
int restoreCommand(Context &ctx, const QStringList &args);
int compactCommand(Context &ctx, const QStringList &args);
int backupCommand(Context &ctx, const QStringList &args);
int checkCommand(Context &ctx, const QStringList &args);
int showLogCommand(Context &ctx, const QStringList &args);
int passphraseCommand(Context &ctx, const QStringList &args);
int settingsCommand(Context &ctx, const QStringList &args);

// closingcommands.cpp: 结帐 and 反结帐
int closeCommand(Context &ctx, const QStringList &args);
int reopenCommand(Context &ctx, const QStringList &args);

// vouchercommands.cpp: vouchers
int voucherCommand(Context &ctx, const QStringList &args);

// democommands.cpp: the demonstration books
int demoCommand(Context &ctx, const QStringList &args);

// ledgercommands.cpp: ledgers
int ledgerCommand(Context &ctx, const QStringList &args);

// tablecommands.cpp: the balance table, summary and journals
int balanceCommand(Context &ctx, QStringList args);
int summaryCommand(Context &ctx, const QStringList &args);
int journalCommand(Context &ctx, const QStringList &args);
int filterCommand(Context &ctx, const QStringList &args);
int exportJournalCommand(Context &ctx, const QStringList &args);

// statementcommands.cpp: statements and their formulas
int statementCommand(Context &ctx, const QStringList &args);
int statementTemplateCommand(Context &ctx, const QStringList &args);

// printcommands.cpp: printing
int printCommand(Context &ctx, const QStringList &args);

// exportcommands.cpp: workbooks
int exportCommand(Context &ctx, const QStringList &args);

// revaluationcommands.cpp: 期末调汇
int revalueCommand(Context &ctx, QStringList args);

// batchcommands.cpp: the firm's month end
int batchCommand(Context &ctx, const QStringList &args);

// Every command, in the order --help lists them.
QList<Command> allCommands();

// Builds the ledger of the options --account and --price-digits in
// `format`, as the ledger command does; `account` receives the account's
// lookup values. Returns the exit status, Done when the ledger is built.
int buildLedgerOf(Context &ctx, const QHash<QString, QString> &options, LedgerFormat format, AccountLookup &account);

// The balance table's --depth of `options`: "1" to "4" (the chart's levels),
// "1" when not given; any other text is a usage error, printed, and nothing.
std::optional<QString> balanceDepth(const QHash<QString, QString> &options);

// Reads "--name VALUE" options from args into values; returns false (after
// printing the usage problem) on an unknown option or a missing value.
bool takeOptions(
    QStringList args, const QStringList &names, QHash<QString, QString> &values, QStringList *rest = nullptr);

// Prints a usage problem for a command and returns the usage exit status.
int usageError(const QString &text);

// The first line of the file at `path` without its line end; nothing when
// the file cannot be read.
std::optional<QString> firstLineOf(const QString &path);

// A line typed at the terminal after `prompt` (on stderr), not echoed;
// empty when no terminal is attached.
QString typedSecret(const QString &prompt);

} // namespace tz::cli
