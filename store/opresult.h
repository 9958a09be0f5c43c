// The outcome of an operation: done, refused by a check or a No answer, or
// failed on the database or a file. The windows refresh after Done; the
// command line turns the status into its exit status.
#pragma once

#include <QString>

namespace tz {

struct OpResult
{
    enum class Status {
        Done,
        Refused,
        Failed,
    };

    Status status = Status::Done;
    QString message; // what the user was told, for logs and the command line

    static OpResult done() { return {}; }
    static OpResult refused(const QString &text = {}) { return {Status::Refused, text}; }
    static OpResult failed(const QString &text) { return {Status::Failed, text}; }

    bool isDone() const { return status == Status::Done; }
    bool isRefused() const { return status == Status::Refused; }
    bool isFailed() const { return status == Status::Failed; }
};

} // namespace tz
