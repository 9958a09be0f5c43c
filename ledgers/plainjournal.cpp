// The plain-text journal export.
#include "ledgers/plainjournal.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QHash>
#include <QList>

#include "store/companyname.h"
#include "store/dialogs.h"
#include "store/fileerror.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/safefile.h"
#include "store/scratchfile.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

constexpr qint64 kFirstId = 8'000'000'000;
constexpr qint64 kMonthSpan = 10'000'000;
constexpr qint64 kEndId = kFirstId + 13 * kMonthSpan; // '813...' would be a thirteenth month

const QString kTitle = u"TZ305提示"_s;

const QString kLinesSql = u"SELECT ID, 日期, 字号, 号码, 摘要说明, 科目代码, 借方金额, 贷方金额 FROM 分录表 "
                          "WHERE ID >= ? AND ID < ? ORDER BY ID, rowid"_s;

// One level of an account name or a description: blanks single, and no
// character that ends a name (two blanks, tab), splits a level (':') or
// starts a comment (';').
QString cleanText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (QChar c : text) {
        if (c.isSpace()) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty())
            out += u' ';
        blank = false;
        if (c == u':')
            c = u'：';
        else if (c == u';')
            c = u'；';
        out += c;
    }
    return out;
}

// A comment may hold anything but a line break.
QString commentText(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    }
    return out.trimmed();
}

class AccountNames
{
public:
    explicit AccountNames(Session &session)
    {
        const ResultSet rows = session.RunSql(u"SELECT 科目代码, 科目名称 FROM 科目表"_s);
        for (const ResultSet::Row &row : rows.rows())
            m_names.insert(row.at(0).toString(), row.at(1).toString());
    }

    // "1002 银行存款:1002001 工行" for 1002001.
    const QString &nameOf(const QString &code)
    {
        auto found = m_full.constFind(code);
        if (found != m_full.constEnd())
            return *found;
        QStringList levels;
        qsizetype length = 4;
        for (; length < code.size(); length += 3)
            levels.append(level(code.left(length)));
        levels.append(code.isEmpty() ? u"无科目"_s : level(code));
        return *m_full.insert(code, levels.join(u':'));
    }

private:
    QString level(const QString &code) const
    {
        const auto name = m_names.constFind(code);
        return name == m_names.constEnd() ? cleanText(code) : cleanText(code + u' ' + *name);
    }

    QHash<QString, QString> m_names;
    QHash<QString, QString> m_full;
};

struct Posting
{
    QString account;
    Cents amount = 0;
    QString summary;
};

struct Entry
{
    QString date;
    QString description;
    QList<Posting> postings;
    QString unbalanced; // the refusal when the postings do not add up to zero

    void clear()
    {
        date.clear();
        description.clear();
        postings.clear();
    }
};

// Writes the text to the scratch file and keeps its digest for the check.
class ScratchWriter
{
public:
    explicit ScratchWriter(const QString &path)
        : m_file(path)
        , m_digest(QCryptographicHash::Sha256)
    {
    }
    ~ScratchWriter()
    {
        if (!m_kept) {
            m_file.close();
            QFile::remove(m_file.path());
        }
    }

    bool open() { return m_file.create(); }
    bool write(const QString &text)
    {
        const QByteArray bytes = text.toUtf8();
        m_digest.addData(bytes);
        return m_file.write(bytes) == bytes.size();
    }
    // Flushes to disk, closes, and reads the file back: true when it holds
    // exactly what was written.
    bool finishAndVerify()
    {
        if (!m_file.finish())
            return false;
        QFile back(m_file.path());
        if (!back.open(QIODevice::ReadOnly))
            return false;
        QCryptographicHash check(QCryptographicHash::Sha256);
        return check.addData(&back) && check.result() == m_digest.result();
    }
    // Why the file could not be written, for the user's name of it.
    QString failureText(const QString &target) const
    {
        const int error = m_file.systemError();
        return writeFailureText(target, error != 0 ? error : likelyWriteError(m_file.path()));
    }
    QString path() const { return m_file.path(); }
    void keep() { m_kept = true; }

private:
    ScratchFile m_file;
    QCryptographicHash m_digest;
    bool m_kept = false;
};

QString entryText(const Entry &entry)
{
    QString text = u"\n"_s + entry.date + u' ' + entry.description + u'\n';
    for (const Posting &p : entry.postings) {
        text += u"    "_s + p.account + u"    "_s + centsToText(p.amount);
        if (!p.summary.isEmpty())
            text += u"  ; "_s + p.summary;
        text += u'\n';
    }
    return text;
}

Cents amountOf(const QVariant &value)
{
    return value.isNull() ? 0 : roundToCents(value.toDouble());
}

// True when 分录表 holds a line whose ID lies outside the thirteen months.
bool hasStrayLines(Session &session)
{
    return session.RunSql(u"SELECT count(*) FROM 分录表 WHERE ID IS NULL OR ID < ? OR ID >= ?"_s, {kFirstId, kEndId})
               .value(0, 0)
               .toLongLong()
        > 0;
}

// The set's fiscal year, else this year.
int journalYear(const Session &session)
{
    const int year = session.fiscalYear();
    return year > 0 ? year : QDate::currentDate().year();
}

// Gathers the postings of one entry and writes each entry whole when the
// next one starts; keeps the refusal of the first entry that does not
// balance and whether every write went through.
struct EntryWriter
{
    ScratchWriter &out;
    PlainJournalCounts &written;
    QString refusal;
    bool ok = true;
    Entry entry;
    Cents balance = 0;

    void add(const Posting &posting)
    {
        balance += posting.amount;
        entry.postings.append(posting);
    }

    void flush()
    {
        if (entry.postings.isEmpty())
            return;
        if (balance != 0 && refusal.isEmpty())
            refusal = entry.unbalanced;
        ok = ok && out.write(entryText(entry));
        ++written.transactions;
        written.postings += int(entry.postings.size());
        entry.clear();
        balance = 0;
    }
};

// The first summary that is not blank among the lines of voucher `key`
// from `first` on, as a comment; empty when all are blank.
QString voucherSummaryOf(const QList<ResultSet::Row> &rows, qsizetype first, qint64 key)
{
    for (qsizetype j = first; j < rows.size() && rows.at(j).at(0).toLongLong() / 1000 == key; ++j) {
        if (!rows.at(j).at(4).toString().trimmed().isEmpty())
            return commentText(rows.at(j).at(4).toString());
    }
    return {};
}

// Heads `entry` for the voucher whose first line is `rows.at(i)` (month 0:
// the opening balances, one entry dated the year's first day); returns the
// voucher's summary, which its postings then leave out.
QString headEntry(Entry &entry, int month, qint64 key, const QList<ResultSet::Row> &rows, qsizetype i,
                  const QDate &firstDay)
{
    if (month == 0) {
        entry.date = firstDay.toString(u"yyyy-MM-dd"_s);
        entry.description = u"年初余额"_s;
        entry.unbalanced = u"年初余额借贷不平,不能导出"_s;
        return entry.description;
    }
    const ResultSet::Row &row = rows.at(i);
    const QDate date = QDate::fromString(row.at(1).toString().left(10), u"yyyy-MM-dd"_s);
    entry.date = (date.isValid() ? date : firstDay).toString(u"yyyy-MM-dd"_s);
    const QString number = row.at(3).isNull() ? QString::number(key % 10'000) : row.at(3).toString();
    const QString voucherSummary = voucherSummaryOf(rows, i, key);
    entry.description = cleanText(row.at(2).toString() + u'-' + number + u' ' + voucherSummary);
    entry.unbalanced = QString::number(month) + u"月"_s + number + u"号凭证借贷不平,不能导出"_s;
    return voucherSummary;
}

// Writes the lines of `month` (0: the opening balances) as entries, one
// per voucher.
void writeMonth(Session &session, AccountNames &names, int year, int month, EntryWriter &writer)
{
    const qint64 from = kFirstId + month * kMonthSpan;
    const ResultSet lines = session.RunSql(kLinesSql, {from, from + kMonthSpan});
    const QDate firstDay(year, month == 0 ? 1 : month, 1);
    qint64 voucher = -1;
    QString voucherSummary;
    const QList<ResultSet::Row> &rows = lines.rows();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ResultSet::Row &row = rows.at(i);
        const qint64 key = month == 0 ? 0 : row.at(0).toLongLong() / 1000;
        if (key != voucher) {
            writer.flush();
            voucher = key;
            voucherSummary = headEntry(writer.entry, month, key, rows, i, firstDay);
        }
        Posting posting;
        posting.account = names.nameOf(row.at(5).toString());
        posting.amount = amountOf(row.at(6)) - amountOf(row.at(7));
        const QString summary = commentText(row.at(4).toString());
        if (summary != voucherSummary)
            posting.summary = summary;
        writer.add(posting);
    }
    writer.flush();
}

} // namespace

OpResult ExportPlainJournal(Session &session, const QString &path, Dialogs &dialogs, PlainJournalCounts *counts)
{
    if (counts)
        *counts = {};
    if (path.trimmed().isEmpty())
        return refuse(dialogs, u"请输入文件名"_s, kTitle, Icon::Critical);
    removeStaleScratch(path);
    bool replace = false;
    if (const OpResult target = confirmTarget(path, dialogs, replace); !target.isDone())
        return target;

    QString refusal;
    QString failure;
    PlainJournalCounts written;
    const OpResult run = guarded(dialogs, [&] {
        // One read transaction: every range sees the same books.
        Transaction transaction(session, Transaction::Mode::Read);
        if (hasStrayLines(session)) {
            refusal = u"分录表中有编号不合规的分录,不能导出"_s;
            return OpResult::done();
        }
        AccountNames names(session);
        const int year = journalYear(session);
        const QString company = storedCompanyName(session);

        ScratchWriter out(scratchPathFor(path));
        if (!out.open()) {
            failure = out.failureText(path);
            return OpResult::done();
        }
        EntryWriter writer{out, written, {}, true, {}, 0};
        writer.ok = out.write(u"; "_s + commentText(company) + u' ' + QString::number(year) + u"年 帐簿\n"_s);
        for (int month = 0; month <= 12 && writer.refusal.isEmpty(); ++month)
            writeMonth(session, names, year, month, writer);
        refusal = writer.refusal;
        const bool ok = writer.ok;
        transaction.commit();
        if (!refusal.isEmpty())
            return OpResult::done();
        if (!ok || !out.finishAndVerify()) {
            failure = out.failureText(path);
            return OpResult::done();
        }
        const QString installed = installUserFile(out.path(), path, replace);
        if (installed.isEmpty())
            out.keep();
        else
            failure = installed;
        return OpResult::done();
    });
    if (!run.isDone())
        return run;
    if (!refusal.isEmpty())
        return refuse(dialogs, refusal, kTitle, Icon::Exclamation);
    if (!failure.isEmpty())
        return fail(dialogs, failure);
    if (counts)
        *counts = written;
    dialogs.show(u"帐簿已导出: "_s + path, applicationTitle(), Icon::Information);
    return OpResult::done();
}

} // namespace tz
