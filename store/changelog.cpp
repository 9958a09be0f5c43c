// The trail of changes.
#include "store/changelog.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QVariant>

#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// What a voucher's digest covers: each line's place in the voucher and
// every field the program writes, but not the voucher's number (an
// insertion or a deletion renumbers later vouchers without changing them)
// nor the closing mark (closing and reopening set it on a whole month).
const QString kDigestColumns
    = u"日期, 字号, 制单, 审核, 附件, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额, 流代, 流金"_s;
const QString kOpeningLinesSql
    = u"SELECT 0, 0, ID, "_s + kDigestColumns + u" FROM 分录表 WHERE ID < 8010000000 ORDER BY ID"_s;
// The lines of month ?1's vouchers numbered from ?2 to below ?3 (`upTo`
// "<") or up to ?3 ("<="): a range of the numbers' index.
QString monthLinesSql(const QString &upTo)
{
    return u"SELECT 月, 号码, ID % 1000, "_s + kDigestColumns + u" FROM 分录表 WHERE 月 = ?1 AND 号码 >= ?2 AND 号码 "_s
        + upTo + u" ?3 AND ID >= 8010000000 ORDER BY 号码, ID"_s;
}
const QString kMonthLinesSql = monthLinesSql(u"<"_s);
const QString kLastMonthLinesSql = monthLinesSql(u"<="_s);
// The highest number of month ?1's vouchers numbered ?2 to ?3.
const QString kLastNumberSql = u"SELECT max(号码) FROM 分录表 WHERE 月 = ?1 AND 号码 BETWEEN ?2 AND ?3"_s;
// A month at the voucher limit has 40,000 lines: its vouchers are read and
// digested this many at a time, never held as rows all at once.
constexpr qint64 kVouchersAtOnce = 500;
const QString kAllLinesSql = u"SELECT 月, 号码, ID % 1000, "_s + kDigestColumns
    + u" FROM 分录表 WHERE ID >= 8010000000 ORDER BY 月, 号码, ID"_s;
const QString kInsertRecordSql = u"INSERT INTO 凭证指纹 (月, 号码, 摘要, 日志) VALUES (?, ?, ?, ?)"_s;

struct Digested {
    int month = 0;
    int number = 0;
    QString digest;
};

QString sha256(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

// One digest per voucher of rows ordered by month, number and line, whose
// first two columns are the month and the number.
QList<Digested> digestVouchers(const QList<QVariantList> &rows)
{
    QList<Digested> vouchers;
    QString text;
    for (qsizetype r = 0; r <= rows.size(); ++r) {
        const bool next = r == rows.size() || vouchers.isEmpty() || rows.at(r).at(0).toInt() != vouchers.last().month
            || rows.at(r).at(1).toInt() != vouchers.last().number;
        if (next && !vouchers.isEmpty()) {
            vouchers.last().digest = sha256(text);
            text.clear();
        }
        if (r == rows.size())
            break;
        const QVariantList &row = rows.at(r);
        if (next)
            vouchers.append({row.at(0).toInt(), row.at(1).toInt(), {}});
        for (qsizetype c = 2; c < row.size(); ++c) {
            if (!row.at(c).isNull())
                text += u'=' + row.at(c).toString();
            text += u'\t';
        }
        text += u'\n';
    }
    return vouchers;
}

QString digestOfAll(const QList<Digested> &vouchers)
{
    if (vouchers.size() == 1)
        return vouchers.first().digest;
    QStringList digests;
    for (const Digested &voucher : vouchers)
        digests << voucher.digest;
    return sha256(digests.join(u'\n'));
}

QVariant numberValue(int number)
{
    return number < 0 ? QVariant() : QVariant(number);
}

QString chainHash(const QString &before, qint64 sequence, const ChangeLogRow &row)
{
    return sha256(QStringList {before, QString::number(sequence), row.time, row.operatorName, row.operation,
        QString::number(row.month), QString::number(row.number), QString::number(row.last), row.digest, row.subject}
                      .join(u'\t'));
}

// Appends a row after the last one; returns its sequence number.
qint64 appendRow(Session &session, const QString &operation, int month, int number, int last, const QString &digest,
    const QString &subject)
{
    const ResultSet previous = session.RunSql(u"SELECT 序号, 本链 FROM 操作日志 ORDER BY 序号 DESC LIMIT 1"_s);
    const qint64 sequence = previous.eof() ? 1 : previous.value(0, 0).toLongLong() + 1;
    const QString before = previous.eof() ? QString() : previous.value(0, 1).toString();
    const ChangeLogRow row {QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s), session.operatorName(),
        operation, month, number, last, digest, subject};
    session.execSql(u"INSERT INTO 操作日志 (序号, 时间, 操作员, 操作, 月, 号码, 末号, 摘要, 说明, 前链, 本链) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
        {sequence, row.time, row.operatorName, operation, month, numberValue(number), numberValue(last), digest,
            subject, before, chainHash(before, sequence, row)});
    return sequence;
}

QList<Digested> readVouchers(Session &session, int month, int from, int to)
{
    if (month == 0)
        return digestVouchers(session.RunSql(kOpeningLinesSql).rows());
    QList<Digested> vouchers;
    const QVariant top = session.RunSql(kLastNumberSql, {month, from, to}).value(0, 0);
    if (top.isNull())
        return vouchers;
    // Ranges of numbers in order, each ending between two numbers (a number
    // need not be whole), so the rows come as one ordered read would give them.
    for (qint64 low = from; low <= top.toDouble(); low += kVouchersAtOnce) {
        const bool last = low + kVouchersAtOnce > to;
        vouchers += digestVouchers(session
                                       .RunSql(last ? kLastMonthLinesSql : kMonthLinesSql,
                                               {month, low, last ? qint64(to) : low + kVouchersAtOnce})
                                       .rows());
    }
    return vouchers;
}

void writeRecords(Session &session, const QList<Digested> &vouchers, qint64 sequence)
{
    for (const Digested &voucher : vouchers)
        session.execSql(kInsertRecordSql, {voucher.month, voucher.number, voucher.digest, sequence});
}

// A set of an older version that could not be upgraded (write-protected)
// has no trail to read or verify.
bool hasChangeLog(Session &session)
{
    return !session.RunSql(u"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '操作日志'"_s).eof();
}

QString voucherName(int month, int number)
{
    return month == 0 ? u"年初余额"_s : u"%1月%2号凭证"_s.arg(month).arg(number);
}

} // namespace

void logVouchers(Session &session, const QString &operation, int month, int from, int to)
{
    const QList<Digested> vouchers = readVouchers(session, month, from, to);
    session.execSql(u"DELETE FROM 凭证指纹 WHERE 月 = ? AND 号码 BETWEEN ? AND ?"_s, {month, from, to});
    const int last = from == to || vouchers.isEmpty() ? from : vouchers.last().number;
    writeRecords(session, vouchers, appendRow(session, operation, month, from, last, digestOfAll(vouchers), {}));
}

void moveLoggedVouchers(Session &session, int month, int from, int step)
{
    if (step < 0)
        session.execSql(u"DELETE FROM 凭证指纹 WHERE 月 = ? AND 号码 = ?"_s, {month, from});
    session.execSql(
        u"UPDATE 凭证指纹 SET 号码 = 号码 + ? WHERE 月 = ? AND 号码 >= ?"_s, {step, month, step < 0 ? from + 1 : from});
}

void logDeletion(Session &session, const QString &operation, int month, int number)
{
    moveLoggedVouchers(session, month, number, -1);
    appendRow(session, operation, month, number, number, sha256({}), {});
}

void logOperation(Session &session, const QString &operation, int month, const QString &subject)
{
    appendRow(session, operation, month, -1, -1, sha256(subject), subject);
}

void logAllVouchers(Session &session, const QString &operation)
{
    QList<Digested> vouchers = digestVouchers(session.RunSql(kOpeningLinesSql).rows());
    vouchers += digestVouchers(session.RunSql(kAllLinesSql).rows());
    session.execSql(u"DELETE FROM 凭证指纹"_s);
    const qint64 sequence
        = appendRow(session, operation, 0, -1, -1, digestOfAll(vouchers), u"%1张凭证"_s.arg(vouchers.size()));
    writeRecords(session, vouchers, sequence);
}

void relogVouchersOn(Session &session, const QString &code)
{
    const qint64 sequence = session.RunSql(u"SELECT max(序号) FROM 操作日志"_s).value(0, 0).toLongLong();
    const ResultSet touched = session.RunSql(
        u"SELECT DISTINCT CASE WHEN ID < 8010000000 THEN 0 ELSE 月 END, CASE WHEN ID < 8010000000 THEN 0 ELSE 号码 END "
        "FROM 分录表 WHERE 科目代码 = ?"_s,
        {code});
    for (const ResultSet::Row &voucher : touched.rows()) {
        const int month = voucher.at(0).toInt();
        const int number = voucher.at(1).toInt();
        session.execSql(u"DELETE FROM 凭证指纹 WHERE 月 = ? AND 号码 = ?"_s, {month, number});
        writeRecords(session, readVouchers(session, month, number, number), sequence);
    }
}

QStringList ChangeLogRow::fields() const
{
    const QString numbers = number < 0 ? QString()
        : last > number                ? u"%1-%2"_s.arg(number).arg(last)
                                       : QString::number(number);
    return {time, operatorName, operation, QString::number(month), numbers, digest, subject};
}

QStringList changeLogColumns()
{
    return {u"时间"_s, u"操作员"_s, u"操作"_s, u"月"_s, u"号码"_s, u"摘要"_s, u"说明"_s};
}

OpResult ReadChangeLog(Session &session, QList<ChangeLogRow> &rows, Dialogs &dialogs, std::optional<int> month)
{
    rows.clear();
    return guarded(dialogs, [&] {
        Transaction snapshot(session, Transaction::Mode::Read);
        if (!hasChangeLog(session))
            return OpResult::done();
        const ResultSet read = session.RunSql(
            u"SELECT 时间, 操作员, 操作, 月, ifnull(号码, -1), ifnull(末号, -1), 摘要, 说明 FROM 操作日志 "
            "WHERE ?1 IS NULL OR 月 = ?1 ORDER BY 序号"_s,
            {month ? QVariant(*month) : QVariant()});
        for (const ResultSet::Row &r : read.rows())
            rows.append({r.at(0).toString(), r.at(1).toString(), r.at(2).toString(), r.at(3).toInt(), r.at(4).toInt(),
                r.at(5).toInt(), r.at(6).toString(), r.at(7).toString()});
        snapshot.commit();
        return OpResult::done();
    });
}

QStringList changeLogProblems(Session &session)
{
    QStringList problems;
    if (!hasChangeLog(session))
        return problems;
    struct Written {
        int number;
        int last;
        QString digest;
    };
    QHash<qint64, Written> written;
    QString before;
    qint64 expected = 1;
    // Results by name: a loop over the rows of a temporary would outlive it.
    const ResultSet log = session.RunSql(
        u"SELECT 序号, 时间, 操作员, 操作, 月, ifnull(号码, -1), ifnull(末号, -1), 摘要, 说明, 前链, 本链 "
        "FROM 操作日志 ORDER BY 序号"_s);
    for (const ResultSet::Row &r : log.rows()) {
        const qint64 sequence = r.at(0).toLongLong();
        const ChangeLogRow row {r.at(1).toString(), r.at(2).toString(), r.at(3).toString(), r.at(4).toInt(),
            r.at(5).toInt(), r.at(6).toInt(), r.at(7).toString(), r.at(8).toString()};
        if (sequence != expected || r.at(9).toString() != before)
            problems << u"操作日志断链: 第%1条之前的记录在程序外被删除或改动"_s.arg(sequence);
        else if (chainHash(before, sequence, row) != r.at(10).toString())
            problems << u"操作日志第%1条在程序外被改动"_s.arg(sequence);
        before = r.at(10).toString();
        expected = sequence + 1;
        written.insert(sequence, {row.number, row.last, row.digest});
    }

    QHash<QPair<int, int>, QPair<QString, qint64>> recorded;
    const ResultSet records = session.RunSql(u"SELECT 月, 号码, 摘要, 日志 FROM 凭证指纹"_s);
    for (const ResultSet::Row &r : records.rows())
        recorded.insert({r.at(0).toInt(), r.at(1).toInt()}, {r.at(2).toString(), r.at(3).toLongLong()});
    QList<Digested> vouchers = digestVouchers(session.RunSql(kOpeningLinesSql).rows());
    vouchers += digestVouchers(session.RunSql(kAllLinesSql).rows());
    QStringList changed;
    for (const Digested &voucher : std::as_const(vouchers)) {
        const auto found = recorded.constFind({voucher.month, voucher.number});
        const QString name = voucherName(voucher.month, voucher.number);
        if (found == recorded.constEnd()) {
            changed << name + u"在程序外写入"_s;
            continue;
        }
        const auto row = written.constFind(found->second);
        // A row that wrote this voucher alone holds its digest too, so the
        // record cannot be rewritten to match changed lines.
        if (found->first != voucher.digest
            || (row != written.constEnd() && row->number >= 0 && row->number == row->last
                && row->digest != voucher.digest))
            changed << name + u"在程序外被改动"_s;
        else if (row == written.constEnd())
            changed << name + u"的操作日志第%1条已不存在"_s.arg(found->second);
        recorded.remove({voucher.month, voucher.number});
    }
    for (auto it = recorded.cbegin(); it != recorded.cend(); ++it)
        changed << voucherName(it.key().first, it.key().second) + u"在程序外被删除"_s;
    std::sort(changed.begin() + (changed.size() - recorded.size()), changed.end());
    return problems + changed.mid(0, 50);
}

} // namespace tz
