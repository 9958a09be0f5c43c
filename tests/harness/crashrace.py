#!/usr/bin/env python3
"""Crash-and-race harness for the books.

Starts real tz305-cli processes on a real encrypted account set, kills them
with SIGKILL at random moments or races several writers against a closer,
and after every trial reads the set with the sqlcipher shell and checks the
invariants of the books: the file is intact, every voucher balances, each
month is numbered 1..k without gaps or repeats, line IDs follow 月 and 号码,
every code is a detail account, a closed month has no open line, the
balances kept per account and period equal the journal's, and the
killed operation left the books either as they were before it or as an
uninterrupted run of it leaves them. The whole-file operations (backup,
restore, carry forward, compact, a set passphrase set or removed) killed at
random leave the set intact (under the old key or the new one) with
its books and each file they make either absent or complete, and the next
run removes the scratch files a killed one left; a PDF or workbook written
from the set and killed leaves its name empty or whole, and the next write
into its folder clears its scratch files; a compactor races the writers,
whose every saved voucher must survive it.

    python3 tests/harness/crashrace.py --cli build/bin/tz305-cli --trials 100
        [--kinds import,post,close,reopen,opening,race,backup,restore,carry,compact,output,passphrase] [--seed S]
        [--workdir DIR] [--keep]

--trials is per kind. Trial i of the run uses seed S+i, so a failing trial
is run again alone with --kinds KIND --trials 1 --seed ITS_SEED (the kill
moment and the interleaving of a race still vary with the machine's timing).
Per kind it prints trials, kills (runs killed before they finished), refused
(uninterrupted runs, or race writes, that exited non-zero; a kind refused
every time tests nothing), violations and seconds per trial. Exit status 0
without violations, 1 with, 2 when the base set cannot be made.
"""
import argparse
import collections
import csv
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import zipfile

KEY = "KD530927416"
PASSPHRASE = "帐套口令 2024"  # a set's own passphrase (帐套加密)
YEAR = 2024
LOGIN = ["--operator", "主管", "--password", "888", "--yes"]
# Detail accounts of the template chart; income (5001) and expense (5401,
# 5602xxx) lines give every closing a transfer voucher.
CODES = ["1001", "1002001", "1122", "1405", "2202", "5001", "5401", "5602001", "5602002"]
NOT_DETAIL = ["1002", "5602", "9999"]  # parent accounts and a code outside the chart
BASE_MONTHS, CLOSED_MONTHS = range(1, 7), (1, 2)
OPEN_MONTHS = (3, 4, 5, 6)  # open months that hold vouchers
COLUMNS = "ID,日期,月,字号,号码,制单,审核,附件,摘要说明,科目代码,数量,借方金额,贷方金额,流代,流金,结帐,科目全称,顺序"
VOUCHER = "ID >= 8010000000"  # lines 800xxxxxxx below this are opening balances
CENTS = "CAST(ROUND(IFNULL({}, 0) * 100) AS INTEGER)"
DEBIT, CREDIT = CENTS.format("借方金额"), CENTS.format("贷方金额")
KEPT = (f"SELECT IFNULL(科目代码, '') AS k, IFNULL(ID / 10000000, -1) AS p, COUNT(*), SUM({DEBIT}), SUM({CREDIT}), "
        f"COUNT(借方金额), COUNT(贷方金额), SUM(CASE WHEN 结帐 = 2 THEN {DEBIT} ELSE 0 END), "
        f"SUM(CASE WHEN 结帐 = 2 THEN {CREDIT} ELSE 0 END) FROM 分录表 GROUP BY 1, 2")
KEPT_FLOW = (f"SELECT 流代 AS k, IFNULL(ID / 10000000, -1) AS p, COUNT(*), SUM({CENTS.format('流金')}) FROM 分录表 "
             f"WHERE IFNULL(流代, '') <> '' GROUP BY 1, 2")

# Each query prints one '!' line per broken invariant; the dump lines start with '='.
CHECKS = f"""
SELECT '!integrity_check: ' || integrity_check FROM pragma_integrity_check WHERE integrity_check <> 'ok';
SELECT '!voucher ' || 月 || '/' || 号码 || ' does not balance: debit ' || SUM({DEBIT}) || ' credit ' || SUM({CREDIT})
  || ' (cents)' FROM 分录表 WHERE {VOUCHER} GROUP BY 月, 号码 HAVING SUM({DEBIT}) <> SUM({CREDIT});
SELECT '!opening lines do not balance: debit ' || SUM({DEBIT}) || ' credit ' || SUM({CREDIT}) || ' (cents)'
  FROM 分录表 WHERE ID < 8010000000 HAVING SUM({DEBIT}) <> SUM({CREDIT});
SELECT '!month ' || 月 || ' numbered with gaps: ' || COUNT(DISTINCT 号码) || ' numbers from ' || MIN(号码)
  || ' to ' || MAX(号码) FROM 分录表 WHERE {VOUCHER} GROUP BY 月
  HAVING COUNT(DISTINCT 号码) <> MAX(号码) OR MIN(号码) <> 1;
SELECT '!voucher ' || 月 || '/' || 号码 || ' holds the lines of more than one voucher' FROM 分录表
  WHERE {VOUCHER} GROUP BY 月, 号码 HAVING COUNT(DISTINCT 日期) > 1 OR COUNT(DISTINCT 字号) > 1
  OR COUNT(DISTINCT IFNULL(审核, '')) > 1 OR COUNT(DISTINCT IFNULL(附件, '')) > 1
  OR COUNT(DISTINCT IFNULL(结帐, 0)) > 1;
SELECT '!ID ' || ID || ' is on ' || COUNT(*) || ' lines' FROM 分录表 GROUP BY ID HAVING COUNT(*) > 1;
SELECT '!line ID ' || IFNULL(ID, 'NULL') || ' does not match 月 ' || IFNULL(月, 'NULL') || ', 号码 '
  || IFNULL(号码, 'NULL') || ', 日期 ' || IFNULL(日期, 'NULL') FROM 分录表
  WHERE ID IS NULL OR (ID < 8010000000 AND (ID <= 8000000000 OR 月 IS NOT NULL))
  OR ({VOUCHER} AND (月 NOT BETWEEN 1 AND 12 OR 号码 NOT BETWEEN 1 AND 9999 OR ID % 1000 = 0
      OR ID / 1000 <> 8000000 + 月 * 10000 + 号码 OR 日期 NOT LIKE '{YEAR}-__-__'
      OR CAST(substr(日期, 6, 2) AS INTEGER) <> 月));
SELECT '!line ' || ID || ': code ' || IFNULL(科目代码, 'NULL') || ' is not a detail account' FROM 分录表 j
  WHERE NOT EXISTS (SELECT 1 FROM 科目表 a WHERE a.科目代码 = j.科目代码 AND a.明细 = 'Y');
-- December stays open for posting after its closing, so it is left out.
SELECT '!month ' || 月 || ' is closed but has ' || SUM(IFNULL(结帐, 0) = 0) || ' open lines' FROM 分录表
  WHERE {VOUCHER} AND 月 <> 12 GROUP BY 月 HAVING SUM(IFNULL(结帐, 0) <> 0) > 0 AND SUM(IFNULL(结帐, 0) = 0) > 0;
-- The balances the posting keeps per account and period, and per cash-flow item and period, equal the journal's.
SELECT '!kept balance of ' || k || ' in period ' || p || ' differs from the journal' FROM (
  SELECT k, p FROM (SELECT 科目代码 AS k, 期 AS p, 行数, 借方, 贷方, 借笔, 贷笔, 转借, 转贷 FROM 科目月计 EXCEPT {KEPT})
  UNION SELECT k, p FROM ({KEPT} EXCEPT SELECT 科目代码, 期, 行数, 借方, 贷方, 借笔, 贷笔, 转借, 转贷 FROM 科目月计));
SELECT '!kept cash flow of ' || k || ' in period ' || p || ' differs from the journal' FROM (
  SELECT k, p FROM (SELECT 流代 AS k, 期 AS p, 行数, 流金 FROM 流量月计 EXCEPT {KEPT_FLOW})
  UNION SELECT k, p FROM ({KEPT_FLOW} EXCEPT SELECT 流代, 期, 行数, 流金 FROM 流量月计));
SELECT '=', {COLUMNS} FROM 分录表;
"""
COL = {name: i + 1 for i, name in enumerate(COLUMNS.split(","))}  # index in a parsed dump row


class Run:
    """A finished tz305-cli process: exit status (-9 when killed) and its messages."""

    def __init__(self, proc, seconds, err, journal_at):
        self.rc, self.seconds, self.err, self.journal_at = proc.returncode, seconds, err.strip(), journal_at
        self.killed = proc.returncode == -signal.SIGKILL


class Harness:
    def __init__(self, cli):
        self.cli = os.path.abspath(cli)
        self.numbers = {}  # month -> vouchers of the base set

    def start(self, path, args):
        """Starts tz305-cli logged in to the set at path (no set and no login when path is None)."""
        argv = [self.cli, *(["--set", path, *LOGIN] if path else []), *map(str, args)]
        for attempt in range(120):  # the binary may be relinking under a running build: wait for it
            try:
                proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True)
                proc.began = time.monotonic()
                return proc
            except OSError as error:
                if attempt == 0:
                    print(f"crashrace: waiting for {self.cli}: {error}", file=sys.stderr, flush=True)
                time.sleep(1)
        give_up(f"cannot run {self.cli}")

    def finish(self, proc, kill_after=None, journal=None, from_journal=False):
        """Waits for proc. With journal, notes when that file (the rollback journal, there while a write
        transaction is open) first appears. Kills proc kill_after seconds after its start, or after
        that appearance with from_journal (no kill when the journal never appeared)."""
        journal_at = None
        while journal and journal_at is None and proc.poll() is None:
            if os.path.exists(journal):
                journal_at = time.monotonic() - proc.began
            time.sleep(0.0002)
        if kill_after is not None and (journal_at is not None or not from_journal):
            time.sleep(max(0.0, proc.began + (journal_at if from_journal else 0) + kill_after - time.monotonic()))
            if proc.poll() is None:
                proc.kill()
        try:
            _, err = proc.communicate(timeout=120)
        except subprocess.TimeoutExpired:
            proc.kill()
            _, err = proc.communicate()
            err += "\nhung for 120 s"
        return Run(proc, time.monotonic() - proc.began, err, journal_at)

    def cli_run(self, path, args, kill_after=None):
        return self.finish(self.start(path, args), kill_after)

    def check(self, path, key=KEY):
        """The broken invariants of the set, and the rows of its 分录表 as sorted text (None if unreadable)."""
        out = subprocess.run(["sqlcipher", "-batch", "-bail", "-noheader", "-quote", path], capture_output=True,
                             text=True, input=f"PRAGMA key='{key}';\n{CHECKS}")
        if out.returncode != 0:
            return [f"sqlcipher cannot read the set: {' / '.join(out.stderr.strip().splitlines())[-300:]}"], None
        lines = out.stdout.splitlines()
        broken = [line[2:-1].replace("''", "'") for line in lines if line.startswith("'!")]
        return broken, sorted(line for line in lines if line.startswith("'=',"))

    def crash(self, rng, path, op, failures):
        """Runs op uninterrupted on a copy of the set, then on the set itself killed at a random moment no
        later than the uninterrupted run took; the set must be left as before op or as after it."""
        ref = path[:-4] + "-ref.Y24"  # the program opens only *.Y24 files
        shutil.copyfile(path, ref)
        before = self.check(path)[1]
        whole = self.finish(self.start(ref, op), journal=ref + "-journal")
        after = self.check(ref)[1]
        os.remove(ref)
        # Most of a run is start-up, key derivation and login; the writes take its last few per cent,
        # and that moment wanders by more than their length from run to run. So half the kills land
        # anywhere in the run, half within the writes, timed from the journal's appearance.
        if whole.journal_at is not None and rng.random() < 0.5:
            run = self.finish(self.start(path, op), rng.uniform(0, whole.seconds - whole.journal_at),
                              path + "-journal", from_journal=True)
        else:
            run = self.cli_run(path, op, kill_after=rng.uniform(0, whole.seconds))
        if run.killed and os.path.exists(path + "-journal"):
            reopened = self.cli_run(path, ["sql", "SELECT COUNT(*) FROM 分录表"])
            if reopened.rc != 0:
                failures.append(f"the set does not open after the kill (exit {reopened.rc}): {reopened.err[-200:]}")
        broken, final = self.check(path)
        failures += broken
        counts = collections.Counter(kills=int(run.killed), refused=int(whole.rc != 0))
        if final is None or before is None or after is None:
            return counts
        if not run.killed and run.rc != whole.rc:
            failures.append(f"{' '.join(map(str, op))}: exit {run.rc}, uninterrupted {whole.rc}: {run.err[-200:]}")
        elif not run.killed and final != (after if run.rc == 0 else before):
            failures.append(f"{' '.join(map(str, op))} (exit {run.rc}) left the books unlike an uninterrupted run")
        elif final not in (before, after):
            failures.append(f"{' '.join(map(str, op))} killed after {run.seconds:.3f} s of {whole.seconds:.3f} s: "
                            f"neither all-before nor all-after; {difference(final, before, 'before')}; "
                            f"{difference(final, after, 'after')}")
        return counts


def give_up(message):
    print("crashrace: " + message, file=sys.stderr)
    sys.exit(2)


def difference(got, want, name):
    got, want = collections.Counter(got), collections.Counter(want)
    extra, missing = got - want, want - got
    sample = next(iter(extra or missing), "")
    return f"vs {name}: {sum(extra.values())} extra, {sum(missing.values())} missing lines (e.g. {sample[4:90]})"


def parsed(dump):
    return list(csv.reader(dump, quotechar="'"))


def voucher_lines(rng, summary, bad=False):
    """Two to four lines that balance: debits on random detail accounts, credits on one or two.
    A bad voucher is unbalanced or uses an account that may not be posted to."""
    debits = [rng.randint(1, 999999) for _ in range(rng.randint(1, 2))]
    split = rng.randint(1, sum(debits)) if len(debits) == 1 and rng.random() < 0.5 else sum(debits)
    credits = [split, sum(debits) - split] if split != sum(debits) else [split]
    lines = [[summary, rng.choice(CODES), cents(d), ""] for d in debits]
    lines += [[summary, rng.choice(CODES), "", cents(c)] for c in credits]
    if bad and rng.random() < 0.5:
        lines[-1][3] = cents(credits[-1] + 1)
    elif bad:
        rng.choice(lines)[1] = rng.choice(NOT_DETAIL)
    return lines


def cents(amount):
    return f"{amount // 100}.{amount % 100:02d}"


def date_in(rng, month):
    return f"{YEAR}-{month:02d}-{rng.randint(1, 28):02d}"


def line_args(lines):
    return [arg for s, code, debit, credit in lines for arg in ("--line", f"{s}|{code}||{debit}|{credit}||")]


def write_import(rng, path, plan, bad_voucher=None):
    """Writes a voucher CSV, plan a list of (month, summary), voucher number bad_voucher made bad;
    returns the lines of each summary."""
    written = collections.Counter()
    with open(path, "w", newline="", encoding="utf-8") as f:
        out = csv.writer(f)
        out.writerow("凭证,日期,字号,附件,审核,摘要说明,科目代码,数量,借方金额,贷方金额,流代,流金".split(","))
        for n, (month, summary) in enumerate(plan, 1):
            for i, (s, code, debit, credit) in enumerate(voucher_lines(rng, summary, n == bad_voucher)):
                head = [date_in(rng, month), "记", "1", "张三"] if i == 0 else ["", "", "", ""]
                out.writerow([n, *head, s, code, "", debit, credit, "", ""])
                written[s] += 1
    return written


def posting_op(rng, month, count):
    """A save, insert, modify or delete in a month of count vouchers, and how it changes the count."""
    what = rng.choice(["save", "save", "insert", "modify", "delete"] if count > 1 else ["save", "insert", "modify"])
    number, bad = rng.randint(1, count), rng.random() < 0.15
    body = ["--date", date_in(rng, month), "--reviewer", "张三", *line_args(voucher_lines(rng, "过帐", bad))]
    if what == "save":
        return ["voucher", "save", *body], 1
    if what == "insert":
        return ["voucher", "insert", "--number", number, *body], 1
    if what == "modify":
        return ["voucher", "modify", "--month", month, "--number", number, *body[2:]], 0
    return ["voucher", "delete", "--month", month, "--number", number], -1


def kind_import(h, rng, path, failures):
    month = rng.choice(range(3, 12))
    plan = [(month, f"导入{n}") for n in range(rng.randint(200, 400))]
    bad = rng.randint(1, len(plan)) if rng.random() < 0.1 else None
    write_import(rng, path + ".csv", plan, bad)
    return h.crash(rng, path, ["voucher", "import", path + ".csv"], failures)


def kind_post(h, rng, path, failures):
    month = rng.choice(OPEN_MONTHS)
    count = h.numbers[month]
    for _ in range(rng.randint(0, 3)):
        op, change = posting_op(rng, month, count)
        if h.cli_run(path, op).rc == 0:
            count += change
    return h.crash(rng, path, posting_op(rng, month, count)[0], failures)


def kind_close(h, rng, path, failures):
    return h.crash(rng, path, ["close", "--month", rng.choice(OPEN_MONTHS), "--reviewer", "李四"], failures)


def kind_reopen(h, rng, path, failures):
    month = rng.choice(BASE_MONTHS)
    if month not in CLOSED_MONTHS:
        h.cli_run(path, ["close", "--month", month, "--reviewer", "李四"])
    return h.crash(rng, path, ["reopen", "--month", month], failures)


def kind_opening(h, rng, path, failures):
    amount = rng.randint(1, 99999999)
    h.cli_run(path, ["opening", "set", "--code", "1405", "--debit", cents(amount)])
    # Now and then an unbalanced set of balances, which the load must refuse whole.
    h.cli_run(path, ["opening", "set", "--code", "2202", "--credit", cents(amount + (rng.random() < 0.2))])
    return h.crash(rng, path, ["opening", "load"], failures)


def kind_race(h, rng, path, failures):
    """Two writers save into one month (one of them sometimes imports) while a closer closes and reopens it;
    afterwards every voucher whose save exited 0 is there, whole, and no other."""
    month = rng.choice(OPEN_MONTHS)
    before = h.check(path)[1]
    if before is None:
        return {}
    stop, current, done = threading.Event(), {}, []  # done: (summary -> lines, run)
    together = threading.Barrier(2)  # the writers start each round at once so their writes collide

    def writer(name, wrng, imports):
        for n in range(10**6):
            try:
                together.wait(timeout=30)
            except threading.BrokenBarrierError:
                return
            if imports and wrng.random() < 0.25:
                plan = [(month, f"{name}{n}-{i}") for i in range(wrng.randint(5, 20))]
                adds = write_import(wrng, f"{path}.{name}.csv", plan)
                op = ["voucher", "import", f"{path}.{name}.csv"]
            else:
                lines = voucher_lines(wrng, f"{name}{n}")
                adds = collections.Counter(s for s, *_ in lines)
                op = ["voucher", "save", "--date", date_in(wrng, month), "--reviewer", name, *line_args(lines)]
            current[name] = h.start(path, op)
            done.append((adds, h.finish(current[name])))

    def closer(crng):
        # The month stays closed briefly and open longer, and ends closed when the stop comes in between.
        while True:
            # Compacting gives the set's name to a new file under the writers' open connections.
            for op, pause in ((["close", "--month", month, "--reviewer", "李四"], 0.2),
                              (["reopen", "--month", month], 0.4), (["compact"], 0.4)):
                if stop.is_set():
                    return
                current["closer"] = h.start(path, op)
                h.finish(current["closer"])
                time.sleep(crng.random() * pause)

    threads = [threading.Thread(target=writer, args=("甲", random.Random(rng.random()), False)),
               threading.Thread(target=writer, args=("乙", random.Random(rng.random()), True)),
               threading.Thread(target=closer, args=(random.Random(rng.random()),))]
    for t in threads:
        t.start()
    time.sleep(rng.uniform(2.0, 4.0))
    stop.set()
    together.abort()
    if rng.random() < 0.5:
        victim = current.get(rng.choice(["甲", "乙", "closer"]))
        if victim is not None and victim.poll() is None:
            victim.kill()
    for t in threads:
        t.join()
    broken, after = h.check(path)
    failures += broken
    if after is None:
        return {}
    def lines_by_summary(dump):  # the month's lines outside the closing's transfer voucher
        return collections.Counter(r[COL["摘要说明"]] for r in parsed(dump)
                                   if r[COL["月"]] == str(month) and r[COL["结帐"]] != "2")

    have, expected = lines_by_summary(after), lines_by_summary(before)
    for adds, run in done:
        # A killed write may have committed or not; if it did, all of it must be there.
        if run.rc == 0 or (run.killed and any(have[summary] for summary in adds)):
            expected += adds
    for summary in sorted(set(have) | set(expected)):
        if have[summary] != expected[summary]:
            failures.append(f"month {month}: {have[summary]} lines of {summary!r}, {expected[summary]} expected "
                            f"(saves that exited 0 and vouchers there before)")
    return collections.Counter(kills=sum(run.killed for _, run in done), refused=sum(run.rc != 0 for _, run in done))


def products(folder, stem):
    """The files an operation made in folder (scratch files, named with a leading dot, aside)."""
    return {name for name in os.listdir(folder) if name.startswith(stem) and not name.endswith((".csv", "-journal"))}


def file_trial(h, rng, path, failures, op, folder, stem, set_arg=True):
    """Runs op whole and notes the files it makes, removes them, then runs it again killed at a random moment.
    The set must be intact and hold the same books; each file of the killed run is absent or exactly as the
    whole run made it; and the next run clears the scratch files the killed one left."""
    before = h.check(path)[1]
    start = lambda: h.start(path if set_arg else None, op)
    existing = products(folder, stem)
    whole = h.finish(start())
    made = {name: h.check(os.path.join(folder, name)) for name in products(folder, stem) - existing}
    if whole.rc != 0 or not made:
        failures.append(f"{' '.join(map(str, op))} exited {whole.rc}, made {sorted(made)}: {whole.err[-200:]}")
        return collections.Counter(refused=1)
    for name in made:
        os.remove(os.path.join(folder, name))
    run = h.finish(start(), kill_after=rng.uniform(0, whole.seconds))
    broken, final = h.check(path)
    failures += broken
    if final != before:
        failures.append(f"{' '.join(map(str, op))} killed after {run.seconds:.3f} s changed the set's books")
    for name in products(folder, stem) - existing:
        got = h.check(os.path.join(folder, name))
        if name not in made or got[0] or got[1] != made[name][1]:
            failures.append(f"{' '.join(map(str, op))} killed after {run.seconds:.3f} s left {name} incomplete: "
                            f"{got[0][:3]}")
        os.remove(os.path.join(folder, name))
    left = [n for n in os.listdir(folder) if n.startswith(".tz305-" + stem)]  # the killed run's scratch files
    again = h.finish(start())
    stale = [n for n in os.listdir(folder) if n in left]
    if again.rc != 0 or stale:
        failures.append(f"the run after the kill: exit {again.rc}, stale scratch files {stale}: {again.err[-200:]}")
    for name in products(folder, stem) - existing:
        os.remove(os.path.join(folder, name))
    return collections.Counter(kills=int(run.killed))


def kind_backup(h, rng, path, failures):
    folder = path[:-4] + "-backup"
    if h.cli_run(path, ["settings", "backup-path", folder]).rc != 0:
        return give_up("settings backup-path failed")
    os.makedirs(folder, exist_ok=True)
    counts = file_trial(h, rng, path, failures, ["backup"], folder, os.path.basename(path)[:-4])
    shutil.rmtree(folder, ignore_errors=True)
    return counts


def kind_restore(h, rng, path, failures):
    folder = os.path.dirname(path)
    backup = path[:-4] + "2024-03-05.QSBF24"
    shutil.copyfile(path, backup)
    name = "复" + os.path.basename(path)[:-4]
    counts = file_trial(h, rng, path, failures, ["--yes", "restore", "--from", backup, "--as", name, "--dir", folder],
                        folder, name, set_arg=False)
    os.remove(backup)
    return counts


def kind_carry(h, rng, path, failures):
    return file_trial(h, rng, path, failures, ["carry-forward"], os.path.dirname(path),
                      os.path.basename(path)[:-2] + "25")


def kind_compact(h, rng, path, failures):
    """Compacting killed at a random moment: the set keeps its books, whichever file holds them."""
    before = h.check(path)[1]
    whole = h.cli_run(path, ["compact"])
    run = h.cli_run(path, ["compact"], kill_after=rng.uniform(0, whole.seconds))
    broken, final = h.check(path)
    failures += broken
    if whole.rc != 0 or final != before:
        failures.append(f"compact (exit {whole.rc}, then killed after {run.seconds:.3f} s) changed the books")
    folder, stem = os.path.dirname(path), ".tz305-" + os.path.basename(path)
    left = [n for n in os.listdir(folder) if n.startswith(stem)]
    again = h.cli_run(path, ["compact"])
    stale = [n for n in os.listdir(folder) if n in left]
    if again.rc != 0 or stale:
        failures.append(f"the compact after the kill: exit {again.rc}, stale scratch files {stale}")
    return collections.Counter(kills=int(run.killed))


def opens_with(path, key):
    out = subprocess.run(["sqlcipher", "-batch", "-bail", path], capture_output=True, text=True,
                         input=f"PRAGMA key='{key}';\nSELECT count(*) FROM 信息表;\nPRAGMA quick_check;\n")
    return out.returncode == 0 and out.stdout.split()[-1:] == ["ok"]


def kind_passphrase(h, rng, path, failures):
    """A set passphrase set, or removed, killed at a random moment: the set opens with the old key or the new
    one (never neither, never both), holds its books, checks clean, and the program opens it."""
    phrase = path + ".pass"
    with open(phrase, "w", encoding="utf-8") as f:
        f.write(PASSPHRASE + "\n")
    given = ["--set-passphrase-file", phrase]
    before = h.check(path)[1]
    remove = rng.random() < 0.5
    if remove and h.cli_run(path, [*given, "passphrase", "set", "--file", phrase]).rc != 0:
        failures.append("passphrase set (before the removal) failed")
        return collections.Counter(refused=1)
    op = [*given, "passphrase", *(["remove"] if remove else ["set", "--file", phrase])]
    ref = path[:-4] + "-ref.Y24"
    shutil.copyfile(path, ref)
    whole = h.cli_run(ref, op)
    os.remove(ref)
    # The rewrite is the end of a run after start-up and login: half the kills land near it.
    moment = rng.uniform(0, whole.seconds) if rng.random() < 0.5 else rng.uniform(0.6, 1.0) * whole.seconds
    run = h.cli_run(path, op, kill_after=moment)
    keys = [key for key in (KEY, PASSPHRASE) if opens_with(path, key)]
    if len(keys) != 1:
        failures.append(f"passphrase {op[3]} killed after {run.seconds:.3f} s of {whole.seconds:.3f} s: "
                        f"the set opens with {len(keys)} of the two keys")
        return collections.Counter(kills=int(run.killed), refused=int(whole.rc != 0))
    broken, final = h.check(path, keys[0])
    failures += broken
    if final != before:
        failures.append(f"passphrase {op[3]} killed after {run.seconds:.3f} s changed the books")
    checked = h.cli_run(path, [*given, "check"])
    if checked.rc != 0:
        failures.append(f"check after the kill: exit {checked.rc}: {checked.err[-200:]}")
    return collections.Counter(kills=int(run.killed), refused=int(whole.rc != 0))


def whole_output(path):
    """True when the PDF or workbook at path is whole: a PDF ends with its trailer, a workbook's zip reads."""
    if path.endswith(".pdf"):
        with open(path, "rb") as f:
            return f.read().rstrip().endswith(b"%%EOF")
    try:
        with zipfile.ZipFile(path) as book:
            return book.testzip() is None
    except zipfile.BadZipFile:
        return False


def kind_output(h, rng, path, failures):
    """A PDF or a workbook written from the set, killed at a random moment: its name holds nothing or a whole
    file, and the next write of another file into the folder clears the scratch files the killed run left."""
    folder, stem = os.path.dirname(path), os.path.basename(path)[:-4]
    pdf = rng.random() < 0.5
    op = lambda name: (["print", "ledger", "--account", "1002001", "--format", "three", "--pdf", name] if pdf
                       else ["export", "sheet", "--query", "journal", "--month", "全部", "--xlsx", name])
    target = os.path.join(folder, stem + ("-帐页.pdf" if pdf else "-分录.xlsx"))
    whole = h.cli_run(path, op(target))
    if whole.rc != 0 or not whole_output(target):
        failures.append(f"{' '.join(op(target))} exited {whole.rc}: {whole.err[-200:]}")
        return collections.Counter(refused=1)
    os.remove(target)
    run = h.cli_run(path, op(target), kill_after=rng.uniform(0, whole.seconds))
    if os.path.exists(target) and not whole_output(target):
        failures.append(f"{' '.join(op(target))} killed after {run.seconds:.3f} s left it incomplete")
    left = [n for n in os.listdir(folder) if n.startswith(".tz305-" + stem)]
    again = h.cli_run(path, op(target[:-4] + "-2" + target[-4:]))
    stale = [n for n in os.listdir(folder) if n in left]
    if again.rc != 0 or stale:
        failures.append(f"the write after the kill: exit {again.rc}, stale scratch files {stale}: {again.err[-200:]}")
    return collections.Counter(kills=int(run.killed))


TRIALS = {"import": kind_import, "post": kind_post, "close": kind_close, "reopen": kind_reopen,
          "opening": kind_opening, "race": kind_race, "backup": kind_backup, "restore": kind_restore,
          "carry": kind_carry, "compact": kind_compact, "output": kind_output, "passphrase": kind_passphrase}


def build_base(h, directory):
    """A fresh set with opening balances and six months of vouchers, the first two closed."""
    os.makedirs(directory, exist_ok=True)
    made = h.cli_run(None, ["new", "--short", "试验", "--year", YEAR, "--dir", directory])
    path = os.path.join(directory, "试验.Y24")
    write_import(random.Random(YEAR), os.path.join(directory, "base.csv"),
                 [(m, f"期初凭证{m}-{n}") for m in BASE_MONTHS for n in range(8)])
    steps = [["opening", "set", "--code", "1001", "--debit", "50000"],
             ["opening", "set", "--code", "1002001", "--debit", "100000"],
             ["opening", "set", "--code", "3001", "--credit", "150000"], ["opening", "load"],
             ["voucher", "import", os.path.join(directory, "base.csv")],
             *(["close", "--month", m, "--reviewer", "李四"] for m in CLOSED_MONTHS)]
    for step in steps if made.rc == 0 else []:
        run = h.cli_run(path, step)
        if run.rc != 0:
            give_up(f"base set: {' '.join(map(str, step))} exited {run.rc}: {run.err}")
    broken, dump = h.check(path)
    if made.rc != 0 or broken:
        give_up(f"base set is not sound: {made.err} {broken[:5]}")
    for row in parsed(dump):
        if row[COL["号码"]] != "NULL":
            h.numbers[int(row[COL["月"]])] = max(h.numbers.get(int(row[COL["月"]]), 0), int(row[COL["号码"]]))
    return path


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--cli", required=True, help="the tz305-cli binary")
    ap.add_argument("--trials", type=int, default=10, help="trials of each kind")
    ap.add_argument("--kinds", default=",".join(TRIALS), help="comma-separated, of " + ",".join(TRIALS))
    ap.add_argument("--seed", type=int, default=None)
    ap.add_argument("--workdir", help="where the sets go (default: a temporary folder)")
    ap.add_argument("--keep", action="store_true", help="keep the base set and every set that broke an invariant")
    args = ap.parse_args()
    kinds = args.kinds.split(",")
    if set(kinds) - set(TRIALS):
        ap.error(f"unknown kind {sorted(set(kinds) - set(TRIALS))}")
    seed = args.seed if args.seed is not None else random.randrange(10**6)
    workdir = os.path.abspath(args.workdir) if args.workdir else tempfile.mkdtemp(prefix="crashrace-")
    os.makedirs(workdir, exist_ok=True)
    h = Harness(args.cli)
    print(f"crashrace: seed {seed}, {args.trials} trials of each of {','.join(kinds)}, in {workdir}", flush=True)
    base = build_base(h, os.path.join(workdir, f"base-{os.getpid()}"))
    stats = {k: collections.Counter() for k in kinds}
    violations = []
    for i in range(args.trials * len(kinds)):
        kind, trial_seed = kinds[i % len(kinds)], seed + i
        stem = f"{kind}-{trial_seed}"
        path = os.path.join(workdir, stem + ".Y24")
        shutil.copyfile(base, path)
        failures, began = [], time.monotonic()
        counts = TRIALS[kind](h, random.Random(trial_seed), path, failures)
        stats[kind].update(counts, trials=1, violations=len(failures), seconds=time.monotonic() - began)
        for failure in failures:
            violations.append(f"[{kind} seed {trial_seed}] {failure}")
            print("VIOLATION", violations[-1], flush=True)
        if args.keep and failures:
            print(f"kept {path}", flush=True)
        for name in os.listdir(workdir):
            if name.startswith((stem + ".", stem + "-", ".tz305-" + stem)) and not (
                    args.keep and failures and name.endswith(".Y24")):
                os.remove(os.path.join(workdir, name))
    print(f"\n{'kind':8} {'trials':>6} {'kills':>6} {'refused':>7} {'violations':>10} {'s/trial':>8}")
    for kind, s in [*stats.items(), ("total", sum(stats.values(), collections.Counter()))]:
        print(f"{kind:8} {s['trials']:6} {s['kills']:6} {s['refused']:7} {s['violations']:10} "
              f"{s['seconds'] / max(1, s['trials']):8.2f}")
    if not args.keep:
        shutil.rmtree(os.path.dirname(base), ignore_errors=True)
        if not args.workdir:
            shutil.rmtree(workdir, ignore_errors=True)
    return 1 if violations else 0


if __name__ == "__main__":
    sys.exit(main())
