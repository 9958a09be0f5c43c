// CSV voucher import.
#include "vouchers/voucherimport.h"

#include <cmath>

#include <QFile>
#include <QLocale>
#include <QStringDecoder>

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

// Positions of the columns in a row.
namespace col {
constexpr int Key = 0;
constexpr int Date = 1;
constexpr int Word = 2;
constexpr int Attachments = 3;
constexpr int Reviewer = 4;
constexpr int Summary = 5;
constexpr int Account = 6;
constexpr int Quantity = 7;
constexpr int Debit = 8;
constexpr int Credit = 9;
constexpr int FlowCode = 10;
constexpr int FlowAmount = 11;
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
                                       qsizetype last, ImportCounts &counts, QHash<QString, QString> &chartFlags)
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
    ++counts.vouchers;
    counts.lines += int(posting.entries.size());
    return std::nullopt;
}

std::optional<FileRefusal> importTable(Session &session, const CsvTable &table, ImportCounts &counts)
{
    if (!table.isValid())
        return FileRefusal{table.errorLine, table.error};
    QStringList header = table.records.isEmpty() ? QStringList() : table.records.first().fields;
    for (QString &name : header)
        name = name.trimmed();
    if (header != kColumns)
        return FileRefusal{table.records.isEmpty() ? 1 : table.records.first().line, u"标题行应为: "_s + kColumns.join(u',')};
    const QList<CsvRecord> &records = table.records;
    if (records.size() == 1)
        return FileRefusal{1, u"没有要保存的数据！"_s, u"提示窗口"_s, Icon::None};
    // The chart cannot change inside the import's transaction, so each
    // code's detail flag is read once for the whole file.
    QHash<QString, QString> chartFlags;
    qsizetype first = 1;
    while (first < records.size()) {
        const QString key = records.at(first).fields.first();
        if (key.trimmed().isEmpty())
            return FileRefusal{records.at(first).line, u"凭证列不能为空"_s};
        qsizetype last = first + 1;
        while (last < records.size() && records.at(last).fields.first() == key)
            ++last;
        if (std::optional<FileRefusal> refused = saveVoucher(session, records, first, last, counts, chartFlags))
            return refused;
        first = last;
    }
    return std::nullopt;
}

} // namespace

OpResult ImportVouchers(Session &session, const QString &path, ImportCounts &counts, Dialogs &dialogs)
{
    counts = {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(dialogs, u"不能读取文件: "_s + path);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString content = decoder(file.readAll());
    if (decoder.hasError())
        return refuse(dialogs, u"文件不是UTF-8编码: "_s + path, kNoticeTitle, Icon::Critical);
    const CsvTable table = readCsv(content);

    return guarded(dialogs, [&] {
        std::optional<FileRefusal> refused;
        {
            Transaction transaction(session);
            refused = importTable(session, table, counts);
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
