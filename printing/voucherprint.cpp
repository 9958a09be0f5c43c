// Voucher printing: the staging rows of one voucher and its pages.
#include "printing/voucherprint.h"

#include <QSettings>

#include "printing/progress.h"
#include "printing/voucherform.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/money.h"
#include "store/numberformat.h"
#include "store/paths.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

QSettings settingsFile()
{
    return QSettings(dataFolder() + u"/tz305.ini"_s, QSettings::IniFormat);
}

int maxNumber(Session &session, int month)
{
    const ResultSet r = session.RunSql(u"SELECT MAX(号码) FROM 分录表 WHERE 月 = ?"_s, {month});
    return r.value(0, 0).isNull() ? 1 : r.value(0, 0).toInt();
}

// Fills 分录始表 with the voucher's lines, its blank rows and pages; false
// when the voucher has no lines.
bool stageVoucher(Session &session, int month, int number, int lines)
{
    Transaction tx(session, Transaction::Mode::WorkTables);
    session.execSql(u"DELETE FROM 分录始表"_s);
    session.execSql(
        u"INSERT INTO 分录始表 (ID, 科目代码, 日期, 字号, 号码, 摘要说明, 数量, 借方金额, 贷方金额, 制单, 审核, 附件, "
        "顺序, 科目全称) "
        "SELECT A.ID, A.科目代码, A.日期, A.字号, A.号码, A.摘要说明, A.数量, A.借方金额, A.贷方金额, A.制单, A.审核, "
        "A.附件, row_number() OVER (ORDER BY A.ID), ifnull(A.科目代码, '') || ifnull('.' || F.科目全称, '') "
        "FROM 分录表 AS A LEFT JOIN 科目表 AS F ON A.科目代码 = F.科目代码 "
        "WHERE A.月 = ? AND A.号码 = ? ORDER BY A.ID"_s,
        {month, number});
    const int last = session.RunSql(u"SELECT ifnull(MAX(顺序), 0) FROM 分录始表"_s).value(0, 0).toInt();
    if (last == 0) {
        tx.commit();
        return false;
    }
    const int pad = lines - last % lines;
    if (pad != lines)
        for (int k = 1; k <= pad; ++k)
            session.execSql(u"INSERT INTO 分录始表 (顺序) VALUES (?)"_s, {last + k});
    session.execSql(u"UPDATE 分录始表 SET 月 = (顺序 - 1) / ? + 1"_s, {lines});
    tx.commit();
    return true;
}

QString totalText(const QVariant &sum)
{
    return formatValue(centsToText(roundToCents(sum.toDouble())), u"#,#0.00");
}

// The staged voucher's pages.
Document layOutStaged(Session &session, const VoucherPrintSettings &settings)
{
    const ResultSet rows = session.RunSql(
        u"SELECT 月, 顺序, 摘要说明, 科目全称, 数量, 借方金额, 贷方金额 FROM 分录始表 ORDER BY 顺序"_s);
    const ResultSet first = session.RunSql(
        u"SELECT 字号, 号码, 日期, 附件, 审核, 制单 FROM 分录始表 WHERE ID IS NOT NULL ORDER BY 顺序 LIMIT 1"_s);
    const ResultSet totals =
        session.RunSql(u"SELECT ifnull(SUM(借方金额), 0), ifnull(SUM(贷方金额), 0) FROM 分录始表"_s);
    VoucherHeading h;
    h.word = first.value(0, 0).toString();
    h.number = first.value(0, 1).toString();
    h.date = first.value(0, 2).toString();
    h.attachments = first.value(0, 3).toString();
    h.checker = first.value(0, 4).toString();
    h.preparer = first.value(0, 5).toString();
    h.company = session.companyName();
    h.debitTotal = totalText(totals.value(0, 0));
    h.creditTotal = totalText(totals.value(0, 1));
    return layOutReport(voucherReport(settings, h), rows);
}

// Refuses a line count the form cannot hold with its margins: more lines
// would push the totals and signatures onto a sheet of their own.
OpResult refuseLinesBeyondForm(const VoucherPrintSettings &settings, Dialogs &dialogs)
{
    const int most = maxVoucherLines(settings);
    if (settings.linesPerPage <= most)
        return OpResult::done();
    const QString form = settings.form == VoucherForm::Large ? u"25*12CM"_s : u"21*11CM"_s;
    const QString top = QString::number(settings.topCm);
    return refuse(dialogs,
                  most == 0 ? u"上边CM太大: %1的凭证上边%2CM时放不下一行,请减小上边CM"_s.arg(form, top)
                            : u"凭证行数太多: %1的凭证上边%2CM时每页最多%3行,请减少凭证行数"_s.arg(form, top).arg(most),
                  u"TZ305提示"_s, Icon::Critical);
}

OpResult noVoucher(Dialogs &dialogs, int number)
{
    return refuse(dialogs, u"本月没有第%1号凭证"_s.arg(number), applicationTitle(), Icon::Exclamation);
}

} // namespace

SavedVoucherSettings loadVoucherSettings()
{
    QSettings s = settingsFile();
    return {s.value(u"text3/TZPZ0"_s, u"1"_s).toString(), s.value(u"text4/TZPZ0"_s, u"1"_s).toString(),
            s.value(u"text5/TZPZ0"_s, u"6"_s).toString(), s.value(u"combo2/TZPZ0"_s).toString(),
            s.value(u"combo3/TZPZ0"_s).toString()};
}

OpResult SaveVoucherSettings(const SavedVoucherSettings &saved, Dialogs &dialogs)
{
    QSettings s = settingsFile();
    s.setValue(u"text3/TZPZ0"_s, saved.leftCm);
    s.setValue(u"text4/TZPZ0"_s, saved.topCm);
    s.setValue(u"text5/TZPZ0"_s, saved.lines);
    s.setValue(u"combo2/TZPZ0"_s, saved.chiefAccountant);
    s.setValue(u"combo3/TZPZ0"_s, saved.bookkeeper);
    s.sync();
    if (s.status() != QSettings::NoError)
        return fail(dialogs, u"无法保存设置: "_s + s.fileName());
    dialogs.show(u"保存OK"_s, applicationTitle(), Icon::None);
    return OpResult::done();
}

OpResult ReadOperatorNames(Session &session, QStringList &names, Dialogs &dialogs)
{
    return guarded(dialogs, [&] {
        names.clear();
        const ResultSet rows = session.RunSql(u"SELECT 操作员 FROM 信息表 WHERE 操作员 IS NOT NULL"_s);
        for (const ResultSet::Row &row : rows.rows())
            names.append(row.at(0).toString());
        return OpResult::done();
    });
}

OpResult LargestVoucherNumber(Session &session, int month, int &number, Dialogs &dialogs)
{
    return guarded(dialogs, [&] {
        number = maxNumber(session, month);
        return OpResult::done();
    });
}

OpResult LayOutVoucher(Session &session, const QString &month, const QString &number,
                       const VoucherPrintSettings &settings, Document &doc, Dialogs &dialogs)
{
    doc = Document();
    if (settings.linesPerPage < 1 || number.trimmed().toInt() < 1)
        return refuse(dialogs, u"请设置凭证的行数(号码为空?)"_s, applicationTitle(), Icon::None);
    bool ok = false;
    const int m = month.trimmed().toInt(&ok);
    if (!ok || m < 1 || m > 12)
        return refuse(dialogs, u"月份或号码不能为空"_s, applicationTitle(), Icon::None);
    if (const OpResult fits = refuseLinesBeyondForm(settings, dialogs); !fits.isDone())
        return fits;
    const int n = number.trimmed().toInt();
    bool found = false;
    const OpResult result = guarded(dialogs, [&] {
        found = stageVoucher(session, m, n, settings.linesPerPage);
        if (found)
            doc = layOutStaged(session, settings);
        return OpResult::done();
    });
    if (result.isDone() && !found)
        return noVoucher(dialogs, n);
    return result;
}

OpResult LayOutVoucherRange(Session &session, int month, int from, int to, const VoucherPrintSettings &settings,
                            bool askFirst, Document &doc, Dialogs &dialogs, Progress *progress)
{
    doc = Document();
    if (settings.linesPerPage < 1)
        return refuse(dialogs, u"请设置凭证的行数"_s, applicationTitle(), Icon::None);
    if (const OpResult fits = refuseLinesBeyondForm(settings, dialogs); !fits.isDone())
        return fits;
    int largest = 1;
    if (const OpResult read = LargestVoucherNumber(session, month, largest, dialogs); !read.isDone())
        return read;
    if (to > largest)
        return refuse(dialogs, u"最大号码错误"_s, applicationTitle(), Icon::Exclamation);
    if (to < from)
        return refuse(dialogs, u"号码要前小后大"_s, applicationTitle(), Icon::Exclamation);
    if (askFirst && !dialogs.ask(u"是否进行连续打印凭证？"_s, applicationTitle()))
        return OpResult::refused();
    int missing = 0;
    const OpResult result = guarded(dialogs, [&] {
        for (int k = std::max(from, 1); k <= to; ++k) {
            if (progress && !progress->advance(k - from, to - from + 1)) {
                doc = Document();
                return OpResult::refused();
            }
            if (stageVoucher(session, month, k, settings.linesPerPage))
                doc.append(layOutStaged(session, settings));
            else if (missing == 0)
                missing = k;
        }
        return OpResult::done();
    });
    if (result.isDone() && doc.pages.isEmpty())
        return noVoucher(dialogs, missing);
    return result;
}

} // namespace tz
