// Fresh account sets for tests.
#include "tests/support/testset.h"

#include <stdexcept>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "store/accountset.h"
#include "store/paths.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::test {

QString builtTemplatePath()
{
    return templatePath();
}

TestSet::TestSet(const QString &shortName, int year)
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    m_path = m_dir.filePath(accountSetFileName(shortName, QString::number(year)));
    if (!QFile::copy(builtTemplatePath(), m_path))
        throw std::runtime_error("cannot copy the template; is TZ305_PROGRAM_DIR set?");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    m_session.setDbPath(m_path);
    m_session.setSetShortName(shortName);
    m_session.setFiscalYear(qint16(year));
    m_session.setOperatorName(u"主管"_s);
    m_session.setOperatorPassword(u"888"_s);
}

TestSet::~TestSet()
{
    // TZ305_KEEP_SETS=DIR keeps a copy of every set a test made, named by
    // the test, so that `tz305-cli check` can be run over all of them.
    const QString keep = qEnvironmentVariable("TZ305_KEEP_SETS");
    if (keep.isEmpty())
        return;
    m_session.CloseMainConnection();
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    const QString name = test ? QString::fromUtf8(test->test_suite_name()) + u'.' + QString::fromUtf8(test->name())
                              : QCoreApplication::applicationName();
    static int kept = 0;
    QDir().mkpath(keep);
    QFile::copy(m_path, QDir(keep).filePath(u"%1-%2.Y24"_s.arg(name).arg(++kept)));
}

} // namespace tz::test
