// CSV voucher import.
#include "vouchers/voucherimport.h"

#include <cmath>
#include <limits>

#include <QFile>
#include <QLocale>
#include <QMap>

#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/numberformat.h"
#include "store/session.h"
#include "store/transaction.h"
#include "vouchers/csvtable.h"
#include "vouchers/monthstate.h"
#include "vouchers/postingchecks.h"
#include "vouchers/postingwrites.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;

const QStringList kColumns = {u"凭证"_s,     u"日期"_s,     u"字号"_s,     u"附件"_s,
                              u"审核"_s,     u"摘要说明"_s, u"科目代码"_s, u"数量"_s,
                              u"借方金额"_s, u"贷方金额"_s, u"流代"_s,     u"流金"_s};

// Positions of the columns in a row, in the order of kColumns.
namespace col {
enum : int { Key, Date, Word, Attachments, Reviewer, Summary, Account, Quantity, Debit, Credit, FlowCode, FlowAmount };
} // namespace col

// A refusal of the file: what went wrong and at which CSV line.
struct FileRefusal
{
    int line = 0;
    QString text;
    QString title = kNoticeTitle;
    Icon icon = Icon::Critical;
};

std::optional<Cents> amountField(const QStringList &fields, int column, std::optional<FileRefusal> &error, int line)
{
    const QString text = fields.at(column).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    // Taken exactly as written: a third decimal or an amount beyond the
    // money columns refuses the file rather than being rounded or clamped.
    const TypedAmount typed = readTypedAmount(text);
    if (typed.verdict != AmountText::Valid) {
        error = FileRefusal{line, typedAmountProblem(typed.verdict, kColumns.at(column), text)};
        return std::nullopt;
    }
    return typed.cents;
}

std::optional<double> quantityField(const QStringList &fields, std::optional<FileRefusal> &error, int line)
{
    const QString text = stripGrouping(fields.at(col::Quantity).trimmed());
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) {
        error = FileRefusal{line, kColumns.at(col::Quantity) + u"不是有效的数字: "_s + fields.at(col::Quantity)};
        return std::nullopt;
    }
    return value;
}

// The header of a voucher from its first row.
std::optional<FileRefusal> readHeader(const CsvRecord &record, VoucherHeader &header)
{
    const QStringList &f = record.fields;
    const QString dateText = f.at(col::Date).trimmed();
    header.date = QDate::fromString(dateText, u"yyyy-MM-dd"_s);
    if (!header.date.isValid())
        return FileRefusal{record.line, u"日期无效(应为yyyy-MM-dd): "_s + dateText};
    header.word = f.at(col::Word).trimmed();
    const QString attachments = f.at(col::Attachments).trimmed();
    bool ok = true;
    header.attachments = attachments.isEmpty() ? 0 : attachments.toInt(&ok);
    if (!ok || header.attachments < 0)
        return FileRefusal{record.line, u"附件不是有效的数字: "_s + attachments};
    header.reviewer = f.at(col::Reviewer).trimmed();
    return std::nullopt;
}

std::optional<FileRefusal> readLine(const CsvRecord &record, VoucherLine &line)
{
    const QStringList &f = record.fields;
    std::optional<FileRefusal> error;
    line.summary = f.at(col::Summary);
    line.account = f.at(col::Account).trimmed();
    if (!line.hasAccount())
        return FileRefusal{record.line, u"科目代码不能为空"_s};
    line.quantity = quantityField(f, error, record.line);
    if (!error)
        line.debit = amountField(f, col::Debit, error, record.line);
    if (!error)
        line.credit = amountField(f, col::Credit, error, record.line);
    line.flowCode = f.at(col::FlowCode).trimmed();
    if (!error)
        line.flowAmount = amountField(f, col::FlowAmount, error, record.line);
    return error;
}

// Checks and writes one voucher (its rows `first` to `last` - 1).
std::optional<FileRefusal> saveVoucher(Session &session, const QList<CsvRecord> &records, qsizetype first,
                                       qsizetype last, ImportCounts &counts, QHash<QString, QString> &chartFlags,
                                       QMap<int, int> &firstNumbers)
{
    const int line = records.at(first).line;
    VoucherHeader header;
    QList<VoucherLine> lines;
    for (qsizetype r = first; r < last; ++r) {
        const CsvRecord &record = records.at(r);
        if (record.fields.size() != kColumns.size()) {
            return FileRefusal{record.line,
                               u"应有%1列,此行有%2列"_s.arg(kColumns.size()).arg(record.fields.size())};
        }
        if (r == first) {
            if (std::optional<FileRefusal> error = readHeader(record, header))
                return error;
        }
        VoucherLine voucherLine;
        if (std::optional<FileRefusal> error = readLine(record, voucherLine))
            return error;
        lines.append(voucherLine);
    }
    header.number = readMonthState(session, header.month()).maxNumber + 1;
    const PostingCase posting = readPostingCase(session, PostingKind::Save, header, lines, &chartFlags);
    if (const std::optional<Refusal> refused = firstRefusal(posting))
        return FileRefusal{line, refused->text, refused->title, refused->icon};
    writeEntryLines(session, header, session.operatorName(), posting.entries);
    firstNumbers.insert(header.month(), firstNumbers.value(header.month(), header.number));
    ++counts.vouchers;
    counts.lines += int(posting.entries.size());
    return std::nullopt;
}

// Reads the file's records one voucher at a time, saving each before the
// next is read. The file is scanned once first, so a malformed line is
// refused as such wherever it stands, before any voucher is checked.
std::optional<FileRefusal> importText(Session &session, QFile &file, ImportCounts &counts)
{
    {
        file.seek(0);
        CsvFileReader scan(file);
        CsvRecord record;
        while (scan.next(record)) {
        }
        if (!scan.error().isEmpty())
            return FileRefusal{scan.errorLine(), scan.error()};
    }
    file.seek(0);
    CsvFileReader reader(file);
    CsvRecord record;
    QStringList header;
    if (reader.next(record))
        header = record.fields;
    for (QString &name : header)
        name = name.trimmed();
    if (header != kColumns)
        return FileRefusal{header.isEmpty() ? 1 : record.line, u"标题行应为: "_s + kColumns.join(u',')};
    bool more = reader.next(record);
    if (!more)
        return FileRefusal{1, u"没有要保存的数据！"_s, u"提示窗口"_s, Icon::None};
    // The chart cannot change inside the import's transaction, so each
    // code's detail flag is read once for the whole file.
    QHash<QString, QString> chartFlags;
    // The first number each month took: the trail of changes records the
    // import as one row a month, with every voucher's digest.
    QMap<int, int> firstNumbers;
    QList<CsvRecord> voucher;
    while (more) {
        const QString key = record.fields.first();
        if (key.trimmed().isEmpty())
            return FileRefusal{record.line, u"凭证列不能为空"_s};
        voucher = {record};
        while ((more = reader.next(record)) && record.fields.first() == key)
            voucher.append(record);
        if (std::optional<FileRefusal> refused
            = saveVoucher(session, voucher, 0, voucher.size(), counts, chartFlags, firstNumbers))
            return refused;
    }
    for (auto it = firstNumbers.cbegin(); it != firstNumbers.cend(); ++it)
        logVouchers(session, u"导入"_s, it.key(), it.value(), std::numeric_limits<int>::max());
    return std::nullopt;
}

} // namespace

OpResult ImportVouchers(Session &session, const QString &path, ImportCounts &counts, Dialogs &dialogs)
{
    counts = {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(dialogs, u"不能读取文件: "_s + path);
    // The file is read a block at a time, never held whole: first checked
    // to be UTF-8 throughout, then scanned, then imported.
    if (!isUtf8File(file))
        return refuse(dialogs, u"文件不是UTF-8编码: "_s + path, kNoticeTitle, Icon::Critical);

    return guarded(dialogs, [&] {
        std::optional<FileRefusal> refused;
        {
            Transaction transaction(session);
            refused = importText(session, file, counts);
            if (!refused)
                transaction.commit();
        }
        if (refused) {
            counts = {};
            return refuse(dialogs, u"第%1行: "_s.arg(refused->line) + refused->text, refused->title, refused->icon);
        }
        dialogs.show(u"凭证导入成功: %1张凭证, %2行分录"_s.arg(counts.vouchers).arg(counts.lines), u"TZ305系统"_s,
                     Icon::Information);
        return OpResult::done();
    });
}

} // namespace tz
