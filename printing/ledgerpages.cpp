// Account-book pages: the page tables and their layouts.
#include "printing/ledgerpages.h"

#include <algorithm>

#include <QHash>

#include "printing/columns.h"
#include "store/connection.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/pagedrows.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

struct PageTables
{
    QString work;
    QString page;
    QString columns;   // the work table's columns, in its order
    QStringList carried;
};

PageTables tablesOf(LedgerPageKind kind)
{
    switch (kind) {
    case LedgerPageKind::ThreeColumn:
        return {u"三总式"_s, u"三栏帐页"_s, u"ID, 日期, 字号, 备注, 摘要说明, 借方金额, 贷方金额, 方向, 余额"_s, {u"余额"_s}};
    case LedgerPageKind::Quantity:
        return {u"数量式"_s, u"数量帐页"_s,
                u"ID, 日期, 字号, 备注, 摘要说明, 借数, 借单, 借金, 贷数, 贷单, 贷金, 方向, 余数, 余单, 余额"_s,
                {u"余额"_s, u"余数"_s}};
    case LedgerPageKind::FixedAsset:
        break;
    }
    return {u"固累式"_s, u"固累帐页"_s,
            u"科目代码, ID, 日期, 字号, 号码, 摘要说明, 借方金额, 贷方金额, 原值, 借方金额1, 贷方金额1, 累计折旧, 净值"_s,
            {u"原值"_s, u"累计折旧"_s, u"净值"_s}};
}

// The page table of the work table, in one transaction.
void buildPages(Session &session, const PageTables &t, int perPage, bool carry)
{
    Transaction tx(session, Transaction::Mode::WorkTables);
    session.execSql(u"DELETE FROM "_s + t.page);
    session.execSql(u"INSERT INTO %1 (%2, 顺序, 月) SELECT %2, row_number() OVER (ORDER BY ID), "
                    "(row_number() OVER (ORDER BY ID) - 1) / ? + 1 FROM %3"_s.arg(t.page, t.columns, t.work),
                    {perPage});
    if (carry) {
        // One pass over the entry rows in order: the running figures as
        // they stand after each row (a total row, 本月合计 or 本年累计, has
        // none of its own, so those of the last row that has them), carried
        // after every N-th row.
        const QString carriedColumns = t.carried.join(u", "_s);
        const ResultSet rows = session.RunSql(
            u"SELECT 顺序, ID, %2 FROM %1 WHERE 顺序 IS NOT NULL ORDER BY 顺序"_s.arg(t.page, carriedColumns));
        const QString insert = u"INSERT INTO %1 (ID, 摘要说明, %2, 月) VALUES (?, ?, %3, ?)"_s.arg(
            t.page, carriedColumns, QStringList(t.carried.size(), u"?"_s).join(u", "_s));
        QVariantList figures(t.carried.size(), QVariant(0.0));
        for (int r = 0; r < rows.recordCount(); ++r) {
            if (!rows.value(r, 2).isNull()) {
                for (qsizetype c = 0; c < t.carried.size(); ++c) {
                    const QVariant v = rows.value(r, int(c) + 2);
                    figures[c] = v.isNull() ? QVariant(0.0) : v;
                }
            }
            const int position = rows.value(r, 0).toInt();
            if (position % perPage != 0)
                continue;
            const int page = position / perPage;
            const QString id = rows.value(r, 1).toString();
            session.execSql(insert, QVariantList {id + u"1"_s, u"  过 次 页"_s} + figures + QVariantList {page});
            session.execSql(insert, QVariantList {id + u"2"_s, u"  承 前 页"_s} + figures + QVariantList {page + 1});
        }
    }
    // The last page (a 承前页 alone may open one) is filled to N + 1 rows.
    const ResultSet last = session.RunSql(
        u"SELECT 月, count(*) FROM %1 WHERE 月 = (SELECT ifnull(MAX(月), 1) FROM %1)"_s.arg(t.page));
    const int lastPage = last.value(0, 0).isNull() ? 1 : last.value(0, 0).toInt();
    const int fill = perPage + 1 - last.value(0, 1).toInt();
    for (int i = 0; i < fill; ++i)
        session.execSql(u"INSERT INTO %1 (月, ID) VALUES (?, ?)"_s.arg(t.page), {lastPage, QString::number(814 + i)});
    tx.commit();
}

// The page table's rows in ID order. A year of pages has some 90,000
// rows: they are read as laid out, the order once as rowids, then each
// block of rows in one statement rather than one statement a row.
PagedRows pageRows(Session &session, const QString &table)
{
    Transaction read(session, Transaction::Mode::Read);
    const QList<qint64> rowids = session.mainConnection().queryIntegers(u"SELECT rowid FROM %1 ORDER BY ID"_s.arg(table));
    const QStringList columns = session.RunSql(u"SELECT * FROM %1 LIMIT 0"_s.arg(table)).columnNames();
    read.commit();
    const auto readBlock = [&session, table, rowids](int first, int n) {
        QVariantList ids;
        ids.reserve(n);
        for (int r = first; r < first + n; ++r)
            ids.append(rowids.at(r));
        Transaction read(session, Transaction::Mode::Read);
        const ResultSet found = session.RunSql(u"SELECT rowid, * FROM %1 WHERE rowid IN (%2)"_s.arg(
                                                   table, QStringList(ids.size(), u"?"_s).join(u", "_s)),
                                               ids);
        read.commit();
        QHash<qint64, int> at;
        for (int i = 0; i < found.recordCount(); ++i)
            at.insert(found.value(i, 0).toLongLong(), i);
        QList<ResultSet::Row> rows;
        rows.reserve(n);
        for (const QVariant &id : std::as_const(ids)) {
            const auto row = at.constFind(id.toLongLong());
            rows.append(row == at.cend() ? ResultSet::Row() : found.rows().at(*row).mid(1));
        }
        return rows;
    };
    return PagedRows(columns, int(rowids.size()), readBlock);
}

ReportDefinition pageReport(LedgerPageKind kind, const LedgerPageHeading &h, const QString &company,
                            const QString &operatorName, int year)
{
    ReportDefinition r;
    const double leftTwips = kind == LedgerPageKind::ThreeColumn ? 1900 : 1200;
    const double topTwips = kind == LedgerPageKind::ThreeColumn ? 1000 : kind == LedgerPageKind::Quantity ? 800 : 900;
    r.page = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                         QMarginsF(twipsToMm(leftTwips + 567 * std::max(0.0, h.leftCm)), twipsToMm(topTwips), 10, 8),
                         QPageLayout::Millimeter);
    r.groupColumn = u"月"_s;
    r.newPagePerGroup = true;

    QString title;
    QList<ReportColumn> columns {textColumn(u"日期"_s, u"日期"_s, 20), textColumn(u"字号"_s, u"字号"_s, 18)};
    switch (kind) {
    case LedgerPageKind::ThreeColumn:
        r.name = u"三栏帐"_s;
        title = h.general ? u"总 分 类 帐"_s : h.topName + u"  明细帐"_s;
        columns << textColumn(u"摘要说明"_s, u"摘要说明"_s, 80) << numberColumn(u"借方金额"_s, u"借方金额"_s, 34)
                << numberColumn(u"贷方金额"_s, u"贷方金额"_s, 34) << textColumn(u"方向"_s, u"方向"_s, 9)
                << numberColumn(u"余额"_s, u"余额"_s, 36);
        columns[5].align = Qt::AlignCenter;
        break;
    case LedgerPageKind::Quantity:
        r.name = u"数量帐"_s;
        title = h.topName + u"  数量金额明细帐"_s;
        columns << textColumn(u"摘要说明"_s, u"摘要说明"_s, 46) << numberColumn(u"借方数量"_s, u"借数"_s, 16, h.quantityFormat)
                << numberColumn(u"单价"_s, u"借单"_s, 15, h.priceFormat) << numberColumn(u"借方金额"_s, u"借金"_s, 24)
                << numberColumn(u"贷方数量"_s, u"贷数"_s, 16, h.quantityFormat)
                << numberColumn(u"单价"_s, u"贷单"_s, 15, h.priceFormat) << numberColumn(u"贷方金额"_s, u"贷金"_s, 24)
                << textColumn(u"方向"_s, u"方向"_s, 8) << numberColumn(u"结存数量"_s, u"余数"_s, 16, h.quantityFormat)
                << numberColumn(u"单价"_s, u"余单"_s, 15, h.priceFormat) << numberColumn(u"结存金额"_s, u"余额"_s, 26);
        columns[10].align = Qt::AlignCenter;
        break;
    case LedgerPageKind::FixedAsset:
        r.name = u"固累帐"_s;
        title = h.topName + u"及累计折旧(摊销)  明细帐"_s;
        columns << textColumn(u"摘要说明"_s, u"摘要说明"_s, 50) << numberColumn(u"原值借方"_s, u"借方金额"_s, 24)
                << numberColumn(u"原值贷方"_s, u"贷方金额"_s, 24) << numberColumn(u"原值"_s, u"原值"_s, 26)
                << numberColumn(u"折旧借方"_s, u"借方金额1"_s, 24) << numberColumn(u"折旧贷方"_s, u"贷方金额1"_s, 24)
                << numberColumn(u"累计折旧"_s, u"累计折旧"_s, 26) << numberColumn(u"净值"_s, u"净值"_s, 26);
        break;
    }
    addTitle(r, title);

    // Period, unit and account lines under the title.
    const double width = r.contentWidthMm();
    const TextStyle info {9.5, false, Qt::AlignLeft | Qt::AlignVCenter};
    const TextStyle infoRight {9.5, false, Qt::AlignRight | Qt::AlignVCenter};
    r.pageHeader.label(QRectF(0, 11, width / 2, 6), u"会计期间:  %1年1月至12月"_s.arg(year), info)
        .label(QRectF(width / 2, 11, width / 2, 6), u"单位:"_s + company, infoRight)
        .label(QRectF(0, 17, width / 2, 6), u"科目名称: "_s + h.account, info);
    if (kind == LedgerPageKind::Quantity)
        r.pageHeader.label(QRectF(width / 2, 17, width / 2, 6),
                           u"计量单位:"_s + h.unit + u"    规格:"_s + h.spec, infoRight);
    else if (kind == LedgerPageKind::FixedAsset)
        r.pageHeader.label(QRectF(width / 2, 17, width / 2, 6), u"计量单位:"_s + h.unit, infoRight);
    r.pageHeader.heightMm = 24;
    addColumns(r, columns, 5.0); // N + 2 rows fit: 承前页, N entries, 过次页

    // Group header: the page number 月, hidden (the heading prints it, as
    // each page number is one page); group footer: the operator.
    r.pageHeader.label(QRectF(width / 2 - 20, 17, 40, 6), u"第%p页"_s, {9.5, false, Qt::AlignCenter});
    r.groupHeader.heightMm = 0.01;
    r.groupHeader.field(QRectF(0, 0, 10, 0.01), u"月"_s);
    r.groupHeader.elements.last().hidden = true;
    r.groupFooter.heightMm = 7;
    r.groupFooter.label(QRectF(0, 1, width / 2, 6), u"操作员:  "_s + operatorName, info);
    return r;
}

} // namespace

int ledgerRowsPerPage(LedgerPageKind kind)
{
    return kind == LedgerPageKind::Quantity ? 25 : 26;
}

OpResult ledgerPageHeadingFor(Session &session, const QString &code, LedgerPageHeading &heading, Dialogs &dialogs)
{
    return guarded(dialogs, [&] {
        AccountLookup account;
        LookupAccount(session, code.trimmed(), account);
        heading.account = account.accountNamePath.isEmpty() ? code.trimmed()
                                                             : code.trimmed() + u" "_s + account.accountNamePath;
        heading.topName = account.accountNamePath.section(u'/', 0, 0);
        heading.unit = account.accountUnit;
        heading.spec = account.accountSpec;
        heading.quantityFormat = session.quantityFormat();
        heading.priceFormat = session.priceFormat();
        return OpResult::done();
    });
}

OpResult LayOutLedgerPages(Session &session, LedgerPageKind kind, const LedgerPageHeading &heading, Document &doc,
                           Dialogs &dialogs)
{
    doc = Document();
    const PageTables t = tablesOf(kind);
    return guarded(dialogs, [&] {
        const bool carry = !(kind == LedgerPageKind::ThreeColumn && heading.general);
        buildPages(session, t, ledgerRowsPerPage(kind), carry);
        const PagedRows rows = pageRows(session, t.page);
        doc = layOutReport(pageReport(kind, heading, session.companyName(), session.operatorName(), session.fiscalYear()),
                           rows);
        return OpResult::done();
    });
}

} // namespace tz
