// The balance, summary and statement reports.
#include "printing/tablereports.h"

#include <algorithm>

#include <QDate>

#include "printing/columns.h"
#include "store/guard.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const TextStyle kInfo {9.5, false, Qt::AlignLeft | Qt::AlignVCenter};
const TextStyle kInfoRight {9.5, false, Qt::AlignRight | Qt::AlignVCenter};

ReportDefinition tableReport(const QString &name, const QString &title, QPageLayout::Orientation orientation,
                             const QMarginsF &marginsTwips)
{
    ReportDefinition r;
    r.name = name;
    r.page = QPageLayout(QPageSize(QPageSize::A4), orientation,
                         QMarginsF(twipsToMm(marginsTwips.left()), twipsToMm(marginsTwips.top()),
                                   twipsToMm(marginsTwips.right()), twipsToMm(marginsTwips.bottom())),
                         QPageLayout::Millimeter);
    addTitle(r, title);
    return r;
}

// The period and unit line under the title, and the page number at the foot.
void addHeading(ReportDefinition &r, const QString &left, const QString &middle, const QString &right)
{
    const double width = r.contentWidthMm();
    r.pageHeader.label(QRectF(0, 12, width / 3, 6), left, kInfo)
        .label(QRectF(width / 3, 12, width / 3, 6), middle, {9.5, false, Qt::AlignCenter})
        .label(QRectF(2 * width / 3, 12, width / 3, 6), right, kInfoRight);
    r.pageHeader.heightMm = 19;
    r.pageFooter.heightMm = 7;
    r.pageFooter.label(QRectF(0, 1, width, 6), u"第%p页  共%P页"_s, {9, false, Qt::AlignCenter});
}

void addPreparer(ReportDefinition &r, const QString &operatorName)
{
    r.reportFooter.heightMm = 8;
    r.reportFooter.label(QRectF(0, 1.5, r.contentWidthMm(), 6), u"制表:  "_s + operatorName, kInfoRight);
}

QString period(const Session &session, const QString &month)
{
    return u"会计期间:"_s + QString::number(session.fiscalYear()) + u"年"_s + month + u"月"_s;
}

} // namespace

OpResult LayOutBalanceReport(Session &session, const QString &month, double leftCm, Document &doc, Dialogs &dialogs)
{
    doc = Document();
    ReportDefinition r = tableReport(u"科目余额表"_s, u"科目余额表"_s, QPageLayout::Landscape,
                                     QMarginsF(1200 + 567 * std::max(0.0, leftCm), 1000, 567, 567));
    addHeading(r, period(session, month), {}, u" 单位:"_s + session.companyName());
    addColumns(r, {textColumn(u"科目代码"_s, u"科目代码"_s, 22), textColumn(u"科目名称"_s, u"科目名称"_s, 44),
                   numberColumn(u"期初金额"_s, u"期初金额"_s, 27), numberColumn(u"本期借方"_s, u"本期借金"_s, 27),
                   numberColumn(u"本期贷方"_s, u"本期贷金"_s, 27), numberColumn(u"累计借方"_s, u"累计借金"_s, 27),
                   numberColumn(u"累计贷方"_s, u"累计贷金"_s, 27), numberColumn(u"期末金额"_s, u"期末金额"_s, 27),
                   {u"方向"_s, u"方向"_s, 9, {}, Qt::AlignCenter}},
               6);
    addPreparer(r, session.operatorName());
    return guarded(dialogs, [&] {
        doc = layOutReport(r, session.RunSql(u"SELECT * FROM 数量式余额表 ORDER BY 1"_s));
        return OpResult::done();
    });
}

OpResult LayOutSummaryReport(Session &session, const QString &month, Document &doc, Dialogs &dialogs)
{
    doc = Document();
    ReportDefinition r = tableReport(u"凭证汇总表"_s, u"科目汇总表"_s, QPageLayout::Portrait,
                                     QMarginsF(1300, 1440, 500, 567));
    addHeading(r, period(session, month), {}, u" 单位:"_s + session.companyName());
    addColumns(r, {textColumn(u"科目代码"_s, u"科目代码"_s, 24), textColumn(u"科目名称"_s, u"科目名称"_s, 56),
                   numberColumn(u"借方金额"_s, u"借方金额"_s, 35), numberColumn(u"贷方金额"_s, u"贷方金额"_s, 35)},
               6.5);
    addPreparer(r, session.operatorName());
    return guarded(dialogs, [&] {
        doc = layOutReport(r, session.RunSql(u"SELECT * FROM 凭证汇总表 ORDER BY 1"_s));
        return OpResult::done();
    });
}

OpResult LayOutStatementReport(Session &session, StatementTable table, int month, Document &doc, Dialogs &dialogs)
{
    doc = Document();
    const bool balanceSheet = kindOf(table) == StatementKind::BalanceSheet;
    ReportDefinition r = tableReport(tableName(table).left(3), statementTitle(table),
                                     QPageLayout::Portrait, QMarginsF(850, 850, 567, 567));
    const int year = session.fiscalYear();
    const QString date = balanceSheet
        ? QDate(year, 1, 1).addMonths(std::clamp(month, 1, 12)).addDays(-1).toString(u"yyyy年MM月dd日"_s)
        : u"%1年%2月"_s.arg(year).arg(month);
    addHeading(r, u" 单位:"_s + session.companyName(), date, u"单位:元"_s);
    r.pageHeader.label(QRectF(r.contentWidthMm() - 40, 0, 40, 6), formNumber(table), kInfoRight);
    QString order;
    if (balanceSheet) {
        order = u"行次1"_s;
        addColumns(r, {textColumn(u"资产"_s, u"资产"_s, 46), {u"行次"_s, u"行次1"_s, 9, {}, Qt::AlignCenter},
                       numberColumn(u"年初余额"_s, u"年初余额1"_s, 25), numberColumn(u"期末余额"_s, u"期末余额1"_s, 25),
                       textColumn(u"负债和所有者权益"_s, u"负债及所有者权益"_s, 46),
                       {u"行次"_s, u"行次2"_s, 9, {}, Qt::AlignCenter},
                       numberColumn(u"年初余额"_s, u"年初余额2"_s, 25), numberColumn(u"期末余额"_s, u"期末余额2"_s, 25)},
                   5.6);
    } else {
        order = u"行次"_s;
        addColumns(r, {textColumn(u"项目"_s, u"项目"_s, 90), {u"行次"_s, u"行次"_s, 10, {}, Qt::AlignCenter},
                       numberColumn(u"本月金额"_s, u"本月金额"_s, 30),
                       numberColumn(u"本年累计金额"_s, u"本年累计金额"_s, 30)},
                   6);
    }
    addPreparer(r, session.operatorName());
    return guarded(dialogs, [&] {
        doc = layOutReport(r, session.RunSql(u"SELECT * FROM %1 ORDER BY %2"_s.arg(tableName(table), order)));
        return OpResult::done();
    });
}

} // namespace tz
