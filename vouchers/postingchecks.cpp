// Posting checks and their order.
#include "vouchers/postingchecks.h"

#include "accounts/chartrules.h"
#include "store/digits.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;

Refusal refusal(PostingCheck check, const QString &text, const QString &title = kNoticeTitle,
                Icon icon = Icon::Critical)
{
    return {check, text, title, icon};
}

bool stagedIs(const QVariant &value, int expected)
{
    return !value.isNull() && value.toLongLong() == expected;
}

std::optional<Refusal> check(const PostingCase &p, PostingCheck which)
{
    const int n = p.header.number;
    const int m = p.header.month();
    const int max = p.month.maxNumber;
    switch (which) {
    case PostingCheck::FiscalYear:
        if (!p.header.date.isValid() || p.header.date.year() != p.fiscalYear)
            return refusal(which, u"会计年度不一致"_s, applicationTitle(), Icon::None);
        break;
    case PostingCheck::NumberAndReviewer:
        if (n < 1 || p.header.reviewer.isEmpty())
            return refusal(which, u"凭证号,审核不能为空"_s);
        break;
    case PostingCheck::OpenMonth:
        if (p.month.closed && m != 12)
            return refusal(which, QString::number(m) + u"  月份已结帐,请先进行反结帐"_s, kNoticeTitle, Icon::Exclamation);
        break;
    case PostingCheck::SaveNumber:
        if (qint64(n) - max != 1)
            return refusal(which, u"凭证号不连续，请点[凭证号]进行自动取号"_s);
        break;
    case PostingCheck::ModifyNumber:
        if (n > max)
            return refusal(which, u"不能修改凭证,号码出错"_s);
        break;
    case PostingCheck::InsertNumber:
        if (n > max)
            return refusal(which, u"此号码不在原凭证内,不能插入凭证"_s);
        break;
    case PostingCheck::DeleteNumber:
        if (n > max)
            return refusal(which, u"此号码没有内容"_s);
        break;
    case PostingCheck::VoucherLimit:
        // Save adds number max + 1; insert moves the month's last voucher to
        // max + 1. Either way that number must keep four digits.
        if (max + 1 > kMaxVoucherNumber) {
            const QString verb = p.kind == PostingKind::Insert ? u"插入"_s : u"保存"_s;
            return refusal(which, u"本月凭证已有%1张,不能再%2凭证"_s.arg(kMaxVoucherNumber).arg(verb));
        }
        break;
    case PostingCheck::StagedVoucher:
        if (!p.staged)
            return refusal(which, u"没有数据"_s);
        break;
    case PostingCheck::StagedNumber:
        // The staged voucher must be voucher n of this very month: a voucher
        // of the same number fetched in another month is another voucher.
        if (!stagedIs(p.stagedNumber, n) || !stagedIs(p.stagedMonth, m)) {
            return refusal(which, p.kind == PostingKind::Delete ? u"不能删除凭证,要查询出来的号码才能删除"_s
                                                                : u"不能修改凭证,要查询出来的号码才能修改"_s);
        }
        break;
    case PostingCheck::FirstSummary:
        if (p.lines.isEmpty() || p.lines.first().summary.isEmpty())
            return refusal(which, u"第一行摘要不能为空"_s);
        break;
    case PostingCheck::Balance: {
        const VoucherTotals totals = entryTotals(p.entries);
        if (totals.debit != totals.credit)
            return refusal(which, u"借贷不平!"_s, kNoticeTitle, Icon::Exclamation);
        break;
    }
    case PostingCheck::TwoLines:
        if (p.entries.size() < 2)
            return refusal(which, u"没有要保存的数据！"_s, u"提示窗口"_s, Icon::None);
        break;
    case PostingCheck::LineLimit:
        if (p.entries.size() > kMaxVoucherLines)
            return refusal(which, u"一张凭证最多%1行,此凭证有%2行"_s.arg(kMaxVoucherLines).arg(p.entries.size()));
        break;
    case PostingCheck::AccountCodes:
        for (const EntryLine &entry : p.entries) {
            if (!isAllDigits(entry.code))
                return refusal(which, entry.code + u"  科目代码只能是数字"_s);
        }
        break;
    case PostingCheck::ChartAccounts:
        // A line on a code outside the chart, or on a parent account, would
        // leave the balance table unbalanced and a parent unequal to the sum
        // of its children; the grid checks this too, the posting again.
        for (const EntryLine &entry : p.entries) {
            const auto flag = p.detailFlags.constFind(entry.code);
            if (flag == p.detailFlags.cend())
                return refusal(which, noSuchChartAccountText(entry.code), kNoticeTitle, Icon::Exclamation);
            if (*flag != u"Y"_s)
                return refusal(which, notDetailAccountText(entry.code, u"不能录入凭证"_s), kNoticeTitle,
                               Icon::Exclamation);
        }
        break;
    }
    return std::nullopt;
}

} // namespace

QList<PostingCheck> postingChecks(PostingKind kind)
{
    using C = PostingCheck;
    switch (kind) {
    case PostingKind::Save:
        return {C::FiscalYear, C::NumberAndReviewer, C::OpenMonth, C::SaveNumber, C::VoucherLimit,
                C::FirstSummary, C::Balance, C::TwoLines, C::LineLimit, C::AccountCodes, C::ChartAccounts};
    case PostingKind::Modify:
        return {C::FiscalYear, C::NumberAndReviewer, C::OpenMonth, C::ModifyNumber, C::StagedVoucher,
                C::StagedNumber, C::FirstSummary, C::Balance, C::TwoLines, C::LineLimit, C::AccountCodes, C::ChartAccounts};
    case PostingKind::Insert:
        return {C::FiscalYear, C::NumberAndReviewer, C::OpenMonth, C::InsertNumber, C::VoucherLimit,
                C::FirstSummary, C::Balance, C::TwoLines, C::LineLimit, C::AccountCodes, C::ChartAccounts};
    case PostingKind::Delete:
        return {C::NumberAndReviewer, C::OpenMonth, C::DeleteNumber, C::FirstSummary, C::StagedVoucher,
                C::StagedNumber};
    }
    return {};
}

void readDetailFlags(Session &session, const QList<EntryLine> &entries, QHash<QString, QString> &flags)
{
    for (const EntryLine &entry : entries) {
        if (flags.contains(entry.code) || !isAllDigits(entry.code))
            continue;
        const ResultSet row = session.RunSql(u"SELECT ifnull(明细, '') FROM 科目表 WHERE 科目代码 = ?"_s, {entry.code});
        if (!row.eof())
            flags.insert(entry.code, row.value(0, 0).toString());
    }
}

PostingCase readPostingCase(Session &session, PostingKind kind, const VoucherHeader &header,
                            const QList<VoucherLine> &lines, QHash<QString, QString> *knownFlags)
{
    PostingCase p;
    p.kind = kind;
    p.fiscalYear = session.fiscalYear();
    p.header = header;
    p.lines = lines;
    p.entries = buildEntryLines(lines);
    p.month = readMonthState(session, header.month());
    if (knownFlags) {
        readDetailFlags(session, p.entries, *knownFlags);
        p.detailFlags = *knownFlags;
    } else {
        readDetailFlags(session, p.entries, p.detailFlags);
    }
    if (kind == PostingKind::Modify || kind == PostingKind::Delete) {
        const ResultSet first = session.RunSql(u"SELECT 月, 号码 FROM 分录始表 ORDER BY ID LIMIT 1"_s);
        p.staged = !first.eof();
        if (p.staged) {
            p.stagedMonth = first.value(0, 0);
            p.stagedNumber = first.value(0, 1);
        }
    }
    return p;
}

std::optional<Refusal> firstRefusal(const PostingCase &posting)
{
    for (const PostingCheck which : postingChecks(posting.kind)) {
        if (std::optional<Refusal> refused = check(posting, which))
            return refused;
    }
    return std::nullopt;
}

} // namespace tz
