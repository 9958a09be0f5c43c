// Errors of the account-set store. They are thrown inside the core and turned
// into an OpResult (and a message to the user) at the operation boundary.
#pragma once

#include <stdexcept>

#include <QString>

namespace tz {

class DbError : public std::runtime_error
{
public:
    enum class Kind {
        FileMissing,    // no file at the path; nothing was created
        NotADatabase,   // the file is not an encrypted account-set database
        WrongKey,       // an encrypted file that our key does not open
        NotAnAccountSet,// opens, but lacks the account-set tables
        Statement,      // a statement was rejected by the database
        ReadOnlyQuery,  // a statement that had to be one read-only query was not
        Busy,           // another program holds the set's write lock past the wait
        ReadOnly,       // the file (or its folder) cannot be written
        Damaged,        // the file failed its integrity check or a page does not decrypt
        TooLong,        // a query ran past its time limit and was stopped
    };

    DbError(Kind kind, const QString &message)
        : std::runtime_error(message.toStdString())
        , m_kind(kind)
        , m_message(message)
    {
    }

    Kind kind() const { return m_kind; }
    const QString &message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

} // namespace tz
