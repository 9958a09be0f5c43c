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

PRAGMA user_version = 5;

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
