// Chart-of-accounts maintenance: the tree rows, the proposed sub-code, adding
// detail and top-level accounts, renaming with the full-name cascade,
// deleting subtrees, the detail attributes; every check with its exact
// message, and the all-or-nothing writes.
#include <optional>

#include <gtest/gtest.h>

#include <QSet>

#include "accounts/accounttree.h"
#include "accounts/chartrules.h"
#include "accounts/deleteaccount.h"
#include "accounts/detailattributes.h"
#include "accounts/renameaccount.h"
#include "accounts/subaccount.h"
#include "accounts/toplevelaccount.h"
#include "store/session.h"
#include "tests/ledgers/ledgersupport.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::ChartAccount;
using tz::Icon;
using tz::Session;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

Message tip(const QString &text)
{
    return {text, u"TZ305提示"_s, Icon::Question};
}

Message checkInput(const QString &text)
{
    return {text, u"请检查如下内容↓"_s, Icon::Question};
}

Message plain(const QString &text)
{
    return {text, u"TZ305"_s, Icon::None};
}

// Every row of a table as text, NULL shown as "∅", for before/after comparisons.
QStringList dump(Session &s, const QString &sql)
{
    QStringList lines;
    const tz::ResultSet rows = s.RunSql(sql);
    for (const tz::ResultSet::Row &row : rows.rows()) {
        QStringList fields;
        for (const QVariant &v : row)
            fields.append(v.isNull() ? u"∅"_s : v.toString());
        lines.append(fields.join(u'|'));
    }
    return lines;
}

QStringList chart(Session &s)
{
    return dump(s, u"SELECT * FROM 科目表 ORDER BY 科目代码"_s);
}

QStringList journal(Session &s)
{
    return dump(s, u"SELECT * FROM 分录表 ORDER BY ID, 科目代码"_s);
}

// 科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 拼音, 数量, 借方金额, 贷方金额 of one account.
QString row(Session &s, const QString &code)
{
    return dump(s,
        u"SELECT 科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 拼音, 数量, 借方金额, 贷方金额 "
        "FROM 科目表 WHERE 科目代码 = '"_s
            + code + u"'"_s)
        .value(0);
}

void addLine(Session &s, qint64 id, const QString &code, const QVariant &debit, const QVariant &credit)
{
    s.execSql(u"INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 借方金额, 贷方金额) VALUES (?, '摘要', ?, ?, ?)"_s,
        {id, code, debit, credit});
}

tz::OpResult add(Session &s, const QString &parent, const QString &sub, const QString &name, ScriptedDialogs &dialogs,
    const QString &direction = u"借"_s)
{
    return tz::AddDetailAccount(s, {parent, sub, name, direction, {}}, dialogs);
}

void addOk(Session &s, const QString &parent, const QString &sub, const QString &name)
{
    ScriptedDialogs dialogs({true});
    ASSERT_TRUE(add(s, parent, sub, name, dialogs).isDone()) << (parent + sub).toStdString();
    ASSERT_TRUE(dialogs.messages.isEmpty());
}

TEST(ChartTree, LevelByLevelParentsFirstAndOneClassAtATime)
{
    TestSet set;
    Session &s = set.session();
    ScriptedDialogs dialogs;
    QList<ChartAccount> rows;
    ASSERT_TRUE(tz::ReadAccountTree(s, 0, rows, dialogs).isDone());
    EXPECT_EQ(rows.size(), s.RunSql(u"SELECT count(*) FROM 科目表"_s).value(0, 0).toInt());

    QSet<QString> seen;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ChartAccount &a = rows.at(i);
        SCOPED_TRACE(a.code.toStdString());
        if (i > 0) {
            const ChartAccount &before = rows.at(i - 1);
            EXPECT_TRUE(before.level < a.level || (before.level == a.level && before.code < a.code));
        }
        if (a.level == 1)
            EXPECT_TRUE(a.parentNodeKey().isEmpty());
        else
            EXPECT_TRUE(seen.contains(a.parentNodeKey())); // the parent node exists already
        seen.insert(a.nodeKey());
    }

    const auto find = [&rows](const QString &code) {
        return *std::find_if(rows.cbegin(), rows.cend(), [&](const ChartAccount &a) { return a.code == code; });
    };
    EXPECT_EQ(find(u"1002002"_s),
        (ChartAccount {u"1002002"_s, u"美元户"_s, 2, u"银行存款/美元户"_s, u"借"_s, true, u""_s, u""_s, true}));
    const ChartAccount vat = find(u"2221001001"_s);
    EXPECT_EQ(vat.nodeKey(), u"x2221001001"_s);
    EXPECT_EQ(vat.nodeText(), u"2221001001 进项税额"_s);
    EXPECT_EQ(vat.parentNodeKey(), u"x2221001"_s);
    EXPECT_FALSE(find(u"2221001"_s).detail);

    // One class; no such class gives nothing, not everything.
    for (int accountClass = -1; accountClass <= 9; ++accountClass) {
        SCOPED_TRACE(accountClass);
        if (accountClass == 0)
            continue;
        rows = {ChartAccount {}};
        ASSERT_TRUE(tz::ReadAccountTree(s, accountClass, rows, dialogs).isDone());
        const int expected = s.RunSql(u"SELECT count(*) FROM 科目表 WHERE substr(科目代码, 1, 1) = ?"_s,
                                  {QString::number(accountClass)})
                                 .value(0, 0)
                                 .toInt();
        EXPECT_EQ(expected > 0, accountClass >= 1 && accountClass <= 5);
        EXPECT_EQ(rows.size(), expected);
        for (const ChartAccount &a : std::as_const(rows))
            EXPECT_EQ(a.code.at(0), QChar(u'0' + accountClass)) << a.code.toStdString();
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(ChartProposal, CountsChildrenSoAGapCollidesWithAnExistingCode)
{
    TestSet set;
    Session &s = set.session();
    for (const QString &sub : {u"001"_s, u"002"_s, u"004"_s})
        addOk(s, u"1122"_s, sub, u"客户"_s + sub);

    ScriptedDialogs dialogs;
    QString proposal;
    ASSERT_TRUE(tz::ProposeSubCode(s, u"1122"_s, proposal, dialogs).isDone());
    EXPECT_EQ(proposal, u"004"_s); // three children + 1, not the free 003

    const QStringList before = chart(s);
    EXPECT_TRUE(add(s, u"1122"_s, proposal, u"新客户"_s, dialogs).isRefused());
    EXPECT_EQ(dialogs.messages, QList<Message>({tip(u"1122004 应收账款/客户004  此代码已存在!"_s)}));
    EXPECT_EQ(chart(s), before);

    // Children only, not grandchildren; nothing below gives 001; no code, no proposal.
    addOk(s, u"1122001"_s, u"001"_s, u"孙"_s);
    const QList<std::pair<QString, QString>> cases = {{u"1122"_s, u"004"_s}, {u"1122001"_s, u"002"_s},
        {u"1001"_s, u"001"_s}, {u"2221001"_s, u"006"_s}, {u"10a1"_s, u""_s}, {u"1%"_s, u""_s}, {u""_s, u""_s}};
    for (const auto &[parent, expected] : cases) {
        ASSERT_TRUE(tz::ProposeSubCode(s, parent, proposal, dialogs).isDone());
        EXPECT_EQ(proposal, expected) << parent.toStdString();
    }
    for (const auto &[code, next] : {std::pair {u"004"_s, u"005"_s}, {u"009"_s, u"010"_s}, {u"099"_s, u"100"_s}})
        EXPECT_EQ(tz::followingSubCode(code), next);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST(ChartAddDetail, ChecksInOrderEachWithItsMessageAndNothingWritten)
{
    TestSet set;
    Session &s = set.session();
    struct Case
    {
        QString parent;
        QString sub;
        QString name;
        QString direction;
        Message expected;
    };
    const Message missing = checkInput(u"代码,名称,方向不能为空"_s);
    const Message notThreeDigits = tip(u"代码应为三位整数"_s);
    const QList<Case> cases = {
        {u""_s, u"001"_s, u"甲"_s, u"借"_s, missing},
        {u"1122"_s, u""_s, u"甲"_s, u"借"_s, missing},
        {u"1122"_s, u"001"_s, u"  "_s, u"借"_s, missing},
        {u"1122"_s, u"001"_s, u"\"\r\n\""_s, u"借"_s, missing}, // nothing left once cleaned
        {u"1122"_s, u"001"_s, u"甲"_s, u""_s, missing},
        {u"1122"_s, u"001"_s, u"甲"_s, u"平"_s, missing}, // only 借 and 贷 are directions
        {u"2221001001001"_s, u"1"_s, u""_s, u"借"_s, missing}, // the first check wins
        {u"1122"_s, u"01"_s, u"甲"_s, u"借"_s, notThreeDigits},
        {u"1122"_s, u"0001"_s, u"甲"_s, u"借"_s, notThreeDigits},
        {u"1122"_s, u"0a1"_s, u"甲"_s, u"借"_s, notThreeDigits},
        {u"1122"_s, u"%__"_s, u"甲"_s, u"借"_s, notThreeDigits},
        {u"1122"_s, u"\uFF10\uFF10\uFF11"_s, u"甲"_s, u"借"_s, notThreeDigits}, // full-width digits
        {u"2221001001001"_s, u"1"_s, u"甲"_s, u"借"_s, notThreeDigits},
        {u"2221001001001"_s, u"001"_s, u"甲"_s, u"借"_s, tip(u"不能再增加下级明细"_s)},
        {u"10a2"_s, u"001"_s, u"甲"_s, u"借"_s, tip(u"10a2  此科目不存在!"_s)},
        {u"1%"_s, u"001"_s, u"甲"_s, u"借"_s, tip(u"1%  此科目不存在!"_s)},
        {u"1003"_s, u"001"_s, u"甲"_s, u"借"_s, tip(u"1003  此科目不存在!"_s)},
        {u"1002"_s, u"001"_s, u"甲"_s, u"借"_s, tip(u"1002001 银行存款/人民币户  此代码已存在!"_s)},
        {u"1002"_s, u"003"_s, u"人民币户"_s, u"借"_s, tip(u"1002001银行存款/人民币户  此明细科目已存在!"_s)},
        {u"1002"_s, u"003"_s, u" \"人民币户\" "_s, u"贷"_s, tip(u"1002001银行存款/人民币户  此明细科目已存在!"_s)},
    };
    const QStringList chartBefore = chart(s);
    for (const Case &c : cases) {
        SCOPED_TRACE((c.parent + u" / "_s + c.sub + u" / "_s + c.name).toStdString());
        ScriptedDialogs dialogs({true});
        EXPECT_TRUE(add(s, c.parent, c.sub, c.name, dialogs, c.direction).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_TRUE(dialogs.questions.isEmpty());
    }
    EXPECT_EQ(chart(s), chartBefore);
}

TEST(ChartAddDetail, WritesTheNewAccountAndDemotesTheParent)
{
    TestSet set;
    Session &s = set.session();
    ScriptedDialogs dialogs;
    ASSERT_TRUE(add(s, u"1122"_s, u"001"_s, u" 华\"新\"\r\n公司 "_s, dialogs).isDone());
    EXPECT_EQ(row(s, u"1122001"_s), u"1122001|华新公司|2|应收账款/华新公司|借|Y|HXGS|∅|∅|∅"_s);
    EXPECT_EQ(row(s, u"1122"_s), u"1122|应收账款|1|应收账款|借||YSZK|∅|∅|∅"_s);

    // Initials as shown in the window are kept; a level-4 account under a
    // level-3 one; nothing below level 4.
    ASSERT_TRUE(
        tz::AddDetailAccount(s, {u"2221001001"_s, u"001"_s, u"13%税率"_s, u"贷"_s, u" sl13 "_s}, dialogs).isDone());
    EXPECT_EQ(
        row(s, u"2221001001001"_s), u"2221001001001|13%税率|4|应交税费/应交增值税/进项税额/13%税率|贷|Y|sl13|∅|∅|∅"_s);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty()); // no journal lines, no question

    std::optional<ChartAccount> account;
    ASSERT_TRUE(tz::ReadAccount(s, u"2221001001001"_s, account, dialogs).isDone());
    ASSERT_TRUE(account.has_value());
    EXPECT_EQ(account->level, 4);
    ASSERT_TRUE(tz::ReadAccount(s, u"2221001001999"_s, account, dialogs).isDone());
    EXPECT_FALSE(account.has_value());

    // Opening figures move to the first child even without journal lines,
    // so the trial balance sees the same credit total.
    s.execSql(u"UPDATE 科目表 SET 贷方金额 = 800.5 WHERE 科目代码 = '2241'"_s);
    const double totalBefore = s.RunSql(u"SELECT sum(贷方金额) FROM 科目表"_s).value(0, 0).toDouble();
    ASSERT_TRUE(add(s, u"2241"_s, u"001"_s, u"押金"_s, dialogs, u"贷"_s).isDone());
    EXPECT_EQ(row(s, u"2241001"_s), u"2241001|押金|2|其他应付款/押金|贷|Y|YJ|∅|∅|800.5"_s);
    EXPECT_EQ(s.RunSql(u"SELECT sum(贷方金额) FROM 科目表"_s).value(0, 0).toDouble(), totalBefore);

    // A sub-account of an account flagged for revaluation is revalued too,
    // in the parent's currency; other parents pass nothing on.
    s.execSql(u"UPDATE 科目表 SET 单位 = '美元', 规格 = 'USD' WHERE 科目代码 IN ('1002002', '1122001')"_s);
    ASSERT_TRUE(add(s, u"1002002"_s, u"001"_s, u"中行"_s, dialogs).isDone());
    ASSERT_TRUE(add(s, u"1122001"_s, u"001"_s, u"总部"_s, dialogs).isDone());
    const auto attributes = [&](const QString &code) {
        return tz::test::table(s, u"SELECT 单位, 规格, 调汇 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
    };
    EXPECT_EQ(attributes(u"1002002001"_s), QStringList{u"美元|USD|Y"_s});
    EXPECT_EQ(attributes(u"1122001001"_s), QStringList{u"||"_s});

    QString proposal;
    ASSERT_TRUE(tz::ProposeSubCode(s, u"2221001001001"_s, proposal, dialogs).isDone());
    EXPECT_TRUE(add(s, u"2221001001001"_s, proposal, u"再下级"_s, dialogs).isRefused());
    EXPECT_EQ(dialogs.messages, QList<Message>({tip(u"不能再增加下级明细"_s)}));
}

TEST(ChartAddDetail, FirstChildOfABookedAccountTakesItsLinesOnYesOnly)
{
    TestSet set;
    Session &s = set.session();
    s.execSql(u"UPDATE 科目表 SET 数量 = 5, 借方金额 = 1234.56 WHERE 科目代码 = '1403'"_s);
    addLine(s, 8000000001, u"1403"_s, 1234.56, QVariant()); // loaded opening line
    addLine(s, 8010001001, u"1403"_s, 100.0, QVariant()); // voucher line
    addLine(s, 8010001002, u"1002001"_s, QVariant(), 100.0); // another account's line
    const QString question = u"1403---代码已有数据!如果增加明细将默认为此明细.是否增加？"_s;

    {
        const QStringList chartBefore = chart(s);
        const QStringList journalBefore = journal(s);
        ScriptedDialogs no({false});
        EXPECT_TRUE(add(s, u"1403"_s, u"001"_s, u"钢材"_s, no).isRefused());
        EXPECT_EQ(no.questions, QList<Message>({{question, u"特别提示"_s, Icon::Question}}));
        EXPECT_TRUE(no.messages.isEmpty());
        EXPECT_EQ(chart(s), chartBefore); // not even the detail flag
        EXPECT_EQ(journal(s), journalBefore);
    }

    ScriptedDialogs yes({true});
    ASSERT_TRUE(add(s, u"1403"_s, u"001"_s, u"钢材"_s, yes).isDone());
    EXPECT_EQ(yes.questions.size(), 1);
    EXPECT_TRUE(yes.messages.isEmpty());
    EXPECT_EQ(dump(s, u"SELECT ID, 科目代码 FROM 分录表 ORDER BY ID"_s),
        (QStringList {u"8000000001|1403001"_s, u"8010001001|1403001"_s, u"8010001002|1002001"_s}));
    // The opening figures went with the lines; the parent keeps none.
    EXPECT_EQ(row(s, u"1403001"_s), u"1403001|钢材|2|原材料/钢材|借|Y|GC|5|1234.56|∅"_s);
    EXPECT_EQ(row(s, u"1403"_s), u"1403|原材料|1|原材料|借||YCL|∅|∅|∅"_s);

    // The second child: the parent has neither lines nor figures any more.
    ScriptedDialogs second;
    ASSERT_TRUE(add(s, u"1403"_s, u"002"_s, u"木材"_s, second).isDone());
    EXPECT_TRUE(second.questions.isEmpty());
    EXPECT_EQ(row(s, u"1403002"_s), u"1403002|木材|2|原材料/木材|借|Y|MC|∅|∅|∅"_s);
    EXPECT_EQ(row(s, u"1403001"_s), u"1403001|钢材|2|原材料/钢材|借|Y|GC|5|1234.56|∅"_s);
}

// A failure part-way through an add undoes what was already written.
TEST(ChartAddDetail, FailureHalfWayLeavesNothingWritten)
{
    const QStringList triggers = {
        u"CREATE TRIGGER 测试_失败 BEFORE INSERT ON 科目表 BEGIN SELECT RAISE(ABORT, 'boom'); END"_s,
        u"CREATE TRIGGER 测试_失败 BEFORE UPDATE ON 科目表 WHEN NEW.明细 = '' "
        "BEGIN SELECT RAISE(ABORT, 'boom'); END"_s,
    };
    for (const QString &trigger : triggers) {
        SCOPED_TRACE(trigger.toStdString());
        TestSet set;
        Session &s = set.session();
        s.execSql(u"UPDATE 科目表 SET 借方金额 = 50 WHERE 科目代码 = '1001'"_s);
        addLine(s, 8010001001, u"1001"_s, 50.0, QVariant());
        s.execSql(trigger);
        const QStringList chartBefore = chart(s);
        const QStringList journalBefore = journal(s);

        ScriptedDialogs dialogs({true});
        EXPECT_TRUE(add(s, u"1001"_s, u"001"_s, u"零用金"_s, dialogs).isFailed());
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages.first().title, u"TZ305提示"_s);
        EXPECT_EQ(dialogs.messages.first().icon, Icon::Critical);
        EXPECT_TRUE(dialogs.messages.first().text.contains(u"boom"_s));
        EXPECT_EQ(chart(s), chartBefore);
        EXPECT_EQ(journal(s), journalBefore);

        // Nothing is left open: the same add succeeds once the cause is gone.
        s.execSql(u"DROP TRIGGER 测试_失败"_s);
        ScriptedDialogs again({true});
        ASSERT_TRUE(add(s, u"1001"_s, u"001"_s, u"零用金"_s, again).isDone());
        EXPECT_EQ(row(s, u"1001001"_s), u"1001001|零用金|2|库存现金/零用金|借|Y|LYJ|∅|50|∅"_s);
    }
}

TEST(ChartNames, QuotesPercentAndUnderscoresAreStoredAsData)
{
    TestSet set;
    Session &s = set.session();
    addOk(s, u"1122"_s, u"001"_s, u"O'Brien 100%_x"_s);
    EXPECT_EQ(row(s, u"1122001"_s), u"1122001|O'Brien 100%_x|2|应收账款/O'Brien 100%_x|借|Y|O'BRIEN100%_X|∅|∅|∅"_s);
    // A name that differs only by wildcards or quotes is another name.
    addOk(s, u"1122"_s, u"002"_s, u"O'Brien 1000_x"_s);
    addOk(s, u"1122"_s, u"003"_s, u"O''Brien 100%_x"_s);

    ScriptedDialogs dialogs({true});
    ASSERT_TRUE(
        tz::RenameAccount(s, {u"1122001"_s, u"it's \"ok\"; DROP TABLE 科目表; --"_s, u"借"_s, {}}, dialogs).isDone());
    EXPECT_EQ(row(s, u"1122001"_s).section(u'|', 0, 3),
        u"1122001|it's ok; DROP TABLE 科目表; --|2|应收账款/it's ok; DROP TABLE 科目表; --"_s);

    ScriptedDialogs top;
    ASSERT_TRUE(tz::AddTopLevelAccount(s, {u"1009"_s, u"备用'金%"_s, u"借"_s, {}}, top).isDone());
    EXPECT_EQ(row(s, u"1009"_s), u"1009|备用'金%|1|备用'金%|借|Y|BY'J%|∅|∅|∅"_s);
}

TEST(ChartRename, CascadesFullNamesThreeLevelsDownAndLeavesCodesAndLines)
{
    TestSet set;
    Session &s = set.session();
    addOk(s, u"1601"_s, u"001"_s, u"设备"_s);
    addOk(s, u"1601001"_s, u"001"_s, u"车间"_s);
    addOk(s, u"1601001001"_s, u"001"_s, u"车床"_s);
    addOk(s, u"1601001001"_s, u"002"_s, u"铣床"_s);
    addLine(s, 8010001001, u"1601001001001"_s, 3000.0, QVariant());
    const QStringList journalBefore = journal(s);
    const QStringList codesBefore = dump(s, u"SELECT 科目代码 FROM 科目表 ORDER BY 科目代码"_s);
    const QString otherBefore = row(s, u"1602"_s);

    ScriptedDialogs dialogs({true, true});
    ASSERT_TRUE(tz::RenameAccount(s, {u"1601"_s, u"固定资产原值"_s, u"借"_s, {}}, dialogs).isDone());
    EXPECT_EQ(dialogs.questions.mid(0, 1),
        QList<Message>(
            {{u"是否把( 固定资产 )修改为( 固定资产原值 )?, 所有涉及到的科目(包括凭证)都会自动转换,是否现在修改?"_s,
                u"****注意提示!!"_s, Icon::Question}}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(dump(s,
                  u"SELECT 科目代码, 科目名称, 科目全称, 方向, 拼音 FROM 科目表 "
                  "WHERE 科目代码 GLOB '1601*' ORDER BY 科目代码"_s),
        (QStringList {u"1601|固定资产原值|固定资产原值|借|GDZCYZ"_s, u"1601001|设备|固定资产原值/设备|借|SB"_s,
            u"1601001001|车间|固定资产原值/设备/车间|借|CJ"_s,
            u"1601001001001|车床|固定资产原值/设备/车间/车床|借|CC"_s,
            u"1601001001002|铣床|固定资产原值/设备/车间/铣床|借|XC"_s}));

    // A middle account with a new direction: only its own row takes the
    // direction; its parent stays, its children follow by full name only.
    ASSERT_TRUE(tz::RenameAccount(s, {u"1601001"_s, u"机器设备"_s, u"贷"_s, u"JQ"_s}, dialogs).isDone());
    EXPECT_EQ(dump(s,
                  u"SELECT 科目代码, 科目名称, 科目全称, 方向, 拼音 FROM 科目表 "
                  "WHERE 科目代码 GLOB '1601*' ORDER BY 科目代码"_s),
        (QStringList {u"1601|固定资产原值|固定资产原值|借|GDZCYZ"_s, u"1601001|机器设备|固定资产原值/机器设备|贷|JQ"_s,
            u"1601001001|车间|固定资产原值/机器设备/车间|借|CJ"_s,
            u"1601001001001|车床|固定资产原值/机器设备/车间/车床|借|CC"_s,
            u"1601001001002|铣床|固定资产原值/机器设备/车间/铣床|借|XC"_s}));

    EXPECT_EQ(dump(s, u"SELECT 科目代码 FROM 科目表 ORDER BY 科目代码"_s), codesBefore);
    EXPECT_EQ(journal(s), journalBefore);
    EXPECT_EQ(row(s, u"1602"_s), otherBefore); // 16021… is no descendant of 1601
}

TEST(ChartRename, ChecksInOrderEachWithItsMessageAndNothingWritten)
{
    TestSet set;
    Session &s = set.session();
    struct Case
    {
        QString code;
        QString name;
        QString direction;
        Message expected;
    };
    const Message missing = tip(u"代码,名称,方向不能为空"_s);
    const QList<Case> cases = {
        {u""_s, u"新名"_s, u"借"_s, missing},
        {u"1122"_s, u" \"\" "_s, u"借"_s, missing},
        {u"1122"_s, u"新名"_s, u""_s, missing},
        {u"1122"_s, u"新名"_s, u"借方"_s, missing},
        {u"1003"_s, u"新名"_s, u"借"_s, tip(u"1003  此科目不存在!"_s)},
        {u"10a1"_s, u"新名"_s, u"借"_s, tip(u"10a1  此科目不存在!"_s)},
        {u"1%"_s, u"新名"_s, u"借"_s, tip(u"1%  此科目不存在!"_s)},
        // Same name, other direction: refused, as users of the books know it.
        {u"1122"_s, u"应收账款"_s, u"贷"_s, tip(u"应收账款 --- 此科目已存在!不能修改"_s)},
        {u"1122"_s, u"应付账款"_s, u"借"_s, tip(u"应付账款 --- 此科目已存在!不能修改"_s)},
        {u"1002002"_s, u"人民币户"_s, u"借"_s, tip(u"银行存款/人民币户 --- 此科目已存在!不能修改"_s)},
    };
    const QStringList before = chart(s);
    for (const Case &c : cases) {
        SCOPED_TRACE((c.code + u" / "_s + c.name).toStdString());
        ScriptedDialogs dialogs({true});
        EXPECT_TRUE(tz::RenameAccount(s, {c.code, c.name, c.direction, {}}, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_TRUE(dialogs.questions.isEmpty());
    }
    // No to the question: nothing written, nothing said.
    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::RenameAccount(s, {u"1002002"_s, u"美金户"_s, u"借"_s, {}}, no).isRefused());
    EXPECT_EQ(no.questions.size(), 1);
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_EQ(chart(s), before);

    // Another level's account with the same own name is no conflict.
    ScriptedDialogs yes({true, true});
    EXPECT_TRUE(tz::RenameAccount(s, {u"2211001"_s, u"福利"_s, u"贷"_s, {}}, yes).isDone());
    EXPECT_TRUE(tz::RenameAccount(s, {u"5602004"_s, u"福利"_s, u"借"_s, {}}, yes).isDone());
    EXPECT_TRUE(yes.messages.isEmpty());
}

TEST(ChartDelete, TakesTheSubtreeAndTheLastChildRestoresTheDetailFlag)
{
    TestSet set;
    Session &s = set.session();
    const QString question = u"如果删除将连同下级一并自动删除!!\n是否真要删除( 5603002 )及其下级明细科目？"_s;
    ScriptedDialogs dialogs({true, true, true, true});
    ASSERT_TRUE(tz::DeleteAccount(s, u"5603002"_s, dialogs).isDone());
    EXPECT_EQ(dialogs.questions, QList<Message>({{question, u"注意！特别注意！"_s, Icon::Question}}));
    EXPECT_TRUE(row(s, u"5603002"_s).isEmpty());
    EXPECT_EQ(row(s, u"5603"_s).section(u'|', 5, 5), u""_s); // 5603001 is still there
    ASSERT_TRUE(tz::DeleteAccount(s, u"5603001"_s, dialogs).isDone());
    EXPECT_EQ(row(s, u"5603"_s), u"5603|财务费用|1|财务费用|借|Y|CWFY|∅|∅|∅"_s);

    const QStringList before = chart(s);
    ASSERT_TRUE(tz::DeleteAccount(s, u"2221001"_s, dialogs).isDone());
    QStringList expected;
    for (const QString &line : before) {
        if (!line.section(u'|', 1, 1).startsWith(u"2221001"_s))
            expected.append(line);
    }
    EXPECT_EQ(expected.size(), before.size() - 6);
    EXPECT_EQ(chart(s), expected); // 2221 keeps its other children and stays ''

    // A top-level account: no other account's detail flag changes.
    const QString flagsSql
        = u"SELECT 科目代码, 明细 FROM 科目表 WHERE 科目代码 <> '3104' AND 科目代码 NOT GLOB '3104*' "
          "ORDER BY 科目代码"_s;
    const QStringList flagsBefore = dump(s, flagsSql);
    ASSERT_TRUE(tz::DeleteAccount(s, u"3104"_s, dialogs).isDone());
    EXPECT_EQ(dump(s, flagsSql), flagsBefore);
    EXPECT_EQ(s.RunSql(u"SELECT count(*) FROM 科目表 WHERE 科目代码 GLOB '3104*'"_s).value(0, 0).toInt(), 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(ChartDelete, RefusalsLeaveTheChartAlone)
{
    TestSet set;
    Session &s = set.session();
    addLine(s, 8010001001, u"2221001002"_s, QVariant(), 130.0);
    struct Case
    {
        QString code;
        Message expected;
    };
    const QList<Case> cases = {
        {u""_s, tip(u"请先从左边选择科目!"_s)},
        {u"2221"_s, tip(u"2221----本级或下级有数据，不能删除!"_s)},
        {u"2221001"_s, tip(u"2221001----本级或下级有数据，不能删除!"_s)},
        {u"2221001002"_s, tip(u"2221001002----本级或下级有数据，不能删除!"_s)},
        {u"1003"_s, tip(u"1003  此科目不存在!"_s)},
        {u"1%"_s, tip(u"1%  此科目不存在!"_s)}, // never a pattern
        {u"1*"_s, tip(u"1*  此科目不存在!"_s)},
        {u"100_"_s, tip(u"100_  此科目不存在!"_s)},
    };
    const QStringList before = chart(s);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        ScriptedDialogs dialogs({true});
        EXPECT_TRUE(tz::DeleteAccount(s, c.code, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_TRUE(dialogs.questions.isEmpty());
    }
    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::DeleteAccount(s, u"2221002"_s, no).isRefused());
    EXPECT_EQ(no.questions.size(), 1);
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_EQ(chart(s), before);
}

TEST(ChartTopLevel, ChecksInOrderThenAddsALevelOneDetailAccount)
{
    TestSet set;
    Session &s = set.session();
    struct Case
    {
        QString code;
        QString name;
        QString direction;
        Message expected;
    };
    const Message shape = checkInput(u"代码4位,首位为1-5,方向,名称"_s);
    const QList<Case> cases = {
        {u"6001"_s, u"新科目"_s, u"借"_s, shape},
        {u"0001"_s, u"新科目"_s, u"借"_s, shape},
        {u"A001"_s, u"新科目"_s, u"借"_s, shape},
        {u"1A01"_s, u"新科目"_s, u"借"_s, shape},
        {u"100%"_s, u"新科目"_s, u"借"_s, shape},
        {u"\uFF11\uFF10\uFF10\uFF19"_s, u"新科目"_s, u"借"_s, shape},
        {u"100"_s, u"新科目"_s, u"借"_s, shape},
        {u"10091"_s, u"新科目"_s, u"借"_s, shape},
        {u""_s, u"新科目"_s, u"借"_s, shape},
        {u"1009"_s, u" \"\r\n "_s, u"借"_s, shape},
        {u"1009"_s, u"新科目"_s, u""_s, shape},
        {u"1009"_s, u"新科目"_s, u"平"_s, shape},
        {u"1001"_s, u"新科目"_s, u"借"_s, plain(u"1001  此代码已存在"_s)},
        {u"1009"_s, u"库存现金"_s, u"借"_s, plain(u"库存现金  同级中名称不能相同"_s)},
        {u"1009"_s, u"\"库存现金\""_s, u"贷"_s, plain(u"库存现金  同级中名称不能相同"_s)},
    };
    const QStringList before = chart(s);
    for (const Case &c : cases) {
        SCOPED_TRACE((c.code + u" / "_s + c.name).toStdString());
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::AddTopLevelAccount(s, {c.code, c.name, c.direction, {}}, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
    }
    EXPECT_EQ(chart(s), before);

    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::AddTopLevelAccount(s, {u"1009"_s, u" 备用金 "_s, u"借"_s, {}}, dialogs).isDone());
    EXPECT_EQ(dialogs.messages, QList<Message>({plain(u"科目增加成功"_s)}));
    EXPECT_EQ(row(s, u"1009"_s), u"1009|备用金|1|备用金|借|Y|BYJ|∅|∅|∅"_s);
    // Names need only differ among top-level accounts.
    ASSERT_TRUE(tz::AddTopLevelAccount(s, {u"5609"_s, u"工资"_s, u"借"_s, u"gz"_s}, dialogs).isDone());
    EXPECT_EQ(row(s, u"5609"_s), u"5609|工资|1|工资|借|Y|gz|∅|∅|∅"_s);
    // The running number continues.
    EXPECT_EQ(s.RunSql(u"SELECT count(DISTINCT 序号) = count(*) FROM 科目表"_s).value(0, 0).toInt(), 1);
}

TEST(ChartAttributes, WritesUnitSpecAndFxFlagOfDetailAccountsOnly)
{
    TestSet set;
    Session &s = set.session();
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::SetDetailAttributes(s, u"1403"_s, {u"千克"_s, u"Φ10 'A'"_s, true}, dialogs).isDone());
    EXPECT_EQ(
        dump(s, u"SELECT 单位, 规格, 调汇 FROM 科目表 WHERE 科目代码 = '1403'"_s), QStringList {u"千克|Φ10 'A'|Y"_s});
    ASSERT_TRUE(tz::SetDetailAttributes(s, u"1403"_s, {}, dialogs).isDone());
    EXPECT_EQ(dump(s, u"SELECT 单位, 规格, 调汇 FROM 科目表 WHERE 科目代码 = '1403'"_s), QStringList {u"∅|∅|∅"_s});
    EXPECT_TRUE(dialogs.messages.isEmpty());

    QList<ChartAccount> grid;
    ASSERT_TRUE(tz::ReadDetailAccounts(s, grid, dialogs).isDone());
    EXPECT_EQ(grid.size(), s.RunSql(u"SELECT count(*) FROM 科目表 WHERE 明细 = 'Y'"_s).value(0, 0).toInt());
    EXPECT_TRUE(std::is_sorted(
        grid.cbegin(), grid.cend(), [](const ChartAccount &a, const ChartAccount &b) { return a.code < b.code; }));
    EXPECT_TRUE(std::all_of(grid.cbegin(), grid.cend(), [](const ChartAccount &a) { return a.detail; }));

    const QStringList before = chart(s);
    const QList<std::pair<QString, Message>> refusals = {
        {u"1002"_s, tip(u"1002  不是明细科目,不能设置单位/规格/调汇"_s)},
        {u"1003"_s, tip(u"1003  此科目不存在!"_s)},
        {u"1%"_s, tip(u"1%  此科目不存在!"_s)},
    };
    for (const auto &[code, expected] : refusals) {
        ScriptedDialogs refused;
        EXPECT_TRUE(tz::SetDetailAttributes(s, code, {u"个"_s, u""_s, true}, refused).isRefused());
        EXPECT_EQ(refused.messages, QList<Message>({expected}));
    }
    EXPECT_EQ(chart(s), before);
}

} // namespace
