// A fresh account set in a temporary folder: a copy of the built template,
// removed with the object. The benchmark makes its books in one, the tests
// one per test.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include "store/session.h"

namespace tz {

class TemporarySet
{
public:
    // Copies the built template to <tmp>/<shortName>.Y<yy>; throws
    // std::runtime_error when the folder or the copy cannot be made.
    explicit TemporarySet(const QString &shortName = QStringLiteral("测试"), int year = 2024);
    TemporarySet(const TemporarySet &) = delete;
    TemporarySet &operator=(const TemporarySet &) = delete;

    const QString &path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // A session on this set with the login values of the first operator.
    Session &session() { return m_session; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    Session m_session;
};

} // namespace tz
