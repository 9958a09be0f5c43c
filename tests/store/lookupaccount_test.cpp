// Account lookup for the picker and the query window, and folder creation.
#include "store/lookupaccount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "store/makepath.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

void PrintTo(const AccountLookup &v, std::ostream *os)
{
    *os << "{" << v.accountDisplay.toStdString() << " | " << v.accountNamePath.toStdString() << " | "
        << v.accountDirection.toStdString() << " | " << v.accountUnit.toStdString() << " | "
        << v.accountSpec.toStdString() << "}";
}

namespace {

const AccountLookup kPrevious{u"9999 旧值"_s, u"旧值"_s, u"贷"_s, u"吨"_s, u"大"_s};

struct LookupRow {
    const char16_t *code;
    AccountLookup expected; // kPrevious: left as it was
};

TEST(LookupAccount, Table)
{
    test::TestSet set;
    Session &s = set.session();
    s.execSql(u"UPDATE 科目表 SET 单位 = '千克', 规格 = 'Φ10' WHERE 科目代码 = '1403'"_s);
    const LookupRow rows[] = {
        {u"1001", {u"1001 库存现金"_s, u"库存现金"_s, u"借"_s, u""_s, u""_s}},
        {u"1002001", {u"1002001 银行存款/人民币户"_s, u"银行存款/人民币户"_s, u"借"_s, u""_s, u""_s}},
        {u"2221001001", {u"2221001001 应交税费/应交增值税/进项税额"_s, u"应交税费/应交增值税/进项税额"_s,
                         u"贷"_s, u""_s, u""_s}},
        {u"1403", {u"1403 原材料"_s, u"原材料"_s, u"借"_s, u"千克"_s, u"Φ10"_s}},
        // Well formed but not in the chart: the caller's values stay.
        {u"1002999", kPrevious}, {u"9999", kPrevious}, {u"2221001999", kPrevious},
        {u"2221001001001", kPrevious},
        // Not an account code: cleared.
        {u"10020", {}}, {u"100", {}}, {u"", {}}, {u"10a2", {}}, {u"1002 ", {}}, {u" 1001", {}},
        {u"\uFF11\uFF10\uFF10\uFF11", {}}, {u"10020011", {}}, {u"22210010010011", {}},
    };
    for (const LookupRow &row : rows) {
        const QString code = QString::fromUtf16(row.code);
        SCOPED_TRACE(code.toStdString());
        AccountLookup values = kPrevious;
        LookupAccount(s, code, values);
        EXPECT_EQ(values, row.expected);
    }
}

TEST(MakePath, AbsoluteFoldersOnly)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    {
        QFile file(root + u"/文件"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root));
    const bool relative = MakePath(u"相对/下级"_s), dot = MakePath(u"./相对"_s), empty = MakePath(u""_s);
    const QStringList entries = QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QString after = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd));
    EXPECT_FALSE(relative);
    EXPECT_FALSE(dot);
    EXPECT_FALSE(empty);
    EXPECT_EQ(entries, QStringList{u"文件"_s}) << "a relative path creates nothing";
    EXPECT_EQ(QFileInfo(after).canonicalFilePath(), QFileInfo(root).canonicalFilePath());

    EXPECT_TRUE(MakePath(root));
    EXPECT_TRUE(MakePath(root + u"/备份/2024/一月"_s));
    EXPECT_TRUE(QFileInfo(root + u"/备份/2024/一月"_s).isDir());
    EXPECT_TRUE(MakePath(root + u"/备份/2024/一月/"_s));
    EXPECT_FALSE(MakePath(root + u"/文件"_s));
    EXPECT_FALSE(MakePath(root + u"/文件/下级"_s));
    EXPECT_TRUE(QFileInfo(root + u"/文件"_s).isFile());
}

} // namespace
} // namespace tz
