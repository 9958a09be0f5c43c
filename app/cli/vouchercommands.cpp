// Commands of voucher posting: save, insert, modify, delete and show one
// voucher, and import vouchers from a CSV file (format in
// vouchers/voucherimport.h).
//
// A voucher line is given as --line "摘要|科目代码|数量|借方|贷方|流代|流金"
// (repeatable, in grid order; trailing fields may be left out, an empty
// field is an empty cell). Modify and delete fetch the voucher first, as the
// window's navigation does, so they act on the staged voucher.
#include "app/cli/cli.h"
#include "store/money.h"
#include "vouchers/linetext.h"
#include "vouchers/posting.h"
#include "vouchers/staging.h"
#include "vouchers/voucherimport.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

const QString kUsage
    = u"用法:\n"
      "  voucher save|insert --date yyyy-MM-dd [--word 字号] [--reviewer 审核人] [--attach 附件数] [--number 号码] "
      "--line 分录 ...\n"
      "  voucher modify --month 月份 --number 号码 [--date 日期] [--word 字号] [--reviewer 审核人] [--attach 附件数]"
      " [--line 分录 ...]\n"
      "  voucher delete --month 月份 --number 号码 | show --month 月份 --number 号码 | import 文件.csv\n"
      "  分录写成 \"摘要|科目代码|数量|借方|贷方|流代|流金\""_s;

const QStringList kHeaderOptions = {u"date"_s, u"word"_s, u"reviewer"_s, u"attach"_s, u"number"_s, u"month"_s};

struct VoucherArgs {
    QHash<QString, QString> values;
    QStringList lines; // every --line, in order
};

// Reads "--name VALUE" pairs; --line may repeat. False after a usage message.
bool parseArgs(QStringList args, const QStringList &names, VoucherArgs &out)
{
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        const QString name = arg.mid(2);
        if (!arg.startsWith(u"--"_s) || (name != u"line"_s && !names.contains(name))) {
            usageError(u"多余的参数: "_s + arg);
            return false;
        }
        if (args.isEmpty()) {
            usageError(u"选项 %1 缺少值"_s.arg(arg));
            return false;
        }
        if (name == u"line"_s)
            out.lines.append(args.takeFirst());
        else
            out.values.insert(name, args.takeFirst());
    }
    return true;
}

// A whole number of digits only; nullopt for anything else.
std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

std::optional<int> monthOf(const QString &text)
{
    const std::optional<int> month = wholeNumber(text);
    if (!month || *month < 1 || *month > 12)
        return std::nullopt;
    return month;
}

// Done, or the exit status of the first line that could not be read.
int parseLines(Context &ctx, const QStringList &texts, QList<VoucherLine> &lines)
{
    for (const QString &text : texts) {
        QString problem;
        bool refused = false;
        const std::optional<VoucherLine> line = parseLineText(text, problem, refused);
        if (!line) {
            if (!refused)
                return usageError(problem);
            ctx.dialogs.show(problem, u"TZ305提示"_s, Icon::Critical);
            return Refused;
        }
        lines.append(*line);
    }
    return Done;
}

// Applies the header options given; false after a usage message.
bool applyHeader(const VoucherArgs &a, VoucherHeader &header)
{
    if (a.values.contains(u"date"_s)) {
        header.date = QDate::fromString(a.values.value(u"date"_s), u"yyyy-MM-dd"_s);
        if (!header.date.isValid()) {
            usageError(u"--date 须写成 yyyy-MM-dd"_s);
            return false;
        }
    }
    if (a.values.contains(u"word"_s))
        header.word = a.values.value(u"word"_s);
    if (a.values.contains(u"reviewer"_s))
        header.reviewer = a.values.value(u"reviewer"_s);
    const auto whole = [&a](const QString &name, int &target) {
        if (!a.values.contains(name))
            return true;
        const std::optional<int> value = wholeNumber(a.values.value(name));
        if (!value) {
            usageError(u"--%1 须是整数"_s.arg(name));
            return false;
        }
        target = *value;
        return true;
    };
    return whole(u"attach"_s, header.attachments) && whole(u"number"_s, header.number);
}

// Prints the voucher a done posting wrote; returns the posting's exit status.
int printOutcome(Context &ctx, const OpResult &result, const VoucherHeader &header, const PostingOutcome &outcome)
{
    return ctx.printIfDone(result, {u"月"_s, u"号码"_s, u"分录"_s, u"下一号码"_s},
        {QString::number(header.month()), QString::number(header.number), QString::number(outcome.linesWritten),
            outcome.nextNumber ? QString::number(*outcome.nextNumber) : QString()});
}

// save and insert: a new voucher from the options.
int postNew(Context &ctx, const QStringList &args, bool insert)
{
    VoucherArgs a;
    if (!parseArgs(args, kHeaderOptions, a))
        return Usage;
    if (!a.values.contains(u"date"_s) || a.values.contains(u"month"_s) || (insert && !a.values.contains(u"number"_s)))
        return usageError(kUsage);
    VoucherHeader header;
    header.word = u"记"_s;
    QList<VoucherLine> lines;
    if (!applyHeader(a, header))
        return Usage;
    if (const int parsed = parseLines(ctx, a.lines, lines); parsed != Done)
        return parsed;
    // Without --number the voucher takes the month's next number inside the
    // posting's own transaction, so saves running side by side never collide.
    PostingOutcome outcome;
    const bool next = !insert && !a.values.contains(u"number"_s);
    const OpResult result = insert ? InsertVoucher(ctx.session, header, lines, outcome, ctx.dialogs)
        : next                     ? SaveNextVoucher(ctx.session, header, lines, outcome, ctx.dialogs)
                                   : SaveVoucher(ctx.session, header, lines, outcome, ctx.dialogs);
    header.number = outcome.number ? outcome.number : header.number;
    return printOutcome(ctx, result, header, outcome);
}

// Reads --month and --number and fetches that voucher into the staging table.
int fetch(Context &ctx, const VoucherArgs &a, NavigationResult &view)
{
    const std::optional<int> month = monthOf(a.values.value(u"month"_s));
    const std::optional<int> number = wholeNumber(a.values.value(u"number"_s));
    if (!month || !number)
        return usageError(kUsage);
    return exitStatusOf(FetchVoucher(ctx.session, *month, *number, view, ctx.dialogs));
}

int modify(Context &ctx, const QStringList &args)
{
    VoucherArgs a;
    if (!parseArgs(args, kHeaderOptions, a))
        return Usage;
    NavigationResult view;
    if (const int fetched = fetch(ctx, a, view); fetched != Done)
        return fetched;
    VoucherHeader header = view.voucher->header;
    QList<VoucherLine> lines = view.voucher->lines;
    if (!applyHeader(a, header))
        return Usage;
    if (!a.lines.isEmpty()) {
        lines.clear();
        if (const int parsed = parseLines(ctx, a.lines, lines); parsed != Done)
            return parsed;
    }
    PostingOutcome outcome;
    const OpResult result = ModifyVoucher(ctx.session, header, lines, outcome, ctx.dialogs);
    return printOutcome(ctx, result, header, outcome);
}

// delete and show: the voucher that --month and --number, the only options, name.
int fetchNamed(Context &ctx, const QStringList &args, NavigationResult &view)
{
    VoucherArgs a;
    if (!parseArgs(args, {u"month"_s, u"number"_s}, a) || !a.lines.isEmpty())
        return usageError(kUsage);
    return fetch(ctx, a, view);
}

int remove(Context &ctx, const QStringList &args)
{
    NavigationResult view;
    if (const int fetched = fetchNamed(ctx, args, view); fetched != Done)
        return fetched;
    PostingOutcome outcome;
    const OpResult result = DeleteVoucher(ctx.session, view.voucher->header, view.voucher->lines, outcome, ctx.dialogs);
    return printOutcome(ctx, result, view.voucher->header, outcome);
}

QString amountText(const std::optional<Cents> &cents)
{
    return cents ? centsToText(*cents) : QString();
}

int show(Context &ctx, const QStringList &args)
{
    NavigationResult view;
    if (const int fetched = fetchNamed(ctx, args, view); fetched != Done)
        return fetched;
    const VoucherHeader &h = view.voucher->header;
    QList<QStringList> rows;
    int row = 0;
    for (const VoucherLine &line : view.voucher->lines) {
        rows.append({h.date.toString(u"yyyy-MM-dd"_s), h.word, QString::number(h.number),
            QString::number(h.attachments), h.preparer, h.reviewer, QString::number(++row), line.summary, line.account,
            line.quantity ? shortestText(*line.quantity) : QString(), amountText(line.debit), amountText(line.credit),
            line.flowCode, amountText(line.flowAmount)});
    }
    ctx.print({u"日期"_s, u"字号"_s, u"号码"_s, u"附件"_s, u"制单"_s, u"审核"_s, u"序号"_s, u"摘要说明"_s,
                  u"科目名称"_s, u"数量"_s, u"借方金额"_s, u"贷方金额"_s, u"流代"_s, u"流金"_s},
        rows);
    return Done;
}

int import(Context &ctx, const QStringList &args)
{
    if (args.size() != 1)
        return usageError(kUsage);
    ImportCounts counts;
    const OpResult result = ImportVouchers(ctx.session, args.first(), counts, ctx.dialogs);
    return ctx.printIfDone(
        result, {u"凭证"_s, u"分录"_s}, {QString::number(counts.vouchers), QString::number(counts.lines)});
}

} // namespace

int voucherCommand(Context &ctx, const QStringList &args)
{
    const auto save = [](Context &c, const QStringList &rest) { return postNew(c, rest, false); };
    const auto insert = [](Context &c, const QStringList &rest) { return postNew(c, rest, true); };
    return runSubCommand(ctx, args,
        {{u"save"_s, save}, {u"insert"_s, insert}, {u"modify"_s, modify}, {u"delete"_s, remove}, {u"show"_s, show},
            {u"import"_s, import}},
        kUsage);
}

} // namespace tz::cli
