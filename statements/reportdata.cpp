// 报表数据 and formulas.
#include "statements/reportdata.h"

#include "store/session.h"
#include "store/worktables.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

constexpr qint64 kFirstJournalId = 8'000'000'000;
constexpr qint64 kFirstMonthId = 8'010'000'000; // lines below are opening lines
constexpr qint64 kMonthSpan = 10'000'000;

// ?1 the month's first ID, ?2 the month's period key (800 + month). The
// balances are summed once per full code through the code index, which carries the amounts (the period key keeps
// the planner off the ID index, which would fetch every line); the transfer
// figures come from the index of the transfer lines alone. The sums are
// then rolled up to every level's prefix; a line counts for the levels its
// code has (a 7-digit code for levels 1 and 2).
const QString kAccountRowsSql = uR"(WITH
 net AS (SELECT 科目代码 AS code,
                total(CASE WHEN ID < 8010000000 THEN ifnull(借方金额, 0) - ifnull(贷方金额, 0) END) AS 年初,
                total(ifnull(借方金额, 0) - ifnull(贷方金额, 0)) AS 期末, 0 AS 本期, 0 AS 累计
           FROM 分录表 WHERE ID / 10000000 BETWEEN 800 AND ?2 GROUP BY 科目代码
         UNION ALL
         SELECT 科目代码, 0, 0, total(CASE WHEN ID >= ?1 THEN ifnull(借方金额, 0) - ifnull(贷方金额, 0) END),
                total(ifnull(借方金额, 0) - ifnull(贷方金额, 0))
           FROM 分录表 WHERE 结帐 = 2 AND ID / 10000000 BETWEEN 800 AND ?2 GROUP BY 科目代码),
 levels(width) AS (VALUES (4), (7), (10), (13)),
 rolled AS (SELECT substr(code, 1, width) AS 代码, round_half_up(sum(年初), 2) AS 年初,
                   round_half_up(sum(期末), 2) AS 期末, round_half_up(sum(本期), 2) AS 本期,
                   round_half_up(sum(累计), 2) AS 累计
              FROM net JOIN levels ON length(code) >= width GROUP BY 1)
INSERT INTO 报表数据 (代码, 方向, 年初, 期末, 本期, 累计)
SELECT f.科目代码, f.方向,
       CASE WHEN f.方向 = '贷' AND substr(f.科目代码, 1, 4) < '5000' THEN -r.年初 ELSE r.年初 END,
       CASE WHEN f.方向 = '贷' AND substr(f.科目代码, 1, 4) < '5000' THEN -r.期末 ELSE r.期末 END,
       CASE WHEN substr(f.科目代码, 1, 4) > '5400' THEN -r.本期 ELSE r.本期 END,
       CASE WHEN substr(f.科目代码, 1, 4) > '5400' THEN -r.累计 ELSE r.累计 END
  FROM rolled r JOIN 科目表 f ON f.科目代码 = r.代码
 WHERE r.年初 <> 0 OR r.期末 <> 0 OR r.本期 <> 0 OR r.累计 <> 0)"_s;

const QString kCashRowsSql = uR"(INSERT INTO 报表数据 (代码, 年初, 期末, 本期, 累计)
SELECT '888', NULL, NULL,
       round_half_up(total(CASE WHEN ID < ?1 THEN ifnull(借方金额, 0) - ifnull(贷方金额, 0) END), 2),
       round_half_up(total(CASE WHEN ID < 8010000000 THEN ifnull(借方金额, 0) - ifnull(贷方金额, 0) END), 2)
  FROM 分录表 WHERE substr(科目代码, 1, 4) < '1100' AND ID >= 8000000000 AND ID < ?2
UNION ALL
SELECT '999', NULL, NULL, round_half_up(total(ifnull(借方金额, 0) - ifnull(贷方金额, 0)), 2),
       round_half_up(total(ifnull(借方金额, 0) - ifnull(贷方金额, 0)), 2)
  FROM 分录表 WHERE substr(科目代码, 1, 4) < '1100' AND ID >= 8000000000 AND ID < ?2)"_s;

const QString kItemRowsSql = uR"(INSERT INTO 报表数据 (代码, 本期, 累计)
SELECT 代码, 本期, 累计 FROM (
  SELECT 流代 AS 代码, round_half_up(total(CASE WHEN ID >= ?1 THEN ifnull(流金, 0) END), 2) AS 本期,
         round_half_up(total(ifnull(流金, 0)), 2) AS 累计
    FROM 分录表 WHERE ID >= 8000000000 AND ID < ?2 AND ifnull(流代, '') <> '' GROUP BY 流代)
 WHERE 本期 <> 0 OR 累计 <> 0)"_s;

// The negated copy of every row; the code is negated as text.
const QString kMirrorRowsSql = uR"(INSERT INTO 报表数据 (代码, 方向, 年初, 期末, 本期, 累计)
SELECT '-' || 代码, 'TZ', -年初, -期末, -本期, -累计 FROM 报表数据)"_s;

Cents centsOf(const QVariant &value)
{
    return value.isNull() ? 0 : roundToCents(value.toDouble());
}

} // namespace

void buildReportData(Session &session, int month, ReportData kind)
{
    emptyWorkTables(session, {u"报表数据"_s});
    const qint64 monthStart = kFirstJournalId + month * kMonthSpan;
    if (kind == ReportData::Accounts) {
        session.execSql(kAccountRowsSql, {monthStart, 800 + month});
    } else {
        const QVariantList bounds {monthStart, monthStart + kMonthSpan};
        session.execSql(kCashRowsSql, bounds);
        session.execSql(kItemRowsSql, bounds);
    }
    session.execSql(kMirrorRowsSql);
}

QHash<QString, FigurePair> readReportData(Session &session, bool balanceSheet)
{
    const ResultSet rows = session.RunSql(balanceSheet ? u"SELECT 代码, 年初, 期末 FROM 报表数据"_s
                                                       : u"SELECT 代码, 本期, 累计 FROM 报表数据"_s);
    QHash<QString, FigurePair> data;
    data.reserve(rows.recordCount());
    for (const ResultSet::Row &row : rows.rows()) {
        FigurePair &pair = data[row.at(0).toString()];
        pair.first += centsOf(row.at(1));
        pair.second += centsOf(row.at(2));
    }
    return data;
}

QSet<QString> formulaCodes(const QString &formula)
{
    QSet<QString> codes;
    QString code;
    for (const QChar c : formula) {
        if (c == u'+' || c == u'-') {
            if (!code.isEmpty() && code != u"-"_s)
                codes.insert(code);
            code = c == u'-' ? u"-"_s : QString();
        } else {
            code.append(c);
        }
    }
    if (!code.isEmpty() && code != u"-"_s)
        codes.insert(code);
    return codes;
}

bool isFormulaText(const QString &formula)
{
    for (const QChar c : formula) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'+' && c != u'-' && c != u' ')
            return false;
    }
    return true;
}

FigurePair evaluateFormula(const QHash<QString, FigurePair> &data, const QString &formula)
{
    FigurePair sum;
    for (const QString &code : formulaCodes(formula)) {
        const auto row = data.constFind(code);
        if (row != data.cend()) {
            sum.first += row->first;
            sum.second += row->second;
        }
    }
    return sum;
}

} // namespace tz
