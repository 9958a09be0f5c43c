// The account picker's search: by pinyin initials, name and code, detail
// accounts only, with the class filter, wildcards typed taken literally, quotes as data.
#include <gtest/gtest.h>

#include "accounts/accountsearch.h"
#include "accounts/subaccount.h"
#include "store/session.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

QStringList codesFound(tz::Session &s, const QString &text, int accountClass, ScriptedDialogs &dialogs)
{
    QList<tz::AccountSearchHit> hits;
    EXPECT_TRUE(tz::SearchAccounts(s, text, accountClass, hits, dialogs).isDone());
    QStringList codes;
    for (const tz::AccountSearchHit &hit : std::as_const(hits))
        codes.append(hit.code);
    return codes;
}

TEST(SearchAccounts, ByInitialsNameAndCodeWithClassFilter)
{
    TestSet set;
    tz::Session &s = set.session();
    struct Case
    {
        QString text;
        int accountClass;
        QStringList codes;
    };
    const QList<Case> cases = {
        // Pinyin initials, letters in any case: 应收账款 and 预收账款 are both YSZK.
        {u"yszk"_s, 0, {u"1122"_s, u"2203"_s}},
        {u"YSZK"_s, 2, {u"2203"_s}},
        {u"rmb"_s, 0, {u"1002001"_s}},
        // Own names of detail accounts; a parent's name finds none of its children.
        {u"工资"_s, 0, {u"2211001"_s, u"5602004"_s}},
        {u"工资"_s, 5, {u"5602004"_s}},
        {u"工资"_s, 2, {u"2211001"_s}},
        {u"工资"_s, 1, {}},
        {u"银行存款"_s, 0, {}},
        {u"税额"_s, 0, {u"2221001001"_s, u"2221001002"_s, u"2221001003"_s}},
        // Codes: anywhere in the code.
        {u"1001"_s, 1, {u"1001"_s}},
        {u"2221001"_s, 0, {u"2221001001"_s, u"2221001002"_s, u"2221001003"_s, u"2221001004"_s, u"2221001005"_s}},
        // LIKE wildcards typed are literal characters, which no name holds.
        {u"应_账款"_s, 0, {}},
        {u"%"_s, 4, {}},
        // Nothing to look for, no such class, quotes: nothing found, no error.
        {u""_s, 0, {}},
        {u"工资"_s, 6, {}},
        {u"工资"_s, -1, {}},
        {u"'"_s, 0, {}},
        {u"' OR '1'='1"_s, 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + std::to_string(c.accountClass));
        ScriptedDialogs dialogs;
        EXPECT_EQ(codesFound(s, c.text, c.accountClass, dialogs), c.codes);
        EXPECT_TRUE(dialogs.messages.isEmpty());
    }
}

TEST(SearchAccounts, ListItemsAndNewAccountsWithAwkwardNames)
{
    TestSet set;
    tz::Session &s = set.session();
    ScriptedDialogs dialogs;
    QList<tz::AccountSearchHit> hits;
    ASSERT_TRUE(tz::SearchAccounts(s, u"MYH"_s, 0, hits, dialogs).isDone());
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits.first().itemText(), u"1002002 银行存款/美元户"_s);

    ASSERT_TRUE(tz::AddDetailAccount(s, {u"1122"_s, u"001"_s, u"O'Brien 50%"_s, u"借"_s, {}}, dialogs).isDone());
    ASSERT_TRUE(tz::AddDetailAccount(s, {u"1122"_s, u"002"_s, u"华新公司"_s, u"借"_s, {}}, dialogs).isDone());
    EXPECT_EQ(codesFound(s, u"o'brien"_s, 0, dialogs), QStringList {u"1122001"_s});
    // '%' and '_' typed are the characters themselves, never wildcards.
    EXPECT_EQ(codesFound(s, u"50%"_s, 0, dialogs), QStringList {u"1122001"_s});
    EXPECT_EQ(codesFound(s, u"%"_s, 0, dialogs), QStringList {u"1122001"_s});
    EXPECT_EQ(codesFound(s, u"_"_s, 0, dialogs), QStringList {});
    EXPECT_EQ(codesFound(s, u"\\"_s, 0, dialogs), QStringList {});
    EXPECT_EQ(codesFound(s, u"n 50"_s, 0, dialogs), QStringList {u"1122001"_s});
    EXPECT_EQ(codesFound(s, u"hxgs"_s, 1, dialogs), QStringList {u"1122002"_s});
    EXPECT_EQ(codesFound(s, u"应收账款"_s, 0, dialogs), QStringList {}); // no longer a detail account
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
