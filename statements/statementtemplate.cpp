// Statement template editing.
#include "statements/statementtemplate.h"

#include <algorithm>

#include <QRegularExpression>
#include <QSet>

#include "store/checkedwrite.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;

// One side of a template row: its caption, line and formula columns.
struct Side
{
    QString caption;
    QString line;
    QString formula;
};

QList<Side> sidesOf(StatementTable table)
{
    if (kindOf(table) == StatementKind::BalanceSheet)
        return {{u"资产"_s, u"行次1"_s, u"公式1"_s}, {u"负债及所有者权益"_s, u"行次2"_s, u"公式2"_s}};
    return {{u"项目"_s, u"行次"_s, u"公式"_s}};
}

PendingRefusal refusal(const QString &text)
{
    return {text, kNoticeTitle, Icon::Critical};
}

// The codes of a formula, each without the "-" before it: nothing when the
// formula is not codes of digits joined by "+" and "-" (a sign may stand
// before the first code; every other sign needs a code on each side, and a
// code holds no blank, which would make it name nothing).
std::optional<QStringList> formulaTerms(const QString &formula)
{
    if (formula.isEmpty())
        return QStringList();
    QStringList terms;
    const QStringList parts = formula.split(QRegularExpression(u"[+-]"_s));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &term = parts.at(i);
        const bool digits = !term.isEmpty() && std::all_of(term.begin(), term.end(), [](QChar c) {
            return c >= u'0' && c <= u'9';
        });
        if (i == 0 && term.isEmpty() && parts.size() > 1)
            continue;
        if (!digits)
            return std::nullopt;
        terms << term;
    }
    return terms;
}

std::optional<PendingRefusal> formulaRefusal(const QString &formula)
{
    if (formulaTerms(formula))
        return std::nullopt;
    return refusal(u"公式只能录入科目代码,代码之间用加号或减号相连: "_s + formula);
}

// A formula's code that the statement's data can never hold: an account
// statement sums accounts of 科目表, the cash-flow statement its items of
// 现流 and 888, 999 (cash at the start and the end).
std::optional<PendingRefusal> unknownCodeRefusal(Session &session, StatementTable table, const QString &formula)
{
    const bool cashFlow = kindOf(table) == StatementKind::CashFlow;
    for (const QString &code : formulaTerms(formula).value_or(QStringList())) {
        if (cashFlow && (code == u"888"_s || code == u"999"_s))
            continue;
        const QString known = cashFlow ? u"SELECT 1 FROM 现流 WHERE 代码 = ?"_s : u"SELECT 1 FROM 科目表 WHERE 科目代码 = ?"_s;
        if (session.RunSql(known, {code}).eof())
            return refusal((cashFlow ? u"公式中的代码不是现金流量项目: "_s : u"公式中的代码不在科目表中: "_s) + code);
    }
    return std::nullopt;
}

// Every line number of the template except those of row `rowid`.
QSet<qint64> otherLines(Session &session, StatementTable table, qint64 rowid)
{
    QSet<qint64> lines;
    for (const Side &side : sidesOf(table)) {
        const ResultSet rows = session.RunSql(u"SELECT "_s + side.line + u" FROM "_s + tableName(table) + u" WHERE "_s
                                                  + side.line + u" IS NOT NULL AND rowid <> ?"_s,
                                              {rowid});
        for (const ResultSet::Row &row : rows.rows())
            lines.insert(row.at(0).toLongLong());
    }
    return lines;
}

} // namespace

QStringList templateColumns(StatementTable table)
{
    QStringList columns;
    for (const Side &side : sidesOf(table))
        columns << side.caption << side.line << side.formula;
    return columns;
}

OpResult ReadTemplateRows(Session &session, StatementTable table, ResultSet &rows, Dialogs &dialogs)
{
    const QString order = sidesOf(table).first().line;
    return guarded(dialogs, [&] {
        rows = session.RunSql(u"SELECT rowid, "_s + templateColumns(table).join(u", "_s) + u" FROM "_s + tableName(table)
                              + u" ORDER BY "_s + order + u", rowid"_s);
        return OpResult::done();
    });
}

OpResult SaveTemplateRow(Session &session, StatementTable table, qint64 rowid, const QStringList &values,
                         Dialogs &dialogs)
{
    const QList<Side> sides = sidesOf(table);
    QVariantList params;
    QList<std::optional<qint64>> numbers;
    std::optional<PendingRefusal> typed;
    for (qsizetype s = 0; s < sides.size() && !typed; ++s) {
        const QString caption = values.value(3 * s).trimmed();
        const QString lineText = values.value(3 * s + 1).trimmed();
        const QString formula = values.value(3 * s + 2).trimmed();
        std::optional<qint64> number;
        if (lineText.isEmpty()) {
            if (s == 0 || !caption.isEmpty() || !formula.isEmpty())
                typed = refusal(u"行次不能为空"_s);
        } else {
            bool ok = false;
            number = lineText.toLongLong(&ok);
            if (!ok || *number < 1)
                typed = refusal(u"行次只能是整数: "_s + lineText);
        }
        if (!typed)
            typed = formulaRefusal(formula);
        numbers << number;
        params << (caption.isEmpty() ? QVariant() : QVariant(caption))
               << (number ? QVariant(*number) : QVariant())
               << (formula.isEmpty() ? QVariant() : QVariant(formula));
    }
    if (typed)
        return refuse(dialogs, *typed);
    if (numbers.size() == 2 && numbers.at(0) && numbers.at(0) == numbers.at(1))
        return refuse(dialogs, refusal(u"行次%1重复"_s.arg(*numbers.at(0))));

    QStringList assignments;
    for (const QString &column : templateColumns(table))
        assignments << column + u" = ?"_s;
    params << rowid;
    return checkAskWrite(
        session, dialogs,
        [&]() -> std::optional<PendingRefusal> {
            for (qsizetype s = 0; s < sides.size(); ++s) {
                if (auto unknown = unknownCodeRefusal(session, table, values.value(3 * s + 2).trimmed()))
                    return unknown;
            }
            const QSet<qint64> taken = otherLines(session, table, rowid);
            for (const std::optional<qint64> &number : numbers) {
                if (number && taken.contains(*number))
                    return refusal(u"行次%1重复"_s.arg(*number));
            }
            return std::nullopt;
        },
        {},
        [&] {
            session.execSql(u"UPDATE "_s + tableName(table) + u" SET "_s + assignments.join(u", "_s)
                                + u" WHERE rowid = ?"_s,
                            params);
        });
}

OpResult SetTemplateLine(Session &session, StatementTable table, int line, const std::optional<QString> &caption,
                         const std::optional<QString> &formula, Dialogs &dialogs)
{
    if (formula) {
        if (const std::optional<PendingRefusal> bad = formulaRefusal(formula->trimmed()))
            return refuse(dialogs, *bad);
    }
    const QList<Side> sides = sidesOf(table);
    return checkAskWrite(
        session, dialogs,
        [&]() -> std::optional<PendingRefusal> {
            for (const Side &side : sides) {
                if (!session.RunSql(u"SELECT 1 FROM "_s + tableName(table) + u" WHERE "_s + side.line + u" = ?"_s, {line})
                         .eof())
                    return formula ? unknownCodeRefusal(session, table, formula->trimmed()) : std::nullopt;
            }
            return refusal(u"没有行次%1"_s.arg(line));
        },
        {},
        [&] {
            for (const Side &side : sides) {
                QStringList assignments;
                QVariantList params;
                if (caption) {
                    assignments << side.caption + u" = ?"_s;
                    params << caption->trimmed();
                }
                if (formula) {
                    assignments << side.formula + u" = ?"_s;
                    params << (formula->trimmed().isEmpty() ? QVariant() : QVariant(formula->trimmed()));
                }
                if (assignments.isEmpty())
                    return;
                params << line;
                session.execSql(u"UPDATE "_s + tableName(table) + u" SET "_s + assignments.join(u", "_s) + u" WHERE "_s
                                    + side.line + u" = ?"_s,
                                params);
            }
        });
}

OpResult ListTemplateLines(Session &session, StatementTable table, QList<QStringList> &lines, Dialogs &dialogs)
{
    lines.clear();
    return guarded(dialogs, [&] {
        QList<std::pair<qint64, QStringList>> found;
        for (const Side &side : sidesOf(table)) {
            const ResultSet rows = session.RunSql(u"SELECT "_s + side.line + u", "_s + side.caption + u", "_s
                                                  + side.formula + u" FROM "_s + tableName(table) + u" WHERE "_s
                                                  + side.line + u" IS NOT NULL"_s);
            for (const ResultSet::Row &row : rows.rows())
                found.append({row.at(0).toLongLong(), {row.at(0).toString(), row.at(1).toString(), row.at(2).toString()}});
        }
        std::stable_sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &entry : found)
            lines.append(entry.second);
        return OpResult::done();
    });
}

} // namespace tz
