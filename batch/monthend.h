// A bookkeeping firm's month end over a folder of account sets: each set
// logged in, checked, its open months closed up to the month, its
// statements and balance table written, and backed up, sets running side by
// side on worker threads. The command line (batch month-end) and the
// 批量月结 window both run this one operation: the window fills the options
// from its controls, shows each set's progress from the callback and cancels
// through the flag.
#pragma once

#include <atomic>
#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "store/opresult.h"

namespace tz {

// The statements written for each set: the small-enterprise layout
// (资产表13, 利润表13, 现流表) or the general one (资产表07, 利润表07, 现流表).
enum class StatementLayout {
    Small13,
    General07,
};

// One set's login, overriding the run's operator and password.
struct SetCredential
{
    QString set; // the set's path relative to the folder, its absolute path, or its short name
    QString operatorName;
    QString password;
    QString passphrase; // the set's own passphrase (帐套加密); empty: none given
};

struct MonthEndOptions
{
    QString setsFolder;    // searched recursively for account-set files
    int month = 0;         // 1..12: closed up to and reported
    QString outFolder;     // outputs under OUT/<set's path relative to the folder>/
    QString operatorName;  // the login of every set without its own credential
    QString password;
    QList<SetCredential> credentials;
    QString reviewer;      // 审核 of the transfer vouchers; empty: the operator
    StatementLayout layout = StatementLayout::Small13;
    int year = 0;          // keeps only the sets of this fiscal year; 0: every year
    int jobs = 0;          // sets run at once, each on its own worker and connection; 0: the cores
    int shard = 1;         // with shards > 1 only the sets whose index in the
    int shards = 1;        // sorted list is shard - 1 modulo shards
};

// Where a set is in the run, as the window's table shows it.
enum class SetRunState {
    Waiting,
    Running,
    Done,
    Failed,
};

// A figure of a statement; nothing where the statement shows no figure.
using Figure = std::optional<qint64>; // cents

// What the run did to one set: one line of results.jsonl and one row of
// summary.xlsx.
struct MonthEndSetResult
{
    int index = 0;        // in the sorted list of sets found (before sharding)
    QString path;         // absolute path of the set
    QString relativePath; // relative to the sets folder, '/' separated
    QString company;
    QString shortName;
    int year = 0;
    int month = 0;
    SetRunState state = SetRunState::Waiting;
    QString step;            // while running: the step under way (登录, 检查, 结帐 3 月 ...)
    QList<int> monthsClosed; // by this run, in order
    QStringList problems;    // why the set failed: the check's findings or the refusing message
    QStringList messages;    // what the closings and the other steps said
    Figure totalAssets;                 // 资产总计, 期末
    Figure totalLiabilitiesAndEquity;   // 负债和所有者权益总计, 期末
    Figure cash;                        // 货币资金, 期末
    Figure revenueMonth;                // 营业收入, 本月
    Figure revenueYear;                 // 营业收入, 本年累计
    Figure netProfitMonth;              // 净利润, 本月
    Figure netProfitYear;               // 净利润, 本年累计
    QStringList outputs;     // files written, relative to the output folder
    QString backupFile;      // the backup made, absolute; empty when the set names no backup folder
    double seconds = 0;

    bool isOk() const { return state == SetRunState::Done; }
};

// Told each change of a set's state: Running when a worker takes it (its
// message the step), Done or Failed at its end with the whole result.
// Called from the worker threads, one call at a time: a window posts it to
// its own thread.
using MonthEndProgress = std::function<void(const MonthEndSetResult &)>;

// The account-set files under `folder` at any depth (names ending in "Y"
// and two digits, as the login window takes them), sorted by path; with
// `year` only those of that fiscal year.
QStringList findAccountSets(const QString &folder, int year = 0);

// Reads a credentials file: one set per line, set, operator, password and
// optionally the set's passphrase separated by tabs; blank lines and lines
// starting with '#' are skipped. A file that the group or others may read
// is refused, as ssh refuses a readable key: "凭据文件 F 可被其他用户读取,
// 请先 chmod 600 F"; so is a file that cannot be read or a line without
// three or four fields.
OpResult readCredentials(const QString &path, QList<SetCredential> &credentials);

// Runs the month end over the options' sets (those of the shard), `jobs`
// at a time. Each set, in order: login (its credential, else the options'
// operator and password); CheckBooks, and a set with problems is failed and
// left untouched; CloseMonth for each open month 1..month, in order, each
// in its own transaction with its own checks; the layout's three statements
// for the month as PDF and workbook; the balance table (depth 1) as PDF; a
// backup into the set's backup folder when 信息表 names one. Outputs replace
// those of an earlier run (write-verify-rename). A set that fails (login,
// check, a month that cannot close, a damaged or locked file) is reported
// and the others go on. Once `cancel` is set no further set starts; those
// running finish. A set whose credential names a passphrase is opened
// with it (as are those opening with a passphrase the process was given);
// a passphrase that does not open its set fails that set alone. `results` receives every set of the shard in index order
// (sets never started stay Waiting). Refused when the options are unusable
// (no folder, no month); otherwise done, whatever the sets' outcome.
OpResult RunMonthEnd(const MonthEndOptions &options, QList<MonthEndSetResult> &results,
                     const MonthEndProgress &progress = {}, const std::atomic_bool *cancel = nullptr);

} // namespace tz
