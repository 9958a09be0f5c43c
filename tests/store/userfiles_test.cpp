// Files the user names (PDFs, workbooks, the statement workbook, the plain
// journal): never written over a file that may hold books, installed only
// when whole, and the scratch files of killed writers cleared by the next
// write into their folder.
#include <functional>

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include "export/sheetexport.h"
#include "export/workbookfile.h"
#include "ledgers/plainjournal.h"
#include "printing/pagelayout.h"
#include "printing/pagepainter.h"
#include "statements/statementworkbook.h"
#include "store/connection.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testset.h"

using namespace Qt::Literals::StringLiterals;
using tz::Icon;
using tz::test::Message;
using tz::test::ScriptedDialogs;
using tz::test::TestSet;

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

// A page of twenty lines.
tz::Document page()
{
    tz::ReportDefinition report;
    report.detail.heightMm = 10;
    report.detail.field(QRectF(0, 0, 100, 10), u"v"_s);
    QList<tz::ResultSet::Row> rows;
    for (int i = 1; i <= 20; ++i)
        rows.append({u"第%1行"_s.arg(i)});
    return tz::layOutReport(report, tz::ResultSet({u"v"_s}, rows));
}

// Each writer of a file the user names, writing from the open set.
using Writer = std::function<tz::OpResult(tz::Session &, const QString &, tz::Dialogs &)>;
const QList<Writer> &writers()
{
    static const QList<Writer> all = {
        [](tz::Session &, const QString &path, tz::Dialogs &d) { return tz::WritePdf(page(), path, d); },
        [](tz::Session &s, const QString &path, tz::Dialogs &d) {
            return tz::WriteSheetWorkbook(s, u"SELECT 科目代码, 科目名称 FROM 科目表"_s, path, d);
        },
        [](tz::Session &s, const QString &path, tz::Dialogs &d) {
            return tz::WriteStatementWorkbook(s, tz::StatementTable::BalanceSheet13, 1, path, d);
        },
        [](tz::Session &s, const QString &path, tz::Dialogs &d) { return tz::ExportPlainJournal(s, path, d); },
    };
    return all;
}

// Another set that a second connection holds in BEGIN EXCLUSIVE, and a copy
// of it with the hot journal of a writer killed mid-transaction: neither
// can be read now, both may hold books. No writer replaces them or asks.
// A file that cannot hold books is still replaced after the question.
TEST(UserFiles, NeverOverASetThatIsBusyOrHasAHotJournal)
{
    TestSet open;
    TestSet other(u"乙"_s);
    const QString hot = other.folder() + u"/丙.Y24"_s;
    tz::Connection writer;
    writer.open(other.path());
    writer.executeScript(u"BEGIN; UPDATE 科目表 SET 拼音 = 拼音 || 'Q'"_s);
    ASSERT_EQ(sqlite3_db_cacheflush(writer.handle()), SQLITE_OK); // the changed pages in the file
    ASSERT_TRUE(QFile::copy(other.path(), hot) && QFile::copy(other.path() + u"-journal"_s, hot + u"-journal"_s));
    writer.executeScript(u"ROLLBACK; BEGIN EXCLUSIVE"_s);

    for (const QString &set : {other.path(), hot}) {
        const QByteArray before = digest(set);
        for (qsizetype i = 0; i < writers().size(); ++i) {
            ScriptedDialogs yes({true});
            EXPECT_TRUE(writers().at(i)(open.session(), set, yes).isRefused()) << i;
            EXPECT_EQ(yes.messages,
                      (QList<Message>{{u"不能覆盖帐套文件: "_s + set, u"TZ305提示"_s, Icon::Critical}}))
                << i;
            EXPECT_TRUE(yes.questions.isEmpty()) << i;
            EXPECT_EQ(digest(set), before) << i;
        }
    }
    // A file too short to be a database (it reads as an empty one) holds no
    // books: it is asked about and replaced.
    const QString note = other.folder() + u"/短.txt"_s;
    QFile file(note);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("x") == 1);
    file.close();
    ScriptedDialogs yes({true});
    EXPECT_TRUE(tz::ExportPlainJournal(open.session(), note, yes).isDone());
    EXPECT_EQ(yes.questions.size(), 1);
}

// A dead writer's scratch files (whatever it wrote, and the journal of a
// scratch set) go with the next write into their folder; a live writer's
// stay. (The PDF writer, which needs a display's fonts, shares the
// workbooks' way through writeUserFile.) A workbook is whole, as checked
// before it is installed.
TEST(UserFiles, WholeFilesAndNoScratchFilesOfDeadWriters)
{
    TestSet set;
    const QDir folder(set.folder());
    const QStringList dead = {u".tz305-旧-1.pdf-999999999-a1.tmp"_s, u".tz305-乙.Y24-999999998-b2.tmp-journal"_s};
    const QString live = u".tz305-活.xlsx-%1-c3.tmp"_s.arg(::getpid());
    const QStringList names = {u"凭证.pdf"_s, u"科目.xlsx"_s, u"资产表.xlsx"_s, u"帐簿.journal"_s};
    for (qsizetype i = 1; i < writers().size(); ++i) {
        for (const QString &name : dead + QStringList{live}) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ScriptedDialogs dialogs;
        ASSERT_TRUE(writers().at(i)(set.session(), folder.filePath(names.at(i)), dialogs).isDone()) << i;
        EXPECT_EQ(folder.entryList({u".tz305-*"_s}, QDir::Files | QDir::Hidden), QStringList{live}) << i;
    }

    const QString book = folder.filePath(names.at(1));
    EXPECT_TRUE(tz::isWholeWorkbook(book));
    QFile file(book);
    ASSERT_TRUE(file.resize(file.size() - 100));
    EXPECT_FALSE(tz::isWholeWorkbook(book));
}

} // namespace
