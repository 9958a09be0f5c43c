// Creating account sets: the checks in order, their messages, and that a
// failed creation leaves nothing behind and never reports success.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "store/accountset.h"
#include "store/paths.h"
#include "store/safefile.h"
#include "tests/support/envguard.h"
#include "tests/support/scripteddialogs.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

const QString kNameMessage = u"1.帐套简称不能为空    2.简称不要超5个字"_s;
const QString kFolderMessage = u"请选择帐套路径(存放帐套的文件夹)"_s;

struct RefusalCase
{
    const char *label;
    QString shortName;
    QString year;
    QString folder; // empty: a fresh temporary folder
    Message expected;
};

class CreateRefusal : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(CreateRefusal, RefusesWithOneMessageAndWritesNothing)
{
    const RefusalCase &c = GetParam();
    QTemporaryDir dir;
    const QString folder = c.folder.isEmpty() ? dir.path() : c.folder;
    ScriptedDialogs dialogs;
    const tz::OpResult result = tz::CreateAccountSet(c.shortName, c.year, folder, dialogs);
    EXPECT_TRUE(result.isRefused());
    EXPECT_EQ(dialogs.messages, QList<Message>({c.expected}));
    EXPECT_TRUE(entries(dir.path()).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(u"相对"_s));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, CreateRefusal,
    testing::Values(
        RefusalCase{"empty", u""_s, u"2024"_s, {}, {kNameMessage, u"TZ305"_s, Icon::None}},
        RefusalCase{"blanks", u"   "_s, u"2024"_s, {}, {kNameMessage, u"TZ305"_s, Icon::None}},
        RefusalCase{"six", u"华新科技公司"_s, u"2024"_s, {}, {kNameMessage, u"TZ305"_s, Icon::None}},
        // The name is checked before the folder.
        RefusalCase{"six-and-no-folder", u"abcdef"_s, u"2024"_s, u"相对/路径"_s, {kNameMessage, u"TZ305"_s, Icon::None}},
        RefusalCase{"relative", u"华新"_s, u"2024"_s, u"相对/路径"_s, {kFolderMessage, u"提醒您！"_s, Icon::Exclamation}},
        // The hint shown before a folder is chosen is no folder.
        RefusalCase{"hint", u"华新"_s, u"2024"_s, u"请点右边选择存放帐套的文件夹--->>>"_s,
                    {kFolderMessage, u"提醒您！"_s, Icon::Exclamation}},
        RefusalCase{"slash", u"a/b"_s, u"2024"_s, {},
                    {u"帐套简称不能含有 / \\ 等符号,也不能以 . 开头"_s, u"TZ305提示"_s, Icon::Critical}},
        RefusalCase{"line-break", u"华\n新"_s, u"2024"_s, {},
                    {u"帐套简称不能含有 / \\ 等符号,也不能以 . 开头"_s, u"TZ305提示"_s, Icon::Critical}},
        RefusalCase{"year", u"华新"_s, u"2100"_s, {},
                    {u"帐套年度必须在2015至2099之间"_s, u"TZ305提示"_s, Icon::Critical}}),
    [](const testing::TestParamInfo<RefusalCase> &info) {
        std::string name = info.param.label;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(CreateAccountSet, CopiesTheTemplateUnderTrimmedNameAndReportsSuccess)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"帐套/二级"_s); // missing folders are made
    ScriptedDialogs dialogs;
    QString created;
    const tz::OpResult result = tz::CreateAccountSet(u"  华新五字名  "_s, u"2024"_s, folder, dialogs, &created);
    ASSERT_TRUE(result.isDone());
    EXPECT_EQ(created, folder + u"/华新五字名.Y24"_s);
    EXPECT_EQ(dialogs.messages,
              QList<Message>({{u"帐套路径: "_s + folder + u"\n\n帐套名称: 华新五字名"_s, u"创建帐套成功!"_s,
                              Icon::Exclamation}}));
    EXPECT_EQ(fileBytes(created), fileBytes(tz::templatePath()));
    EXPECT_EQ(entries(folder), QStringList{u"华新五字名.Y24"_s}); // no scratch file left
    EXPECT_TRUE(tz::verifyAccountSet(created).isEmpty());
}

TEST(CreateAccountSet, SameNameAndYearRefusedOtherYearAccepted)
{
    QTemporaryDir dir;
    ScriptedDialogs first;
    ASSERT_TRUE(tz::CreateAccountSet(u"华新"_s, u"2024"_s, dir.path(), first).isDone());
    const QByteArray before = fileBytes(dir.filePath(u"华新.Y24"_s));

    ScriptedDialogs again;
    EXPECT_TRUE(tz::CreateAccountSet(u"华新"_s, u"2024"_s, dir.path(), again).isRefused());
    EXPECT_EQ(again.messages, QList<Message>({{u"帐套重复!!此文件夹中有帐套名相同且年度相同的帐套: 华新.Y24"_s,
                                              u"TZ305提示"_s, Icon::Exclamation}}));
    EXPECT_EQ(fileBytes(dir.filePath(u"华新.Y24"_s)), before);

    ScriptedDialogs other;
    EXPECT_TRUE(tz::CreateAccountSet(u"华新"_s, u"2025"_s, dir.path(), other).isDone());
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(u"华新.Y25"_s)));
}

// Failures are reported as failures: never the success message, never a file.
TEST(CreateAccountSet, MissingOrDamagedTemplateIsReportedNotSuccess)
{
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged);
        QTemporaryDir program;
        QTemporaryDir target;
        const QString templ = program.filePath(u"TZ_QSB/TZ_2XCB.RH"_s);
        if (damaged) {
            QDir(program.path()).mkpath(u"TZ_QSB"_s);
            QFile junk(templ);
            ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(8192, 'x'));
        }
        tz::test::EnvGuard env("TZ305_PROGRAM_DIR", program.path().toUtf8());
        ScriptedDialogs dialogs;
        EXPECT_TRUE(tz::CreateAccountSet(u"华新"_s, u"2024"_s, target.path(), dialogs).isFailed());
        ASSERT_EQ(dialogs.messages.size(), 1);
        if (damaged)
            EXPECT_TRUE(dialogs.messages.first().text.startsWith(u"创建帐套失败。帐套模板文件已损坏"_s));
        else
            EXPECT_EQ(dialogs.messages.first().text, u"找不到帐套模板文件: "_s + templ);
        EXPECT_EQ(dialogs.messages.first().icon, Icon::Critical);
        EXPECT_TRUE(entries(target.path()).isEmpty());
    }
}

TEST(CreateAccountSet, FolderThatCannotBeMadeIsReported)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(u"文件"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedDialogs dialogs;
    const QString folder = dir.filePath(u"文件/下级"_s);
    EXPECT_TRUE(tz::CreateAccountSet(u"华新"_s, u"2024"_s, folder, dialogs).isFailed());
    EXPECT_EQ(dialogs.messages,
              QList<Message>({{u"无法创建文件夹: "_s + folder, u"TZ305提示"_s, Icon::Critical}}));
}

TEST(AccountSetNames, FileNameAndShortName)
{
    EXPECT_EQ(tz::accountSetFileName(u"华新"_s, u"2024"_s), u"华新.Y24"_s);
    EXPECT_EQ(tz::shortNameOfSetFile(u"/帐套/华新.Y24"_s), u"华新"_s);
    EXPECT_EQ(tz::shortNameOfSetFile(u"/帐套/a.b.Y09"_s), u"a.b"_s);
}

} // namespace
