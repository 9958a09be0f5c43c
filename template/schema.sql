-- Structure of an account set (one company, one fiscal year). The template
-- account set is built from this script and the data files beside it; every
-- new account set is a byte copy of the template.
--
-- Column order matters where rows are read by position (信息表.帐套名称 is the
-- fourth column; 科目表.科目代码 the second and 科目全称 the fifth; the
-- statement templates begin with their sequence column). Work-table IDs are
-- TEXT (they hold period keys such as '813' and eleven-character keys that
-- must sort as text); 分录表.ID is the ten-digit INTEGER line key.
-- Amounts are REAL rounded to two decimals and NULL when there is none.

PRAGMA user_version = 6;

-- Account-set information: one row per operator; the row with 代号 'TZ'
-- also carries the company name and the backup folder.
CREATE TABLE 信息表 (
    代号      TEXT,
    操作员    TEXT,
    密码      TEXT,
    帐套名称  TEXT,
    备份路径  TEXT
);

-- Chart of accounts. 序号 is the running number of the row (no statement
-- relies on it). 明细 is 'Y' for a detail account, '' for one with children.
CREATE TABLE 科目表 (
    序号      INTEGER,
    科目代码  TEXT NOT NULL,
    科目名称  TEXT,
    科目级数  INTEGER,
    科目全称  TEXT,
    方向      TEXT,
    明细      TEXT,
    拼音      TEXT,
    单位      TEXT,
    规格      TEXT,
    调汇      TEXT,
    数量      REAL,
    借方金额  REAL,
    贷方金额  REAL
);
CREATE UNIQUE INDEX 科目表_科目代码 ON 科目表 (科目代码);

-- Summary phrases offered in voucher entry.
CREATE TABLE 摘要 (
    名称  TEXT
);

-- Cash-flow items: three-digit codes, second digit 0 receipts, 1 payments.
CREATE TABLE 现流 (
    代码  TEXT NOT NULL,
    名称  TEXT
);
CREATE UNIQUE INDEX 现流_代码 ON 现流 (代码);

-- Posted journal lines (the books) and the staging copy with the same
-- columns. ID: '8' + month (2) + voucher number (4) + line (3); opening lines
-- '800' + a seven-digit running number. ID is deliberately not a UNIQUE
-- index: renumbering shifts a month's IDs by ±1000 in one UPDATE, and SQLite
-- checks uniqueness row by row, so a unique index could fail half-way.
-- Posting keeps IDs unique.
CREATE TABLE 分录表 (
    ID        INTEGER,
    日期      TEXT,
    月        INTEGER,
    字号      TEXT,
    号码      INTEGER,
    制单      TEXT,
    审核      TEXT,
    附件      INTEGER,
    摘要说明  TEXT,
    科目代码  TEXT,
    数量      REAL,
    借方金额  REAL,
    贷方金额  REAL,
    流代      TEXT,
    流金      REAL,
    结帐      INTEGER,
    科目全称  TEXT,
    顺序      INTEGER,
    TZID      INTEGER
);
CREATE INDEX 分录表_ID ON 分录表 (ID);
-- The code index carries the amounts and the quantity too, so the balance
-- table and other sums per account read the index alone, in code order,
-- without fetching each line from the table.
CREATE INDEX 分录表_科目代码 ON 分录表 (科目代码, ID, 借方金额, 贷方金额, 数量);
CREATE INDEX 分录表_月号码 ON 分录表 (月, 号码);
-- The closed lines by month: whether a month is closed is one index probe,
-- and open lines (every line keyed during the month) never enter it.
CREATE INDEX 分录表_已结帐 ON 分录表 (月) WHERE 结帐 <> 0;
-- The profit-and-loss transfer lines alone, with their amounts: the income
-- statement's figures come from them, a few lines a month.
CREATE INDEX 分录表_结转 ON 分录表 (科目代码, ID, 借方金额, 贷方金额) WHERE 结帐 = 2;

CREATE TABLE 分录始表 (
    ID        INTEGER,
    日期      TEXT,
    月        INTEGER,
    字号      TEXT,
    号码      INTEGER,
    制单      TEXT,
    审核      TEXT,
    附件      INTEGER,
    摘要说明  TEXT,
    科目代码  TEXT,
    数量      REAL,
    借方金额  REAL,
    贷方金额  REAL,
    流代      TEXT,
    流金      REAL,
    结帐      INTEGER,
    科目全称  TEXT,
    顺序      INTEGER,
    TZID      INTEGER
);
CREATE INDEX 分录始表_ID ON 分录始表 (ID);

-- TZID is a per-table counter: a row inserted without a TZID gets the next
-- value; a row inserted with an explicit value raises the counter to at
-- least that value; deleting rows never lowers it. Values are not unique
-- (rows copied between the two journal tables keep theirs).
CREATE TABLE TZID计数 (
    表名    TEXT PRIMARY KEY,
    当前值  INTEGER NOT NULL
);
INSERT INTO TZID计数 (表名, 当前值) VALUES ('分录表', 0), ('分录始表', 0);

CREATE TRIGGER 分录表_TZID_分配 AFTER INSERT ON 分录表 WHEN NEW.TZID IS NULL
BEGIN
    UPDATE TZID计数 SET 当前值 = 当前值 + 1 WHERE 表名 = '分录表';
    UPDATE 分录表 SET TZID = (SELECT 当前值 FROM TZID计数 WHERE 表名 = '分录表')
     WHERE rowid = NEW.rowid;
END;
CREATE TRIGGER 分录表_TZID_抬升 AFTER INSERT ON 分录表 WHEN NEW.TZID IS NOT NULL
BEGIN
    UPDATE TZID计数 SET 当前值 = max(当前值, NEW.TZID) WHERE 表名 = '分录表';
END;
CREATE TRIGGER 分录始表_TZID_分配 AFTER INSERT ON 分录始表 WHEN NEW.TZID IS NULL
BEGIN
    UPDATE TZID计数 SET 当前值 = 当前值 + 1 WHERE 表名 = '分录始表';
    UPDATE 分录始表 SET TZID = (SELECT 当前值 FROM TZID计数 WHERE 表名 = '分录始表')
     WHERE rowid = NEW.rowid;
END;
CREATE TRIGGER 分录始表_TZID_抬升 AFTER INSERT ON 分录始表 WHEN NEW.TZID IS NOT NULL
BEGIN
    UPDATE TZID计数 SET 当前值 = max(当前值, NEW.TZID) WHERE 表名 = '分录始表';
END;

-- Period-end revaluation work table; ID restarts at 1 after each refill
-- (an INTEGER PRIMARY KEY takes max(ID)+1, so 1 in an emptied table).
CREATE TABLE 调汇 (
    ID          INTEGER PRIMARY KEY,
    科目代码    TEXT,
    科目全称    TEXT,
    数量        REAL,
    调整前金额  REAL,
    汇率        REAL,
    调整后金额  REAL,
    损益        REAL
);

-- Statement figures per account or cash-flow item.
CREATE TABLE 报表数据 (
    代码  TEXT,
    方向  TEXT,
    年初  REAL,
    期末  REAL,
    本期  REAL,
    累计  REAL
);
CREATE INDEX 报表数据_代码 ON 报表数据 (代码);

-- Statement templates: one row per statement line; the computed columns are
-- overwritten by every query.
CREATE TABLE 资产表07 (
    序号              INTEGER,
    资产              TEXT,
    行次1             INTEGER,
    公式1             TEXT,
    期末余额1         REAL,
    年初余额1         REAL,
    负债及所有者权益  TEXT,
    行次2             INTEGER,
    公式2             TEXT,
    期末余额2         REAL,
    年初余额2         REAL
);
CREATE TABLE 资产表13 (
    序号              INTEGER,
    资产              TEXT,
    行次1             INTEGER,
    公式1             TEXT,
    期末余额1         REAL,
    年初余额1         REAL,
    负债及所有者权益  TEXT,
    行次2             INTEGER,
    公式2             TEXT,
    期末余额2         REAL,
    年初余额2         REAL
);
CREATE TABLE 利润表07 (
    序号          INTEGER,
    项目          TEXT,
    行次          INTEGER,
    公式          TEXT,
    本年累计金额  REAL,
    本月金额      REAL
);
CREATE TABLE 利润表13 (
    序号          INTEGER,
    项目          TEXT,
    行次          INTEGER,
    公式          TEXT,
    本年累计金额  REAL,
    本月金额      REAL
);
CREATE TABLE 现流表 (
    序号          INTEGER,
    项目          TEXT,
    行次          INTEGER,
    公式          TEXT,
    本年累计金额  REAL,
    本月金额      REAL
);

-- Ledger work tables, refilled by each query and read by the grids, the
-- printed pages and the workbook export. 备注 is a spare column that no
-- query fills; the grids hide it.
CREATE TABLE 三总式 (
    ID        TEXT,
    日期      TEXT,
    字号      TEXT,
    备注      TEXT,
    摘要说明  TEXT,
    借方金额  REAL,
    贷方金额  REAL,
    方向      TEXT,
    余额      REAL
);
CREATE TABLE 三栏帐页 (
    ID        TEXT,
    日期      TEXT,
    字号      TEXT,
    备注      TEXT,
    摘要说明  TEXT,
    借方金额  REAL,
    贷方金额  REAL,
    方向      TEXT,
    余额      REAL,
    顺序      INTEGER,
    月        INTEGER
);
CREATE TABLE 数量式 (
    ID        TEXT,
    日期      TEXT,
    字号      TEXT,
    备注      TEXT,
    摘要说明  TEXT,
    借数      REAL,
    借单      REAL,
    借金      REAL,
    贷数      REAL,
    贷单      REAL,
    贷金      REAL,
    方向      TEXT,
    余数      REAL,
    余单      REAL,
    余额      REAL
);
CREATE TABLE 数量帐页 (
    ID        TEXT,
    日期      TEXT,
    字号      TEXT,
    备注      TEXT,
    摘要说明  TEXT,
    借数      REAL,
    借单      REAL,
    借金      REAL,
    贷数      REAL,
    贷单      REAL,
    贷金      REAL,
    方向      TEXT,
    余数      REAL,
    余单      REAL,
    余额      REAL,
    顺序      INTEGER,
    月        INTEGER
);
CREATE TABLE 多栏式1 (
    ID        TEXT,
    科目代码  TEXT,
    科目名称  TEXT,
    日期      TEXT,
    字号      TEXT,
    摘要说明  TEXT,
    借方金额  REAL,
    贷方金额  REAL,
    方向      TEXT,
    余额      REAL
);
-- Re-made by every multi-column query with one column per sub-account
-- heading; the template holds the fixed leading columns only.
CREATE TABLE 多栏式 (
    ID         TEXT,
    日期       TEXT,
    字号       TEXT,
    备注       TEXT,
    摘要说明   TEXT,
    借方金额1  REAL,
    贷方金额1  REAL,
    方向       TEXT,
    余额       REAL
);
CREATE TABLE 固累式 (
    科目代码   TEXT,
    ID         TEXT,
    日期       TEXT,
    字号       TEXT,
    号码       INTEGER,
    摘要说明   TEXT,
    借方金额   REAL,
    贷方金额   REAL,
    原值       REAL,
    借方金额1  REAL,
    贷方金额1  REAL,
    累计折旧   REAL,
    净值       REAL
);
CREATE TABLE 固累帐页 (
    科目代码   TEXT,
    ID         TEXT,
    日期       TEXT,
    字号       TEXT,
    号码       INTEGER,
    摘要说明   TEXT,
    借方金额   REAL,
    贷方金额   REAL,
    原值       REAL,
    借方金额1  REAL,
    贷方金额1  REAL,
    累计折旧   REAL,
    净值       REAL,
    顺序       INTEGER,
    月         INTEGER
);
CREATE TABLE 数量式余额表 (
    科目代码  TEXT,
    科目名称  TEXT,
    方向      TEXT,
    期初数量  REAL,
    期初金额  REAL,
    本期借数  REAL,
    本期借金  REAL,
    本期贷数  REAL,
    本期贷金  REAL,
    累计借数  REAL,
    累计借金  REAL,
    累计贷数  REAL,
    累计贷金  REAL,
    期末数量  REAL,
    期末金额  REAL
);
CREATE TABLE 凭证汇总表 (
    科目代码  TEXT,
    科目名称  TEXT,
    借方金额  REAL,
    贷方金额  REAL
);

-- The trail of changes (store/changelog.h): one row per operation that
-- wrote the books, each holding the hash of the row before it (前链) and
-- its own (本链) over its fields; 号码 and 末号 are the vouchers it wrote
-- (NULL for the chart and opening figures). 凭证指纹 holds each voucher's
-- digest as its last writer left it (month 0, number 0: the opening lines)
-- and that writer's row. Last in the file, so the tables above keep the
-- pages older sets have them on (salvage relies on it).
CREATE TABLE 操作日志 (
    序号    INTEGER PRIMARY KEY,
    时间    TEXT,
    操作员  TEXT,
    操作    TEXT,
    月      INTEGER,
    号码    INTEGER,
    末号    INTEGER,
    摘要    TEXT,
    说明    TEXT,
    前链    TEXT,
    本链    TEXT
);
-- Not unique: an insertion or deletion renumbers a month's records in one
-- UPDATE, as it does the journal's IDs.
CREATE TABLE 凭证指纹 (
    月    INTEGER,
    号码  INTEGER,
    摘要  TEXT,
    日志  INTEGER
);
CREATE INDEX 凭证指纹_月号码 ON 凭证指纹 (月, 号码);

-- Kept balances: the journal's totals per account and period, kept by the
-- triggers below inside every transaction that writes 分录表, so the
-- balance table, the statements and the ledgers' carried balances read
-- accounts x periods instead of lines (store/keptbalances.h). 期 is
-- ID / 10000000: 800 the opening lines, 801..812 the months (-1 a line
-- without an ID); 科目代码 '' a line without a code. Amounts are whole
-- cents (exact under any order of additions and subtractions), quantities
-- as stored. 借笔/贷笔 count the lines with a debit/credit amount and
-- 借数笔/贷数笔 those whose quantity counts on that side, so a sum over no
-- such lines reads as none. 净数 is the quantity with a line's sign
-- (negative when it has no debit amount); 借数 the quantities of lines
-- without a credit amount, 贷数 of lines without a debit amount. 转借 and
-- 转贷 are the closing transfer lines' (结帐 2) own amounts. A row whose
-- lines are all gone is deleted. Last in the file with the trail's tables,
-- so older sets' tables keep their pages.
CREATE TABLE 科目月计 (
    科目代码  TEXT NOT NULL,
    期        INTEGER NOT NULL,
    行数      INTEGER NOT NULL,
    借方      INTEGER NOT NULL,
    贷方      INTEGER NOT NULL,
    借笔      INTEGER NOT NULL,
    贷笔      INTEGER NOT NULL,
    净数      REAL NOT NULL,
    借数      REAL NOT NULL,
    借数笔    INTEGER NOT NULL,
    贷数      REAL NOT NULL,
    贷数笔    INTEGER NOT NULL,
    转借      INTEGER NOT NULL,
    转贷      INTEGER NOT NULL,
    PRIMARY KEY (科目代码, 期)
) WITHOUT ROWID;
-- The cash-flow amounts (流金, whole cents) per cash-flow item and period,
-- of the lines with a 流代.
CREATE TABLE 流量月计 (
    流代    TEXT NOT NULL,
    期      INTEGER NOT NULL,
    行数    INTEGER NOT NULL,
    流金    INTEGER NOT NULL,
    PRIMARY KEY (流代, 期)
) WITHOUT ROWID;

-- A line's move into (增减 1) or out of (增减 -1) the totals of its account
-- and period and of its 流代: the journal's triggers write one row here for
-- each line added and removed, and this view's trigger applies it, so each
-- figure's rule stands once. A total whose lines are all gone is dropped.
CREATE VIEW 月计变动 (增减, ID, 科目代码, 数量, 借方金额, 贷方金额, 流代, 流金, 结帐) AS
    SELECT 0, 0, '', 0, 0, 0, '', 0, 0 WHERE 0;
CREATE TRIGGER 月计变动_记入 INSTEAD OF INSERT ON 月计变动
BEGIN
    INSERT INTO 科目月计 VALUES (
        ifnull(NEW.科目代码, ''), ifnull(NEW.ID / 10000000, -1), NEW.增减,
        NEW.增减 * CAST(round(ifnull(NEW.借方金额, 0) * 100) AS INTEGER),
        NEW.增减 * CAST(round(ifnull(NEW.贷方金额, 0) * 100) AS INTEGER),
        NEW.增减 * (NEW.借方金额 IS NOT NULL), NEW.增减 * (NEW.贷方金额 IS NOT NULL),
        NEW.增减 * CASE WHEN NEW.借方金额 IS NULL THEN -ifnull(NEW.数量, 0) ELSE ifnull(NEW.数量, 0) END,
        NEW.增减 * CASE WHEN NEW.贷方金额 IS NULL THEN ifnull(NEW.数量, 0) ELSE 0 END,
        NEW.增减 * (NEW.贷方金额 IS NULL AND NEW.数量 IS NOT NULL),
        NEW.增减 * CASE WHEN NEW.借方金额 IS NULL THEN ifnull(NEW.数量, 0) ELSE 0 END,
        NEW.增减 * (NEW.借方金额 IS NULL AND NEW.数量 IS NOT NULL),
        NEW.增减 * CASE WHEN NEW.结帐 = 2 THEN CAST(round(ifnull(NEW.借方金额, 0) * 100) AS INTEGER) ELSE 0 END,
        NEW.增减 * CASE WHEN NEW.结帐 = 2 THEN CAST(round(ifnull(NEW.贷方金额, 0) * 100) AS INTEGER) ELSE 0 END)
    ON CONFLICT (科目代码, 期) DO UPDATE SET
        行数 = 行数 + excluded.行数, 借方 = 借方 + excluded.借方, 贷方 = 贷方 + excluded.贷方,
        借笔 = 借笔 + excluded.借笔, 贷笔 = 贷笔 + excluded.贷笔, 净数 = 净数 + excluded.净数,
        借数 = 借数 + excluded.借数, 借数笔 = 借数笔 + excluded.借数笔,
        贷数 = 贷数 + excluded.贷数, 贷数笔 = 贷数笔 + excluded.贷数笔,
        转借 = 转借 + excluded.转借, 转贷 = 转贷 + excluded.转贷;
    DELETE FROM 科目月计 WHERE 科目代码 = ifnull(NEW.科目代码, '') AND 期 = ifnull(NEW.ID / 10000000, -1) AND 行数 = 0;
    INSERT INTO 流量月计
    SELECT NEW.流代, ifnull(NEW.ID / 10000000, -1), NEW.增减, NEW.增减 * CAST(round(ifnull(NEW.流金, 0) * 100) AS INTEGER)
     WHERE ifnull(NEW.流代, '') <> ''
    ON CONFLICT (流代, 期) DO UPDATE SET 行数 = 行数 + excluded.行数, 流金 = 流金 + excluded.流金;
    DELETE FROM 流量月计 WHERE 流代 = ifnull(NEW.流代, '') AND 期 = ifnull(NEW.ID / 10000000, -1) AND 行数 = 0;
END;
CREATE TRIGGER 分录表_月计_增 AFTER INSERT ON 分录表
BEGIN
    INSERT INTO 月计变动 VALUES (1, NEW.ID, NEW.科目代码, NEW.数量, NEW.借方金额, NEW.贷方金额, NEW.流代, NEW.流金, NEW.结帐);
END;
CREATE TRIGGER 分录表_月计_删 AFTER DELETE ON 分录表
BEGIN
    INSERT INTO 月计变动 VALUES (-1, OLD.ID, OLD.科目代码, OLD.数量, OLD.借方金额, OLD.贷方金额, OLD.流代, OLD.流金, OLD.结帐);
END;
-- A changed line moves out of its old totals and into its new ones; only
-- a change that touches a kept figure does (renumbering moves IDs within
-- their month, and closing marks lines 结帐 1).
CREATE TRIGGER 分录表_月计_改 AFTER UPDATE OF ID, 科目代码, 数量, 借方金额, 贷方金额, 流代, 流金, 结帐 ON 分录表
WHEN OLD.ID / 10000000 IS NOT NEW.ID / 10000000 OR OLD.科目代码 IS NOT NEW.科目代码 OR OLD.数量 IS NOT NEW.数量
  OR OLD.借方金额 IS NOT NEW.借方金额 OR OLD.贷方金额 IS NOT NEW.贷方金额 OR OLD.流代 IS NOT NEW.流代
  OR OLD.流金 IS NOT NEW.流金 OR (ifnull(OLD.结帐, 0) = 2) <> (ifnull(NEW.结帐, 0) = 2)
BEGIN
    INSERT INTO 月计变动 VALUES (-1, OLD.ID, OLD.科目代码, OLD.数量, OLD.借方金额, OLD.贷方金额, OLD.流代, OLD.流金, OLD.结帐);
    INSERT INTO 月计变动 VALUES (1, NEW.ID, NEW.科目代码, NEW.数量, NEW.借方金额, NEW.贷方金额, NEW.流代, NEW.流金, NEW.结帐);
END;
