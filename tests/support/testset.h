// A fresh account set for one test: a copy of the real template in a
// temporary folder, removed with the fixture.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include "store/session.h"

namespace tz::test {

class TestSet
{
public:
    // Copies the built template to <tmp>/<shortName>.Y<yy>.
    explicit TestSet(const QString &shortName = QStringLiteral("测试"), int year = 2024);
    ~TestSet();
    TestSet(const TestSet &) = delete;
    TestSet &operator=(const TestSet &) = delete;

    const QString &path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // A session on this set with the login values of the first operator.
    Session &session() { return m_session; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    Session m_session;
};

// Path of the built template (from TZ305_PROGRAM_DIR).
QString builtTemplatePath();

} // namespace tz::test
