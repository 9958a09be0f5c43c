// Period-end FX revaluation over the work table 调汇.
#include "vouchers/revaluation.h"

#include <algorithm>
#include <cmath>

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"
#include "vouchers/monthstate.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

std::optional<double> optionalDouble(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

std::optional<Cents> optionalCents(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<Cents>(roundToCents(value.toDouble()));
}

QVariant centsValue(const std::optional<Cents> &cents)
{
    return cents ? QVariant(centsToDouble(*cents)) : QVariant();
}

// The accounts the window offers to post against; the voucher refuses others.
const QString kCounterAccounts = u"substr(科目代码, 1, 1) = '5' AND 明细 = 'Y'"_s;

const QString kNoticeTitle = u"TZ305提示"_s;

// An amount past what one journal line takes, refused as a typed amount is.
PendingRefusal tooLarge(const QString &field, const QString &amount)
{
    return {typedAmountProblem(AmountText::TooLarge, field, amount), kNoticeTitle, Icon::Critical};
}

// The revalued amount and the difference of one row with a rate, or why
// they cannot be posted.
std::optional<PendingRefusal> revalue(RevaluationRow &row)
{
    const double foreign = row.foreign.value_or(0);
    const double product = foreign * *row.rate;
    row.revalued = roundToCents(product);
    if (!std::isfinite(product) || qAbs(*row.revalued) > kMaxPostedCents)
        return tooLarge(row.code + u"  调整后金额"_s,
                        roundDecimalText(shortestText(product), 2).value_or(shortestText(product)));
    // A rate that makes a foreign balance worth nothing would post the
    // whole book balance as a loss.
    if (foreign != 0 && *row.revalued == 0)
        return PendingRefusal{row.code + u"  汇率太小,调整后金额为0: "_s + shortestText(*row.rate), kNoticeTitle,
                              Icon::Critical};
    row.difference = row.book - *row.revalued;
    if (qAbs(*row.difference) > kMaxPostedCents)
        return tooLarge(row.code + u"  损益"_s, centsToText(*row.difference));
    return std::nullopt;
}

} // namespace

OpResult StartRevaluation(Session &session, int month, Dialogs &dialogs)
{
    std::optional<PendingRefusal> refusal;
    const OpResult result = guarded(dialogs, [&] {
        Transaction transaction(session);
        if (readMonthState(session, month).closed) {
            refusal = PendingRefusal{QString::number(month) + u"  月份已结帐,请先进行反结帐"_s, u"TZ305提示"_s,
                                     Icon::Exclamation};
            return OpResult::refused();
        }
        if (!session.RunSql(u"SELECT 1 FROM 分录表 WHERE 摘要说明 = ? AND 月 = ? LIMIT 1"_s,
                            {QString::fromUtf16(kRevaluationSummary), month})
                 .eof()) {
            refusal = PendingRefusal{u"本月已调汇,请删除调汇凭证再进行调汇"_s, applicationTitle(), Icon::Exclamation};
            return OpResult::refused();
        }
        session.execSql(u"DELETE FROM 调汇"_s);
        // Lines up to month m: the opening lines (800…) and months 1..m,
        // whose IDs are below 8(m+1)0000000. A line without a debit amount
        // is a credit line and subtracts its foreign amount.
        session.execSql(
            u"INSERT INTO 调汇 (科目代码, 科目全称, 数量, 调整前金额) "
            "SELECT f.科目代码, f.科目全称, a.数量, a.调整前金额 FROM 科目表 AS f JOIN ("
            "SELECT 科目代码, round_half_up(SUM(CASE WHEN 借方金额 IS NULL THEN -数量 ELSE 数量 END), 2) AS 数量, "
            "round_half_up(SUM(ifnull(借方金额, 0)) - SUM(ifnull(贷方金额, 0)), 2) AS 调整前金额 "
            "FROM 分录表 WHERE ID < ? GROUP BY 科目代码) AS a ON a.科目代码 = f.科目代码 "
            "WHERE f.调汇 = 'Y' AND (a.数量 <> 0 OR a.调整前金额 <> 0) ORDER BY f.科目代码"_s,
            {8'000'000'000LL + qint64(month + 1) * 10'000'000LL});
        if (session.RunSql(u"SELECT 1 FROM 调汇 LIMIT 1"_s).eof()) {
            refusal = PendingRefusal{u"没有数据,调汇标志是否已设置为'Y'"_s, applicationTitle(), Icon::None};
            transaction.commit();
            return OpResult::refused();
        }
        transaction.commit();
        return OpResult::done();
    });
    if (refusal)
        return refuse(dialogs, *refusal);
    return result;
}

QList<RevaluationRow> ReadRevaluation(Session &session)
{
    QList<RevaluationRow> rows;
    const ResultSet set = session.RunSql(
        u"SELECT 科目代码, 科目全称, 数量, 调整前金额, 汇率, 调整后金额, 损益 FROM 调汇 ORDER BY 科目代码, ID"_s);
    for (const ResultSet::Row &row : set.rows())
        rows.append({row.at(0).toString(), row.at(1).toString(), optionalDouble(row.at(2)),
                     roundToCents(row.at(3).toDouble()), optionalDouble(row.at(4)), optionalCents(row.at(5)),
                     optionalCents(row.at(6))});
    return rows;
}

QStringList RevaluationCounterAccounts(Session &session)
{
    QStringList accounts;
    const ResultSet set = session.RunSql(u"SELECT 科目代码, 科目全称 FROM 科目表 WHERE "_s + kCounterAccounts
                                         + u" ORDER BY 科目代码"_s);
    for (const ResultSet::Row &row : set.rows())
        accounts.append(row.at(0).toString() + u' ' + row.at(1).toString());
    return accounts;
}

OpResult RecomputeRevaluation(Session &session, const QHash<QString, RevaluationInput> &inputs, Dialogs &dialogs)
{
    bool empty = false;
    std::optional<PendingRefusal> refusal;
    const OpResult result = guarded(dialogs, [&] {
        Transaction transaction(session);
        if (session.RunSql(u"SELECT 1 FROM 调汇 LIMIT 1"_s).eof()) {
            empty = true;
            return OpResult::refused();
        }
        QStringList codes = inputs.keys();
        codes.sort();
        for (const QString &code : codes) {
            const RevaluationInput &input = inputs[code];
            if (input.rate && !(std::isfinite(*input.rate) && *input.rate > 0)) {
                refusal = PendingRefusal{code + u"  汇率必须是大于0的数: "_s + shortestText(*input.rate),
                                         kNoticeTitle, Icon::Critical};
                return OpResult::refused();
            }
            if (input.foreign)
                session.execSql(u"UPDATE 调汇 SET 数量 = ? WHERE 科目代码 = ?"_s, {*input.foreign, code});
            if (input.book)
                session.execSql(u"UPDATE 调汇 SET 调整前金额 = ? WHERE 科目代码 = ?"_s,
                                {centsToDouble(*input.book), code});
            if (input.rate)
                session.execSql(u"UPDATE 调汇 SET 汇率 = ? WHERE 科目代码 = ?"_s, {*input.rate, code});
        }
        // Computed here on exact cents, so an amount out of range is
        // refused with its true figure instead of being cut short.
        Cents total = 0;
        for (RevaluationRow &row : ReadRevaluation(session)) {
            row.revalued.reset();
            row.difference.reset();
            if (row.rate) {
                refusal = revalue(row);
                if (refusal)
                    return OpResult::refused();
                total += *row.difference;
            }
            session.execSql(u"UPDATE 调汇 SET 调整后金额 = ?, 损益 = ? WHERE 科目代码 = ?"_s,
                            {centsValue(row.revalued), centsValue(row.difference), row.code});
        }
        if (qAbs(total) > kMaxPostedCents) {
            refusal = tooLarge(u"损益合计"_s, centsToText(total));
            return OpResult::refused();
        }
        transaction.commit();
        return OpResult::done();
    });
    if (empty)
        return refuse(dialogs, u"没有数据"_s, applicationTitle(), Icon::None);
    if (refusal)
        return refuse(dialogs, *refusal);
    return result;
}

OpResult RecomputeRevaluation(Session &session, const QHash<QString, double> &rates, Dialogs &dialogs)
{
    QHash<QString, RevaluationInput> inputs;
    for (auto it = rates.cbegin(); it != rates.cend(); ++it)
        inputs[it.key()].rate = it.value();
    return RecomputeRevaluation(session, inputs, dialogs);
}

OpResult PostRevaluation(Session &session, const VoucherHeader &header, const QString &against,
                         PostingOutcome &outcome, Dialogs &dialogs)
{
    if (against.trimmed().isEmpty())
        return refuse(dialogs, u"请选择对应损益类科目"_s, applicationTitle(), Icon::Exclamation);
    const QString againstCode = against.trimmed().section(u' ', 0, 0);
    QList<RevaluationRow> rows;
    bool counterAccount = false;
    if (const OpResult read = guarded(dialogs, [&] {
            counterAccount = !session
                                  .RunSql(u"SELECT 1 FROM 科目表 WHERE 科目代码 = ? AND "_s + kCounterAccounts,
                                          {againstCode})
                                  .eof();
            rows = ReadRevaluation(session);
            return OpResult::done();
        });
        !read.isDone())
        return read;
    if (!counterAccount)
        return refuse(dialogs, againstCode + u"  不是损益类明细科目,请选择对应损益类科目"_s, applicationTitle(),
                      Icon::Exclamation);
    if (rows.isEmpty())
        return refuse(dialogs, u"没有数据"_s, applicationTitle(), Icon::None);
    Cents total = 0;
    for (const RevaluationRow &row : rows) {
        if (!row.rate || !row.difference)
            return refuse(dialogs, row.code + u"  没有汇率,请先输入汇率并点[调汇]"_s, applicationTitle(),
                          Icon::Exclamation);
        total += *row.difference;
    }
    const bool anyDifference = std::any_of(rows.cbegin(), rows.cend(), [](const RevaluationRow &row) {
        return *row.difference != 0;
    });
    if (!anyDifference)
        return refuse(dialogs, u"没有汇兑损益,不需要生成分录"_s, applicationTitle(), Icon::None);
    if (!dialogs.ask(u"是否按此金额进行调汇?  若要打印请先导出EXCEL,可以重复操作"_s, u"TZ305提示"_s))
        return OpResult::refused();

    const QString summary = QString::fromUtf16(kRevaluationSummary);
    QList<VoucherLine> lines;
    // The profit-and-loss line, unless gains and losses cancel out; an
    // account whose difference is zero gets no line either, so no line of
    // the voucher is without an amount.
    if (total != 0) {
        VoucherLine first;
        first.summary = summary;
        first.account = againstCode;
        first.debit = total;
        lines.append(first);
    }
    for (const RevaluationRow &row : rows) {
        if (*row.difference == 0)
            continue;
        VoucherLine line;
        line.summary = summary;
        line.account = row.code;
        line.credit = *row.difference;
        lines.append(line);
    }
    // The generated voucher has one attachment, whatever the voucher on
    // screen had.
    VoucherHeader voucher = header;
    voucher.attachments = 1;
    return SaveNextVoucher(session, voucher, lines, outcome, dialogs,
                           PostingNotice{u"凭证保存成功,请检查凭证是否正确!!"_s, kNoticeTitle, u"调汇"_s});
}

} // namespace tz
