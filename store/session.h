// The login values and the one connection to the open account-set file.
// One Session object is shared by every window and operation of a running
// program; nothing here is global.
#pragma once

#include <QString>
#include <QVariant>

#include "store/connection.h"
#include "store/resultset.h"

namespace tz {

class Session
{
public:
    // Full path of the open account-set file. Changing it closes the
    // connection, so the next statement opens the newly named file.
    const QString &dbPath() const { return m_dbPath; }
    void setDbPath(const QString &path);

    const QString &operatorName() const { return m_operatorName; }
    void setOperatorName(const QString &name) { m_operatorName = name; }

    const QString &operatorPassword() const { return m_operatorPassword; }
    void setOperatorPassword(const QString &password) { m_operatorPassword = password; }

    // "20" followed by the last two characters of the file name (Y24 → 2024).
    qint16 fiscalYear() const { return m_fiscalYear; }
    void setFiscalYear(qint16 year) { m_fiscalYear = year; }

    const QString &companyName() const { return m_companyName; }
    void setCompanyName(const QString &name) { m_companyName = name; }

    const QString &setShortName() const { return m_setShortName; }
    void setSetShortName(const QString &name) { m_setShortName = name; }

    // Display formats of quantities and unit prices in the ledgers, tables
    // and their pages; the query window's decimal spinners set them.
    const QString &quantityFormat() const { return m_quantityFormat; }
    void setQuantityFormat(const QString &format) { m_quantityFormat = format; }
    const QString &priceFormat() const { return m_priceFormat; }
    void setPriceFormat(const QString &format) { m_priceFormat = format; }

    // Opens the connection on dbPath() unless it is already open. Throws
    // DbError when the file is missing, no account set, or keyed otherwise.
    bool OpenMainConnection();

    // Runs one statement on the open account set (opening it first) with the
    // values bound as parameters, and returns its rows.
    ResultSet RunSql(const QString &sql, const QVariantList &params = {});

    // Runs one action statement; returns the number of rows changed.
    qint64 execSql(const QString &sql, const QVariantList &params = {});

    // Closes the connection before the file is copied, replaced or compacted.
    void CloseMainConnection();

    Connection &mainConnection() { return m_connection; }
    bool isConnected() const { return m_connection.isOpen(); }

private:
    QString m_dbPath;
    QString m_operatorName;
    QString m_operatorPassword;
    qint16 m_fiscalYear = 0;
    QString m_companyName;
    QString m_setShortName;
    QString m_quantityFormat = QStringLiteral("0.00");
    QString m_priceFormat = QStringLiteral("0.00");
    Connection m_connection;
};

} // namespace tz
