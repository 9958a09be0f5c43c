#include "tests/support/workbookreader.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace tz::test {

namespace {

// `headers(tag)`: a page header or footer as written (openpyxl keeps only
// the last font of a section), e.g. headers('oddHeader').
const QString kPrelude = uR"(import sys, re, html, zipfile, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
_sheet = zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml').decode()
def headers(tag):
    found = re.search('<%s>(.*?)</%s>' % (tag, tag), _sheet, re.S)
    return html.unescape(found.group(1)) if found else None
)"_s;

} // namespace

QString readWorkbook(const QString &path, const QString &script)
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s, {u"/usr/bin"_s});
    EXPECT_FALSE(python.isEmpty()) << "python3 (with python3-openpyxl) is needed";
    QProcess reader;
    reader.start(python, {u"-c"_s, kPrelude + script, path});
    EXPECT_TRUE(reader.waitForFinished(60000));
    const QString error = QString::fromUtf8(reader.readAllStandardError());
    EXPECT_EQ(error, QString());
    EXPECT_EQ(reader.exitCode(), 0);
    return error.isEmpty() ? QString::fromUtf8(reader.readAllStandardOutput()) : error;
}

} // namespace tz::test
