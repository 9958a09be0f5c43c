// The kept balances: the journal's totals per account and period (科目月计)
// and per cash-flow item and period (流量月计), which the triggers of
// 分录表 (template/schema.sql) keep inside every transaction that writes
// the journal. Readers sum accounts x periods instead of journal lines.
#pragma once

#include <QString>
#include <QStringList>

#include "store/money.h"

namespace tz {

class Connection;
class Session;

// The period key of the opening lines ('800' IDs) and of month m (800 + m).
inline constexpr int kOpeningPeriod = 800;
inline constexpr int kLastPeriod = 812;

// The totals of the journal lines of the accounts under a code prefix (the
// account itself and every account whose code begins with it) in periods
// firstPeriod..lastPeriod, from the kept rows.
struct KeptTotals
{
    qint64 lines = 0;
    Cents debit = 0;           // every debit amount
    Cents credit = 0;          // every credit amount
    qint64 debitLines = 0;     // lines with a debit amount (0: debit "none")
    qint64 creditLines = 0;    // lines with a credit amount
    double quantity = 0;       // quantities, negative on lines without a debit amount
    double debitQuantity = 0;  // quantities of lines without a credit amount
    double creditQuantity = 0; // quantities of lines without a debit amount
    Cents transferDebit = 0;   // the closing transfer lines' (结帐 2) debits
    Cents transferCredit = 0;  // and credits

    Cents net() const { return debit - credit; }
    double balance() const { return double(net()) / 100.0; }
};

// Throws DbError; reads inside the caller's transaction, if any. An empty
// prefix takes every account.
KeptTotals keptTotals(Session &session, const QString &codePrefix, int firstPeriod, int lastPeriod);

// The kept rows made again from the journal, inside the caller's
// transaction: for a set whose rows were copied without the triggers (the
// schema upgrade, salvage).
void rebuildKeptBalances(Connection &connection);

// Deletes every journal line and the kept balances with them, inside the
// caller's transaction: three statements instead of the triggers' work for
// each line (a year at the limit has 474,000 lines).
void emptyJournal(Session &session);

// A write-protected set made before the kept balances (which login cannot
// upgrade) gets them in the connection's temporary schema, summed from its
// journal once, so the readers find them under the same names.
void shadowKeptBalances(Connection &connection);

// Every kept row that differs from the journal, named by account (or
// cash-flow item) and period, in Chinese, at most 50; empty when they agree.
// Amounts and counts must agree exactly, quantities to six decimals.
QStringList keptBalanceProblems(Session &session);

} // namespace tz
