// Opening balances: working copy, trial balance and the load into the journal.
#include "accounts/openingbalances.h"

#include <cmath>

#include <QLocale>
#include <QVariant>

#include "accounts/chartrules.h"
#include "store/checkedwrite.h"
#include "store/digits.h"
#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/numberformat.h"
#include "store/session.h"
#include "store/transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;

const QString kReadSql =
    u"SELECT 科目代码, 科目全称, 方向, 数量, 借方金额, 贷方金额 FROM 科目表 WHERE 明细 = 'Y' ORDER BY 科目代码"_s;

const QString kTotalsSql = u"SELECT total(借方金额) AS JF, total(贷方金额) AS DF FROM 科目表"_s;

// Accounts that get an opening line: a debit or a credit amount; a quantity
// alone is not loaded.
const QString kLoadedRowsCondition = u"借方金额 IS NOT NULL OR 贷方金额 IS NOT NULL"_s;

// Replaces the set of opening lines. Sequence numbers count the loaded
// accounts from 1 in code order; the base is bound so the ID stays an integer.
const QString kDeleteOpeningLinesSql = u"DELETE FROM 分录表 WHERE substr(ID, 1, 3) = '800'"_s;
const QString kInsertOpeningLinesSql =
    u"INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 数量, 借方金额, 贷方金额) "
    "SELECT ? + row_number() OVER (ORDER BY 科目代码), '年初余额', 科目代码, 数量, 借方金额, 贷方金额 "
    "FROM 科目表 WHERE "_s + kLoadedRowsCondition + u" ORDER BY 科目代码"_s;

// Each field is set only when its flag is 1, so one statement serves any
// combination of edited cells.
const QString kUpdateSql =
    u"UPDATE 科目表 SET 数量 = CASE WHEN ? THEN ? ELSE 数量 END, "
    "借方金额 = CASE WHEN ? THEN ? ELSE 借方金额 END, "
    "贷方金额 = CASE WHEN ? THEN ? ELSE 贷方金额 END WHERE 科目代码 = ?"_s;


// A cell's text as the value to store: NULL for empty text and for zero,
// nullopt when the text is no number.
std::optional<QVariant> amountValue(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    const std::optional<Cents> cents = parseAmount(text);
    if (!cents)
        return std::nullopt;
    return *cents == 0 ? QVariant() : QVariant(centsToDouble(*cents));
}

std::optional<QVariant> quantityValue(const QString &text)
{
    const QString plain = stripGrouping(text.trimmed());
    if (plain.isEmpty())
        return QVariant();
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value == 0.0 ? QVariant() : QVariant(value);
}

std::optional<Cents> centsOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return roundToCents(value.toDouble());
}

} // namespace

OpResult ReadOpeningBalances(Session &session, QList<OpeningBalance> &balances, Dialogs &dialogs)
{
    balances.clear();
    return guarded(dialogs, [&] {
        const ResultSet rows = session.RunSql(kReadSql);
        balances.reserve(rows.recordCount());
        for (const ResultSet::Row &row : rows.rows()) {
            OpeningBalance b;
            b.code = row.at(0).toString();
            b.fullName = row.at(1).toString();
            b.direction = row.at(2).toString();
            if (!row.at(3).isNull())
                b.quantity = row.at(3).toDouble();
            b.debit = centsOf(row.at(4));
            b.credit = centsOf(row.at(5));
            balances.append(b);
        }
        return OpResult::done();
    });
}

OpResult SetOpeningBalance(Session &session, const QString &code, const OpeningEdit &edit, Dialogs &dialogs)
{
    if (code.isEmpty())
        return refuse(dialogs, u"请输入科目代码"_s, kNoticeTitle, Icon::Critical);
    if (!isAllDigits(code))
        return refuse(dialogs, u"科目代码只能是数字"_s, kNoticeTitle, Icon::Critical);

    struct Field
    {
        QString name;
        const std::optional<QString> &text;
        std::optional<QVariant> (*convert)(const QString &);
    };
    const Field fields[] = {
        {u"数量"_s, edit.quantity, quantityValue},
        {u"借方金额"_s, edit.debit, amountValue},
        {u"贷方金额"_s, edit.credit, amountValue},
    };
    QVariantList params;
    std::optional<QString> badNumber;
    for (const Field &field : fields) {
        QVariant value;
        if (field.text) {
            const std::optional<QVariant> converted = field.convert(*field.text);
            if (!converted && !badNumber)
                badNumber = field.name + u"不是有效的数字: "_s + *field.text;
            value = converted.value_or(QVariant());
        }
        params << QVariant(field.text.has_value() ? 1 : 0) << value;
    }
    params << code;

    // The account is looked up in the transaction that writes its figures,
    // so a sub-account added meanwhile cannot leave them on a parent.
    std::optional<std::pair<QString, Icon>> refusal;
    const OpResult written = guarded(dialogs, [&] {
        Transaction transaction(session);
        const ResultSet row = session.RunSql(u"SELECT 明细 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
        if (row.eof())
            refusal = {noSuchChartAccountText(code), Icon::Exclamation};
        else if (row.text(u"明细"_s) != u"Y"_s)
            refusal = {notDetailAccountText(code, u"不能录入年初数"_s), Icon::Exclamation};
        else if (badNumber)
            refusal = {*badNumber, Icon::Critical};
        if (refusal)
            return OpResult::refused();
        session.execSql(kUpdateSql, params);
        const ResultSet figures = session.RunSql(u"SELECT 数量, 借方金额, 贷方金额 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
        // Plain decimals: a double's own text would write 300000 as 3e+05.
        const auto figure = [&figures](int column) {
            const QVariant value = figures.value(0, column);
            return value.isNull() ? QString() : QLocale::c().toString(value.toDouble(), 'f', QLocale::FloatingPointShortest);
        };
        logOperation(session, u"录入年初数"_s, 0, u"%1 数量%2 借方%3 贷方%4"_s.arg(code, figure(0), figure(1), figure(2)));
        transaction.commit();
        return OpResult::done();
    });
    if (refusal)
        return refuse(dialogs, refusal->first, kNoticeTitle, refusal->second);
    return written;
}

QString TrialBalance::debitText() const
{
    return centsToText(debit, true);
}

QString TrialBalance::creditText() const
{
    return centsToText(credit, true);
}

QString TrialBalance::statusText() const
{
    return isBalanced() ? u"平衡"_s : u"不平衡"_s;
}

namespace {

TrialBalance readTrialBalance(Session &session)
{
    // Each total is rounded to cents as the window shows it; comparing the
    // two cent values is the "difference below 0.01" rule without any
    // binary remainder.
    const ResultSet totals = session.RunSql(kTotalsSql);
    TrialBalance trial;
    trial.debit = roundToCents(totals.value(0, 0).toDouble());
    trial.credit = roundToCents(totals.value(0, 1).toDouble());
    return trial;
}

} // namespace

OpResult ComputeTrialBalance(Session &session, TrialBalance &trial, Dialogs &dialogs)
{
    trial = {};
    return guarded(dialogs, [&] {
        trial = readTrialBalance(session);
        return OpResult::done();
    });
}

std::optional<qint64> openingLineId(qint64 sequence)
{
    if (sequence < 1 || sequence > kMaxOpeningLines)
        return std::nullopt;
    return kOpeningIdBase + sequence;
}

namespace {

// Why the working copy cannot be loaded: unbalanced, or more lines than the
// opening IDs hold. Empty when it can.
std::optional<PendingRefusal> loadRefusal(Session &session, const TrialBalance &totals)
{
    if (!totals.isBalanced())
        return PendingRefusal{u"借贷不平"_s, applicationTitle(), Icon::Critical};
    const qint64 lines
        = session.RunSql(u"SELECT count(*) FROM 科目表 WHERE "_s + kLoadedRowsCondition).value(0, 0).toLongLong();
    if (lines > 0 && !openingLineId(lines))
        return PendingRefusal{u"有年初金额的科目超过%1个,不能装入"_s.arg(kMaxOpeningLines), kNoticeTitle, Icon::Critical};
    return std::nullopt;
}

} // namespace

OpResult LoadOpeningBalances(Session &session, Dialogs &dialogs, TrialBalance *trial)
{
    TrialBalance totals;
    const OpResult computed = ComputeTrialBalance(session, totals, dialogs);
    if (trial)
        *trial = totals;
    if (!computed.isDone())
        return computed;
    // The checks are made again under the write lock: the working copy may
    // have been edited by another program while the question was open.
    bool asked = false;
    const OpResult loaded = checkAskWrite(
        session, dialogs, [&] { return loadRefusal(session, asked ? readTrialBalance(session) : totals); },
        [&] { return asked = dialogs.ask(u"是否装入年初数据?请认真核对里边的数据！！！"_s, applicationTitle()); },
        [&] {
            session.execSql(kDeleteOpeningLinesSql);
            session.execSql(kInsertOpeningLinesSql, {kOpeningIdBase});
            logVouchers(session, u"装入年初数"_s, 0, 0, 0);
        });
    if (!loaded.isDone())
        return loaded;
    dialogs.show(u"已装入成功"_s, applicationTitle(), Icon::None);
    return OpResult::done();
}

} // namespace tz
