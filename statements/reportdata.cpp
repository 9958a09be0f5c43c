// 报表数据 and formulas.
#include "statements/reportdata.h"

#include "store/keptbalances.h"
#include "store/session.h"
#include "store/worktables.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// ?1 the month's period key (800 + month). The journal's totals come from
// the rows the posting keeps per account and period (科目月计), in whole
// cents: 年初 the opening period, 期末 every period up to the month, 本期
// and 累计 the closing transfer lines' own totals of the month and of the
// year to it. The sums are then rolled up to every level's prefix; a code
// counts for the levels it has (a 7-digit code for levels 1 and 2).
const QString kAccountRowsSql = uR"(WITH
 net AS (SELECT 科目代码 AS code,
                total(CASE WHEN 期 = 800 THEN 借方 - 贷方 END) AS 年初, total(借方 - 贷方) AS 期末,
                total(CASE WHEN 期 = ?1 THEN 转借 - 转贷 END) AS 本期, total(转借 - 转贷) AS 累计
           FROM 科目月计 WHERE 期 BETWEEN 800 AND ?1 GROUP BY 科目代码),
 levels(width) AS (VALUES (4), (7), (10), (13)),
 rolled AS (SELECT substr(code, 1, width) AS 代码, total(年初) / 100.0 AS 年初, total(期末) / 100.0 AS 期末,
                   total(本期) / 100.0 AS 本期, total(累计) / 100.0 AS 累计
              FROM net JOIN levels ON length(code) >= width GROUP BY 1)
INSERT INTO 报表数据 (代码, 方向, 年初, 期末, 本期, 累计)
SELECT f.科目代码, f.方向,
       CASE WHEN f.方向 = '贷' AND substr(f.科目代码, 1, 4) < '5000' THEN -r.年初 ELSE r.年初 END,
       CASE WHEN f.方向 = '贷' AND substr(f.科目代码, 1, 4) < '5000' THEN -r.期末 ELSE r.期末 END,
       CASE WHEN substr(f.科目代码, 1, 4) > '5400' THEN -r.本期 ELSE r.本期 END,
       CASE WHEN substr(f.科目代码, 1, 4) > '5400' THEN -r.累计 ELSE r.累计 END
  FROM rolled r JOIN 科目表 f ON f.科目代码 = r.代码
 WHERE r.年初 <> 0 OR r.期末 <> 0 OR r.本期 <> 0 OR r.累计 <> 0)"_s;

// ?1 the month's period key. The cash (codes below 1100) before the month
// and at its end, from the kept totals; each cash-flow item's 流金 from the
// kept totals per item and period.
const QString kCashRowsSql = uR"(INSERT INTO 报表数据 (代码, 年初, 期末, 本期, 累计)
SELECT '888', NULL, NULL, total(CASE WHEN 期 < ?1 THEN 借方 - 贷方 END) / 100.0,
       total(CASE WHEN 期 = 800 THEN 借方 - 贷方 END) / 100.0
  FROM 科目月计 WHERE substr(科目代码, 1, 4) < '1100' AND 期 BETWEEN 800 AND ?1
UNION ALL
SELECT '999', NULL, NULL, total(借方 - 贷方) / 100.0, total(借方 - 贷方) / 100.0
  FROM 科目月计 WHERE substr(科目代码, 1, 4) < '1100' AND 期 BETWEEN 800 AND ?1)"_s;

const QString kItemRowsSql = uR"(INSERT INTO 报表数据 (代码, 本期, 累计)
SELECT 代码, 本期 / 100.0, 累计 / 100.0 FROM (
  SELECT 流代 AS 代码, total(CASE WHEN 期 = ?1 THEN 流金 END) AS 本期, total(流金) AS 累计
    FROM 流量月计 WHERE 期 BETWEEN 800 AND ?1 GROUP BY 流代)
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
    const QVariantList period {kOpeningPeriod + month};
    if (kind == ReportData::Accounts) {
        session.execSql(kAccountRowsSql, period);
    } else {
        session.execSql(kCashRowsSql, period);
        session.execSql(kItemRowsSql, period);
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
