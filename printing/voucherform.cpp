// The voucher layouts.
#include "printing/voucherform.h"

#include <algorithm>

#include "printing/voucherprint.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// Heights of the bands in millimetres: the page header (title, number,
// date, column captions), the hidden page-number band, the footer (totals
// and signatures), and the bounds of a line (its text, 9.5 points, needs
// 3.5 mm).
constexpr double kHeaderHeight = 23;
constexpr double kGroupHeaderHeight = 0.01;
constexpr double kFooterHeight = 14;
constexpr double kLowestLine = 3.5;
constexpr double kHighestLine = 8;

QString formName(VoucherForm form)
{
    return form == VoucherForm::Large ? u"大凭证打印"_s : u"凭证打印"_s;
}

QPageLayout formPage(const VoucherPrintSettings &settings)
{
    const QSizeF form = settings.form == VoucherForm::Large ? QSizeF(250, 120) : QSizeF(210, 110);
    // The form is wider than high: given upright and turned, so no page
    // size matching can swap its sides.
    return QPageLayout(
        QPageSize(form.transposed(), QPageSize::Millimeter, formName(settings.form), QPageSize::ExactMatch),
        QPageLayout::Landscape,
        QMarginsF(std::max(0.0, settings.leftCm * 10), std::max(0.0, settings.topCm * 10), 5, 4),
        QPageLayout::Millimeter);
}

// The height left for the lines of one page between its header and footer.
double lineRoom(const QPageLayout &page)
{
    return page.paintRect(QPageLayout::Millimeter).height() - kHeaderHeight - kGroupHeaderHeight - kFooterHeight;
}

} // namespace

int maxVoucherLines(const VoucherPrintSettings &settings)
{
    const double room = lineRoom(formPage(settings));
    return room < kLowestLine ? 0 : int(room / kLowestLine + 1e-9);
}

QString chineseDate(const QString &isoDate)
{
    if (isoDate.size() < 10 || isoDate.at(4) != u'-' || isoDate.at(7) != u'-')
        return isoDate;
    return isoDate.left(4) + u"年"_s + isoDate.mid(5, 2) + u"月"_s + isoDate.mid(8, 2) + u"日"_s;
}

ReportDefinition voucherReport(const VoucherPrintSettings &settings, const VoucherHeading &heading)
{
    ReportDefinition r;
    r.name = formName(settings.form);
    r.page = formPage(settings);
    r.groupColumn = u"月"_s;
    r.newPagePerGroup = true;

    const double width = r.contentWidthMm();
    const double scale = width / 195.0;
    QList<double> columns {50 * scale, 62 * scale, 19 * scale, 32 * scale, 32 * scale};
    QList<double> left {0};
    for (double w : columns)
        left.append(left.last() + w);
    const TextStyle caption {10, true, Qt::AlignCenter};
    const TextStyle plain {9.5, false, Qt::AlignLeft | Qt::AlignVCenter};
    const TextStyle amount {9.5, false, Qt::AlignRight | Qt::AlignVCenter};
    const TextStyle small {9, false, Qt::AlignLeft | Qt::AlignVCenter};

    // Page header: title, number with the page mark, unit and date, column captions.
    r.pageHeader.heightMm = kHeaderHeight;
    r.pageHeader.label(QRectF(0, 0, width, 9), u"记 帐 凭 证"_s, {16, true, Qt::AlignCenter})
        .line(QPointF(width / 2 - 24, 8.5), QPointF(width / 2 + 24, 8.5), 0.3)
        .line(QPointF(width / 2 - 24, 9.3), QPointF(width / 2 + 24, 9.3), 0.3)
        .label(QRectF(width - 60, 9.5, 60, 6), heading.word + u" 字第"_s + heading.number + u"号(%p/%P)"_s,
               {10, false, Qt::AlignRight | Qt::AlignVCenter})
        .label(QRectF(width / 2 - 35, 9.5, 70, 6), u"日期:  "_s + chineseDate(heading.date),
               {10, false, Qt::AlignCenter})
        .label(QRectF(0, 9.5, width / 2 - 36, 6), u" 单位:"_s + heading.company, small);
    ReportBand captions;
    captions.heightMm = 7;
    captions.cells(0, columns, 0.3);
    const QStringList names {u"摘要说明"_s, u"科 目 名 称"_s, u"数 量"_s, u"借方金额"_s, u"贷方金额"_s};
    for (int i = 0; i < 5; ++i)
        captions.label(QRectF(left[i], 0, columns[i], 7), names[i], caption);
    for (ReportElement e : captions.elements) {
        e.mm.translate(0, 16);
        r.pageHeader.elements.append(e);
    }

    // Group header: the page number, hidden.
    r.groupHeader.heightMm = kGroupHeaderHeight;
    r.groupHeader.field(QRectF(0, 0, 10, 0.01), u"月"_s);
    r.groupHeader.elements.last().hidden = true;

    // Detail: the lines share the room between the header and the footer.
    const double rowHeight =
        std::clamp(lineRoom(r.page) / std::max(1, settings.linesPerPage), kLowestLine, kHighestLine);
    r.detail.heightMm = rowHeight;
    r.detail.cells(0, columns);
    const QStringList fields {u"摘要说明"_s, u"科目全称"_s, u"数量"_s, u"借方金额"_s, u"贷方金额"_s};
    const QStringList formats {{}, {}, {}, u"#,##0.00"_s, u"#,##0.00"_s};
    for (int i = 0; i < 5; ++i)
        r.detail.field(QRectF(left[i] + 1, 0, columns[i] - 2, rowHeight), fields[i], formats[i],
                       i >= 2 ? amount : plain);

    // Group footer: the whole voucher's totals and the signatures.
    r.groupFooter.heightMm = kFooterHeight;
    r.groupFooter.cells(0, {left[3], columns[3], columns[4]}, 0.3);
    for (ReportElement &e : r.groupFooter.elements)
        e.mm.setHeight(7);
    r.groupFooter.label(QRectF(0, 0, left[3], 7), u"总  计"_s, caption)
        .label(QRectF(left[3] + 1, 0, columns[3] - 2, 7), heading.debitTotal, amount)
        .label(QRectF(left[4] + 1, 0, columns[4] - 2, 7), heading.creditTotal, amount);
    const double quarter = width / 5;
    r.groupFooter.label(QRectF(0, 7.5, quarter, 6), u"会计主管: "_s + settings.chiefAccountant, small)
        .label(QRectF(quarter, 7.5, quarter, 6), u"记帐: "_s + settings.bookkeeper, small)
        .label(QRectF(2 * quarter, 7.5, quarter, 6), u"审核: "_s + heading.checker, small)
        .label(QRectF(3 * quarter, 7.5, quarter, 6), u"制单: "_s + heading.preparer, small)
        .label(QRectF(4 * quarter, 7.5, quarter, 6), u"附单据共 "_s + heading.attachments + u" 张"_s, small);
    return r;
}

} // namespace tz
