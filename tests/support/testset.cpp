// Fresh account sets for tests.
#include "tests/support/testset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "store/paths.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::test {

QString builtTemplatePath()
{
    return templatePath();
}

TestSet::~TestSet()
{
    // TZ305_KEEP_SETS=DIR keeps a copy of every set a test made, named by
    // the test, so that `tz305-cli check` can be run over all of them.
    const QString keep = qEnvironmentVariable("TZ305_KEEP_SETS");
    if (keep.isEmpty())
        return;
    session().CloseMainConnection();
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    const QString name = test ? QString::fromUtf8(test->test_suite_name()) + u'.' + QString::fromUtf8(test->name())
                              : QCoreApplication::applicationName();
    static int kept = 0;
    QDir().mkpath(keep);
    QFile::copy(path(), QDir(keep).filePath(u"%1-%2.Y24"_s.arg(name).arg(++kept)));
}

} // namespace tz::test
