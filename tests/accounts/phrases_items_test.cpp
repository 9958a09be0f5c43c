// Summary phrases and cash-flow items: check order and messages of adding
// and deleting, duplicates, used items kept, and quotes and '%' as data.
#include <algorithm>

#include <gtest/gtest.h>

#include "accounts/cashflowitems.h"
#include "accounts/phrases.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::CashFlowItem;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

QStringList phrases(tz::Session &s)
{
    ScriptedDialogs dialogs;
    QStringList list;
    EXPECT_TRUE(tz::ListPhrases(s, list, dialogs).isDone());
    return list;
}

QList<CashFlowItem> items(tz::Session &s)
{
    ScriptedDialogs dialogs;
    QList<CashFlowItem> list;
    EXPECT_TRUE(tz::ListCashFlowItems(s, list, dialogs).isDone());
    return list;
}

bool hasItem(tz::Session &s, const QString &code)
{
    const QList<CashFlowItem> list = items(s);
    return std::any_of(list.cbegin(), list.cend(), [&](const CashFlowItem &i) { return i.code == code; });
}

const Message kChooseFirst{u"请单击选择要删除的内容"_s, u"TZ305"_s, Icon::None};

TEST(PhraseAdd, RefusalsAndWhatCountsAsTheSamePhrase)
{
    TestSet set;
    tz::Session &s = set.session();
    const Message empty{u"名称不能为空！"_s, u"TZ305"_s, Icon::None};
    const Message duplicate{u"名称重复,不能增加"_s, u"TZ305提示"_s, Icon::Critical};
    struct Case
    {
        QString phrase;
        std::optional<Message> refusal; // none: added
    };
    const QList<Case> cases = {
        {u""_s, empty},
        {u"提取现金"_s, duplicate},  // a template phrase
        {u"提取现金 "_s, {}},         // a trailing blank makes another phrase
        {u"提取现金 "_s, duplicate},
        {u"O'Brien \"老王\" 100%_'; DROP TABLE 摘要; --"_s, {}},
        {u"O'Brien \"老王\" 100%_'; DROP TABLE 摘要; --"_s, duplicate},
        {u"Cash Sale"_s, {}},
        {u"CASH SALE"_s, duplicate}, // letters compare without case
        {u"%"_s, {}},               // not a wildcard: matches only itself
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.phrase.toStdString());
        const qsizetype before = phrases(s).size();
        ScriptedDialogs dialogs;
        const tz::OpResult result = tz::AddPhrase(s, c.phrase, dialogs);
        if (c.refusal) {
            EXPECT_TRUE(result.isRefused());
            EXPECT_EQ(dialogs.messages, QList<Message>({*c.refusal}));
            EXPECT_EQ(phrases(s).size(), before);
        } else {
            EXPECT_TRUE(result.isDone());
            EXPECT_TRUE(dialogs.messages.isEmpty());
            EXPECT_EQ(phrases(s).size(), before + 1);
            EXPECT_TRUE(phrases(s).contains(c.phrase));
        }
    }
    QStringList sorted = phrases(s);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(phrases(s), sorted);
}

TEST(PhraseDelete, AsksThenDeletesExactlyThatText)
{
    TestSet set;
    tz::Session &s = set.session();
    ScriptedDialogs adding;
    for (const QString &p : {u"a%b"_s, u"axxb"_s, u"it's"_s})
        ASSERT_TRUE(tz::AddPhrase(s, p, adding).isDone());
    s.execSql(u"INSERT INTO 分录表 (ID, 月, 号码, 摘要说明, 科目代码, 借方金额) "
              "VALUES (8010001001, 1, 1, 'a%b', '1001', 5)"_s);

    ScriptedDialogs empty;
    EXPECT_TRUE(tz::DeletePhrase(s, u""_s, empty).isRefused());
    EXPECT_EQ(empty.messages, QList<Message>({kChooseFirst}));
    EXPECT_TRUE(empty.questions.isEmpty());

    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::DeletePhrase(s, u"a%b"_s, no).isRefused());
    EXPECT_EQ(no.questions, QList<Message>({{u"是否删除：a%b?"_s, u"tz305"_s, Icon::Question}}));
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_TRUE(phrases(s).contains(u"a%b"_s));

    for (const QString &p : {u"a%b"_s, u"it's"_s}) {
        ScriptedDialogs yes({true});
        EXPECT_TRUE(tz::DeletePhrase(s, p, yes).isDone());
        EXPECT_TRUE(yes.messages.isEmpty());
    }
    const QStringList left = phrases(s);
    EXPECT_FALSE(left.contains(u"a%b"_s));
    EXPECT_FALSE(left.contains(u"it's"_s));
    EXPECT_TRUE(left.contains(u"axxb"_s));
    EXPECT_TRUE(left.contains(u"提取现金"_s));
    // A voucher line keeps the text it was given.
    EXPECT_EQ(s.RunSql(u"SELECT 摘要说明 FROM 分录表 WHERE ID = 8010001001"_s).value(0, 0).toString(), u"a%b"_s);
}

TEST(CashFlowItemAdd, ChecksInOrderAndDuplicates)
{
    TestSet set;
    tz::Session &s = set.session();
    const Message emptyFields{u"代码和名称不能为空！"_s, u"TZ305"_s, Icon::None};
    const Message threeDigits{u"代码为三位数！"_s, u"TZ305"_s, Icon::None};
    const Message duplicate{u"代码重复,不能增加"_s, u"TZ305提示"_s, Icon::Critical};
    struct Case
    {
        QString code;
        QString name;
        Message expected;
    };
    const QList<Case> cases = {
        {u""_s, u"名"_s, emptyFields},
        {u"401"_s, u""_s, emptyFields},
        {u"12"_s, u""_s, emptyFields}, // emptiness first
        {u"12"_s, u"名"_s, threeDigits},
        {u"1234"_s, u"名"_s, threeDigits},
        {u"1a2"_s, u"名"_s, threeDigits},
        {u"12 "_s, u"名"_s, threeDigits},
        {u"１２３"_s, u"名"_s, threeDigits}, // full-width digits
        {u"101"_s, u"另一个"_s, duplicate},
    };
    const QList<CashFlowItem> before = items(s);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::AddCashFlowItem(s, c.code, c.name, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
    }
    EXPECT_EQ(items(s), before);

    // A leading zero is kept (the code is text), the name is data.
    const QString name = u"O'Brien \"现金\" 100%_"_s;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(tz::AddCashFlowItem(s, u"015"_s, name, dialogs).isDone());
    ASSERT_TRUE(tz::AddCashFlowItem(s, u"105"_s, u"新项目"_s, dialogs).isDone());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const QList<CashFlowItem> after = items(s);
    ASSERT_EQ(after.size(), before.size() + 2);
    EXPECT_EQ(after.first(), (CashFlowItem{u"015"_s, name}));
    EXPECT_EQ(after.first().listLine(), u"015 "_s + name);
    for (qsizetype i = 1; i < after.size(); ++i)
        EXPECT_LT(after.at(i - 1).code, after.at(i).code);
}

TEST(CashFlowItemDelete, UsedItemsStayAndOthersGoAfterTheQuestion)
{
    TestSet set;
    tz::Session &s = set.session();
    // 101 on a voucher line, 102 on an opening line, 201 only in the staging table.
    s.execSql(u"INSERT INTO 分录表 (ID, 月, 号码, 摘要说明, 科目代码, 借方金额, 流代, 流金) "
              "VALUES (8030002001, 3, 2, '收款', '1001', 5, '101', 5)"_s);
    s.execSql(u"INSERT INTO 分录表 (ID, 摘要说明, 科目代码, 借方金额, 流代) "
              "VALUES (8000000001, '年初余额', '1001', 5, '102')"_s);
    s.execSql(u"INSERT INTO 分录始表 (ID, 科目代码, 流代) VALUES (8040001001, '1001', '201')"_s);

    const Message threeDigits{u"代码为三位数！"_s, u"TZ305"_s, Icon::None};
    struct Case
    {
        QString code;
        Message expected;
    };
    const QList<Case> refusals = {
        {u""_s, kChooseFirst},
        {u"1a"_s, threeDigits},
        {u"999"_s, kChooseFirst}, // no such item
        {u"101"_s, {u"101  此代码已使用,不能删除!"_s, u"TZ305提示"_s, Icon::Question}},
        {u"102"_s, {u"102  此代码已使用,不能删除!"_s, u"TZ305提示"_s, Icon::Question}},
    };
    for (const Case &c : refusals) {
        SCOPED_TRACE(c.code.toStdString());
        ScriptedDialogs dialogs({true});
        EXPECT_TRUE(tz::DeleteCashFlowItem(s, c.code, dialogs).isRefused());
        EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
        EXPECT_TRUE(dialogs.questions.isEmpty());
    }
    EXPECT_TRUE(hasItem(s, u"101"_s));
    EXPECT_TRUE(hasItem(s, u"102"_s));

    const Message question{u"是否删除：111 购买原材料、商品、接受劳务支付的现金?"_s, u"tz305"_s, Icon::Question};
    ScriptedDialogs no({false});
    EXPECT_TRUE(tz::DeleteCashFlowItem(s, u"111"_s, no).isRefused());
    EXPECT_EQ(no.questions, QList<Message>({question}));
    EXPECT_TRUE(no.messages.isEmpty());
    EXPECT_TRUE(hasItem(s, u"111"_s));

    for (const QString &code : {u"111"_s, u"201"_s}) {
        SCOPED_TRACE(code.toStdString());
        ScriptedDialogs yes({true});
        EXPECT_TRUE(tz::DeleteCashFlowItem(s, code, yes).isDone());
        EXPECT_TRUE(yes.messages.isEmpty());
        EXPECT_FALSE(hasItem(s, code));
    }
    EXPECT_TRUE(hasItem(s, u"112"_s));
}

} // namespace
