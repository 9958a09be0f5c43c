// The batch month end's result lines, summary workbook and merge.
#include "batch/monthendresults.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <xlsxwriter.h>

#include "export/workbookfile.h"
#include "store/dialogs.h"
#include "store/money.h"
#include "store/safefile.h"
#include "store/scratchfile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Result files and the summary are the run's own: an earlier one is
// replaced without asking; nothing is shown.
class ReplacingDialogs : public Dialogs
{
public:
    void show(const QString &, const QString &, Icon) override {}
    bool ask(const QString &, const QString &) override { return true; }
};

struct FigureColumn
{
    QString key;
    Figure MonthEndSetResult::*field;
};

const QList<FigureColumn> &figureColumns()
{
    static const QList<FigureColumn> columns = {
        {u"资产总计"_s, &MonthEndSetResult::totalAssets},
        {u"负债和所有者权益总计"_s, &MonthEndSetResult::totalLiabilitiesAndEquity},
        {u"货币资金"_s, &MonthEndSetResult::cash},
        {u"营业收入_本月"_s, &MonthEndSetResult::revenueMonth},
        {u"营业收入_本年累计"_s, &MonthEndSetResult::revenueYear},
        {u"净利润_本月"_s, &MonthEndSetResult::netProfitMonth},
        {u"净利润_本年累计"_s, &MonthEndSetResult::netProfitYear},
    };
    return columns;
}

QJsonArray texts(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}

QStringList texts(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &v : value.toArray())
        list.append(v.toString());
    return list;
}

} // namespace

QString resultsFileName(int shard, int shards)
{
    return shards > 1 ? u"results-%1-of-%2.jsonl"_s.arg(shard).arg(shards) : u"results.jsonl"_s;
}

QByteArray resultLine(const MonthEndSetResult &r)
{
    QJsonObject o;
    o[u"set"_s] = r.relativePath;
    o[u"company"_s] = r.company;
    o[u"short_name"_s] = r.shortName;
    o[u"year"_s] = r.year;
    o[u"month"_s] = r.month;
    o[u"status"_s] = r.isOk() ? u"ok"_s : u"failed"_s;
    QJsonArray closed;
    for (const int m : r.monthsClosed)
        closed.append(m);
    o[u"months_closed"_s] = closed;
    o[u"problems"_s] = texts(r.problems);
    o[u"messages"_s] = texts(r.messages);
    for (const FigureColumn &c : figureColumns()) {
        const Figure &f = r.*c.field;
        o[c.key] = f ? QJsonValue(centsToDouble(*f)) : QJsonValue(QJsonValue::Null);
    }
    o[u"outputs"_s] = texts(r.outputs);
    o[u"backup"_s] = r.backupFile;
    o[u"seconds"_s] = std::round(r.seconds * 1000.0) / 1000.0;
    o[u"index"_s] = r.index;
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

bool parseResultLine(const QByteArray &line, MonthEndSetResult &r)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    if (!o.contains(u"set"_s) || !o.contains(u"status"_s))
        return false;
    r = MonthEndSetResult();
    r.relativePath = o.value(u"set"_s).toString();
    r.company = o.value(u"company"_s).toString();
    r.shortName = o.value(u"short_name"_s).toString();
    r.year = o.value(u"year"_s).toInt();
    r.month = o.value(u"month"_s).toInt();
    r.state = o.value(u"status"_s).toString() == u"ok"_s ? SetRunState::Done : SetRunState::Failed;
    for (const QJsonValue &m : o.value(u"months_closed"_s).toArray())
        r.monthsClosed.append(m.toInt());
    r.problems = texts(o.value(u"problems"_s));
    r.messages = texts(o.value(u"messages"_s));
    for (const FigureColumn &c : figureColumns()) {
        const QJsonValue v = o.value(c.key);
        r.*c.field = v.isDouble() ? Figure(roundToCents(v.toDouble())) : std::nullopt;
    }
    r.outputs = texts(o.value(u"outputs"_s));
    r.backupFile = o.value(u"backup"_s).toString();
    r.seconds = o.value(u"seconds"_s).toDouble();
    r.index = o.value(u"index"_s).toInt();
    return true;
}

OpResult writeResultsFile(const QList<MonthEndSetResult> &results, const QString &path)
{
    QByteArray bytes;
    for (const MonthEndSetResult &r : results)
        bytes += resultLine(r);
    ReplacingDialogs dialogs;
    if (bytes.isEmpty()) {
        // A shard without sets: an empty file says so.
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) ? OpResult::done()
                                                                     : OpResult::failed(u"不能写入: "_s + path);
    }
    return writeUserFile(
        path, dialogs,
        [&bytes](ScratchFile &scratch) { return scratch.write(bytes) == bytes.size() ? FileWrite::Written : FileWrite::Failed; },
        [](const QString &file) {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) && f.size() > 0 && f.seek(f.size() - 1) && f.read(1) == "\n";
        });
}

OpResult writeSummaryWorkbook(const QList<MonthEndSetResult> &results, const QString &path)
{
    ReplacingDialogs dialogs;
    return writeWorkbookFile(path, dialogs, [&results](const QString &file) {
        lxw_workbook *book = workbook_new(QFile::encodeName(file).constData());
        if (!book)
            return false;
        lxw_worksheet *sheet = workbook_add_worksheet(book, "月结汇总");
        lxw_format *bold = workbook_add_format(book);
        format_set_bold(bold);
        lxw_format *money = workbook_add_format(book);
        format_set_num_format(money, "#,##0.00");
        lxw_format *failedRow = workbook_add_format(book);
        format_set_bg_color(failedRow, 0xFFC7CE);
        format_set_font_color(failedRow, 0x9C0006);
        lxw_format *failedMoney = workbook_add_format(book);
        format_set_num_format(failedMoney, "#,##0.00");
        format_set_bg_color(failedMoney, 0xFFC7CE);
        lxw_format *totalMoney = workbook_add_format(book);
        format_set_num_format(totalMoney, "#,##0.00");
        format_set_bold(totalMoney);

        QStringList header = {u"帐套"_s, u"单位"_s, u"简称"_s, u"年度"_s, u"月份"_s, u"状态"_s, u"本次结帐月份"_s};
        for (const FigureColumn &c : figureColumns())
            header.append(QString(c.key).replace(u'_', QString()));
        header << u"用时(秒)"_s << u"问题"_s;
        for (int c = 0; c < header.size(); ++c)
            worksheet_write_string(sheet, 0, lxw_col_t(c), header.at(c).toUtf8().constData(), bold);

        const auto text = [sheet](lxw_row_t row, int col, const QString &value, lxw_format *format) {
            worksheet_write_string(sheet, row, lxw_col_t(col), value.toUtf8().constData(), format);
        };
        QList<Cents> totals(figureColumns().size(), 0);
        double seconds = 0;
        lxw_row_t row = 1;
        for (const MonthEndSetResult &r : results) {
            lxw_format *plain = r.isOk() ? nullptr : failedRow;
            lxw_format *amount = r.isOk() ? money : failedMoney;
            QStringList closed;
            for (const int m : r.monthsClosed)
                closed.append(QString::number(m));
            text(row, 0, r.relativePath, plain);
            text(row, 1, r.company, plain);
            text(row, 2, r.shortName, plain);
            worksheet_write_number(sheet, row, 3, r.year, plain);
            worksheet_write_number(sheet, row, 4, r.month, plain);
            text(row, 5, r.isOk() ? u"完成"_s : u"失败"_s, plain);
            text(row, 6, closed.join(u','), plain);
            int col = 7;
            for (qsizetype i = 0; i < figureColumns().size(); ++i, ++col) {
                const Figure &f = r.*figureColumns().at(i).field;
                if (f) {
                    worksheet_write_number(sheet, row, lxw_col_t(col), centsToDouble(*f), amount);
                    totals[i] += *f;
                } else {
                    worksheet_write_blank(sheet, row, lxw_col_t(col), amount);
                }
            }
            worksheet_write_number(sheet, row, lxw_col_t(col++), r.seconds, plain);
            text(row, col, r.problems.join(u"; "_s), plain);
            seconds += r.seconds;
            ++row;
        }
        text(row, 0, u"合计"_s, bold);
        int col = 7;
        for (const Cents total : totals)
            worksheet_write_number(sheet, row, lxw_col_t(col++), centsToDouble(total), totalMoney);
        worksheet_write_number(sheet, row, lxw_col_t(col), seconds, bold);

        worksheet_set_column(sheet, 0, 0, 28, nullptr);
        worksheet_set_column(sheet, 1, 1, 24, nullptr);
        worksheet_set_column(sheet, 2, 6, 10, nullptr);
        worksheet_set_column(sheet, 7, 13, 16, nullptr);
        worksheet_set_column(sheet, 15, 15, 50, nullptr);
        worksheet_freeze_panes(sheet, 1, 1);
        return workbook_close(book) == LXW_NO_ERROR;
    });
}

OpResult writeMonthEndOutputs(const QList<MonthEndSetResult> &results, const QString &outFolder, int shard,
                              int shards)
{
    const QDir out(outFolder);
    const OpResult written = writeResultsFile(results, out.filePath(resultsFileName(shard, shards)));
    if (!written.isDone() || shards > 1)
        return written;
    return writeSummaryWorkbook(results, out.filePath(u"summary.xlsx"_s));
}

OpResult mergeResults(const QString &outFolder, QList<MonthEndSetResult> &results)
{
    results.clear();
    const QDir dir(outFolder);
    QFileInfoList files = dir.entryInfoList({u"results*.jsonl"_s}, QDir::Files);
    if (files.isEmpty())
        return OpResult::refused(u"文件夹中没有 results*.jsonl: "_s + outFolder);
    // Oldest first, so a set's line in a newer file replaces the older one.
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.lastModified() != b.lastModified() ? a.lastModified() < b.lastModified() : a.fileName() < b.fileName();
    });
    QMap<QString, MonthEndSetResult> bySet;
    for (const QFileInfo &info : files) {
        QFile file(info.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            return OpResult::refused(u"不能读取: "_s + info.absoluteFilePath());
        int lineNumber = 0;
        for (const QByteArray &line : file.readAll().split('\n')) {
            ++lineNumber;
            if (line.trimmed().isEmpty())
                continue;
            MonthEndSetResult r;
            if (!parseResultLine(line, r))
                return OpResult::refused(u"%1 第 %2 行不是月结结果"_s.arg(info.fileName()).arg(lineNumber));
            bySet.insert(r.relativePath, r);
        }
    }
    results = bySet.values();
    std::sort(results.begin(), results.end(), [](const MonthEndSetResult &a, const MonthEndSetResult &b) {
        return a.index != b.index ? a.index < b.index : a.relativePath < b.relativePath;
    });
    return writeSummaryWorkbook(results, dir.filePath(u"summary.xlsx"_s));
}

} // namespace tz
