// Runs tz305-cli as a separate process, and a fixture that starts each test
// with a fresh account set 华新.Y24 made by `tz305-cli new`.
#pragma once

#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/ledgers/tablesupport.h"
#include "tests/support/printers.h"

namespace tz::test {

struct CliRun {
    int status = -1; // exit status, -1 when the program crashed or hung
    QString out;
    QString err;
};

// Runs the command line with `args`, stdin closed, and waits for it;
// `inChild` runs in the new process before the program starts (limits,
// another user).
CliRun cli(const QStringList &args, const std::function<void()> &inChild = {});

// For `inChild`: the program sees `folder` as a nearly full disk (a file
// system of its own, in a mount namespace of its own, so nothing else sees
// it): empty with room for 4 KiB, or holding a copy of `carried` (a file in
// that folder) with room for 64 KiB more. A child that cannot have it ends
// with status 99.
std::function<void()> fullDiskAt(const QString &folder, const QString &carried = {});

// Runs it and expects the exit status and, when given, exactly `err` on stderr.
CliRun cliExpect(const QStringList &args, int status, const std::optional<QString> &err = std::nullopt);

class CliSet : public testing::Test {
protected:
    void SetUp() override;

    // Global options logging in as `op` with `password` (主管/888 by default).
    QStringList login(const QString &password = QStringLiteral("888")) const;
    QStringList as(const QString &op, const QString &password) const;
    // Writes journal lines straight into the set, as posting would have.
    void post(const QList<JournalLine> &lines) const;

    QTemporaryDir m_dir;
    QString m_set;
};

} // namespace tz::test
