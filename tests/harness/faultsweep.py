#!/usr/bin/env python3
"""I/O fault sweep for the books.

Needs a tz305-cli built with the CMake option TZ305_FAULT_INJECTION=ON: the
environment variable TZ305_FAIL_IO=write:N, sync:N or full:N then fails the
Nth write (an I/O error), the Nth sync or the Nth write with a full disk, over
every file the run writes (the set, its rollback journal, temporary files and
the scratch files of backups, copies, workbooks and PDFs); the program says
"tz305-faults: ... failed" on stderr when it injects one.

For each operation and each kind of fault, N goes from 1 upward, each run on a
fresh copy of a demonstration set, until a run ends before its Nth write or
sync. After every injected fault: the set passes `check`; its books (the
journal, the opening lines and the chart's balances) are exactly those before
the operation or exactly those an undisturbed run leaves; each file the
operation makes is absent or whole under its name; a run that failed exited
non-zero and told the user so in Chinese (every message line in words of
ours, never the undisturbed run's closing message); and the operation run
again without the fault succeeds.

    python3 tests/harness/faultsweep.py --cli build-fi/bin/tz305-cli
        [--ops save,backup,...] [--faults write,sync,full] [--max-n N] [--workdir DIR] [--keep]

Prints per operation and fault the faults injected, the runs that failed,
those that succeeded anyway, and the violations. Exit status 0 without
violations, 1 with, 2 when the program has no fault injection or the base set
cannot be made.
"""
import argparse
import collections
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from crashrace import CHECKS, KEY, LOGIN, PASSPHRASE, whole_output, write_import  # noqa: E402
import random  # noqa: E402

YEAR = 2024
# The books besides the journal: the chart with its opening and running balances.
BOOKS = CHECKS + "SELECT '=科目', * FROM 科目表;\n"
LINES = ["--line", "过帐|1001||100.00||", "--line", "过帐|5001|||100.00|"]
CJK = re.compile(r"[\u4e00-\u9fff]")
NOTE = "tz305-faults:"
# The batch month end commits each set's steps (closing, statements, backup) one by one, so a later
# step's fault leaves the month closed; it tells each set's outcome on stdout and in results.jsonl.
STEPWISE = {"batch"}


def op_table():
    """name -> (arguments with {dir} (the set's folder) and {out}, whether the set is opened, preparation steps)."""
    return {
        "save": (["voucher", "save", "--date", f"{YEAR}-12-20", "--reviewer", "张三", *LINES], True, []),
        "modify": (["voucher", "modify", "--month", "12", "--number", "1", *LINES], True, []),
        "insert": (["voucher", "insert", "--number", "1", "--date", f"{YEAR}-12-01", "--reviewer", "张三", *LINES],
                   True, []),
        "delete": (["voucher", "delete", "--month", "12", "--number", "1"], True, []),
        "import": (["voucher", "import", "{dir}/import.csv"], True, ["import.csv"]),
        "close": (["close", "--month", "12", "--reviewer", "李四"], True, []),
        "reopen": (["reopen", "--month", "11"], True, []),
        "opening": (["opening", "load"], True, [["opening", "set", "--code", "1221", "--debit", "1234.56"],
                                               ["opening", "set", "--code", "2211001", "--credit", "1234.56"]]),
        "revalue": (["revalue", "--month", "12", "--rate", "1002002=7.3", "--against", "5603001",
                     "--reviewer", "李四"], True, []),
        "initialise": (["initialise"], True, ["backup-path"]),
        "backup": (["backup"], True, ["backup-path"]),
        "restore": (["restore", "--from", "{dir}/示例2024-12-05.QSBF24", "--as", "复原", "--dir", "{out}"], False,
                    ["backup-file"]),
        "compact": (["compact"], True, []),
        "carry": (["carry-forward"], True, []),
        "statement": (["statement", "--table", "资产表13", "--month", "12", "--xlsx", "{out}/资产表.xlsx"], True, []),
        "pdf": (["print", "ledger", "--account", "1002001", "--format", "three", "--pdf", "{out}/帐页.pdf"], True, []),
        "journal": (["export-journal", "{out}/日记帐.txt"], True, []),
        "batch": (["--operator", "主管", "--password", "888", "batch", "month-end", "--sets", "{dir}", "--month", "12", "--out", "{out}", "--reviewer", "李四"],
                  False, []),
        "passphrase": (["--set-passphrase-file", "{dir}/phrase.txt", "passphrase", "set", "--file",
                        "{dir}/phrase.txt"], True, ["phrase"]),
    }


class Sweep:
    def __init__(self, cli, workdir):
        self.cli, self.workdir = os.path.abspath(cli), workdir

    def run(self, args, set_path=None, fault=None, stdout=False):
        env = dict(os.environ)
        env.pop("TZ305_FAIL_IO", None)
        if fault:
            env["TZ305_FAIL_IO"] = fault
        argv = [self.cli, *(["--set", set_path, *LOGIN] if set_path else ["--yes"]), *args]
        began = time.monotonic()
        try:
            proc = subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, text=True, env=env, timeout=300)
            rc, err = proc.returncode, proc.stderr + (proc.stdout if stdout else "")
        except subprocess.TimeoutExpired:
            rc, err = -1, "hung for 300 s"
        lines = err.strip().splitlines()
        met = any(line.startswith(NOTE) for line in lines)
        return rc, [line for line in lines if not line.startswith(NOTE)], met, time.monotonic() - began

    def books(self, path):
        """(broken invariants, the books as sorted lines or None) under whichever key opens the set."""
        for key in (KEY, PASSPHRASE):
            out = subprocess.run(["sqlcipher", "-batch", "-bail", "-noheader", "-quote", path], capture_output=True,
                                 text=True, input=f"PRAGMA key='{key}';\n{BOOKS}")
            if out.returncode == 0:
                lines = out.stdout.splitlines()
                broken = [line[2:-1] for line in lines if line.startswith("'!")]
                return broken, sorted(line for line in lines if line.startswith("'="))
        return ["the set opens under neither key"], None


def products(folder):
    """Every file under folder but scratch files, journals and the operation's inputs, by relative path."""
    found = {}
    for root, _, names in os.walk(folder):
        for name in names:
            if name.startswith(".tz305-") or name.endswith(("-journal", ".csv", "phrase.txt")):
                continue
            full = os.path.join(root, name)
            found[os.path.relpath(full, folder)] = full
    return found


def content(sweep, path):
    """What a made file must equal: a set's books, a document's wholeness, otherwise its bytes."""
    if re.search(r"\.(Y\d\d|QSBF\d\d)$", path):
        return sweep.books(path)[1]
    if path.endswith((".xlsx", ".pdf")):
        return whole_output(path)
    if path.endswith(".jsonl"):  # a record of the run, whole when every line reads
        try:
            with open(path, encoding="utf-8") as f:
                return all(json.loads(line) is not None for line in f)
        except ValueError:
            return False
    with open(path, "rb") as f:
        return f.read()


class Case:
    """One operation on fresh copies of the base set: its folder, its set and its output folder."""

    def __init__(self, sweep, base, name, spec):
        self.sweep, self.base, self.name = sweep, base, name
        self.args, self.opens_set, self.prep = spec
        self.stepwise = name in STEPWISE

    def fresh(self, tag):
        folder = os.path.join(self.sweep.workdir, f"{self.name}-{tag}")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(os.path.join(folder, "out"))
        path = os.path.join(folder, "示例.Y24")
        shutil.copyfile(self.base, path)
        for step in self.prep:
            if step == "import.csv":
                write_import(random.Random(7), os.path.join(folder, "import.csv"),
                             [(12, f"导入{n}") for n in range(20)])
            elif step == "backup-path":
                if self.sweep.run(["settings", "backup-path", os.path.join(folder, "out")], path)[0] != 0:
                    raise RuntimeError("settings backup-path failed")
            elif step == "backup-file":
                shutil.copyfile(path, os.path.join(folder, f"示例{YEAR}-12-05.QSBF24"))
                os.remove(path)
            elif step == "phrase":
                with open(os.path.join(folder, "phrase.txt"), "w", encoding="utf-8") as f:
                    f.write(PASSPHRASE + "\n")
            elif self.sweep.run(step, path)[0] != 0:
                raise RuntimeError(f"{' '.join(step)} failed")
        args = [a.replace("{dir}", folder).replace("{out}", os.path.join(folder, "out")) for a in self.args]
        return folder, path, args

    def state(self, folder, path):
        made = products(os.path.join(folder, "out"))
        if not self.opens_set:
            made.update({k: v for k, v in products(folder).items() if not k.startswith("out/") and k != "示例.Y24"})
        else:
            made.update({k: v for k, v in products(folder).items()
                         if os.path.dirname(k) == "" and k != "示例.Y24" and not k.endswith(".QSBF24")})
        return made

    def reference(self):
        """The undisturbed run: its books before and after, its products and its closing message."""
        folder, path, args = self.fresh("ref")
        before = self.sweep.books(path)[1] if os.path.exists(path) else None
        rc, err, met, seconds = self.sweep.run(args, path if self.opens_set else None, stdout=self.stepwise)
        if rc != 0:
            raise RuntimeError(f"the undisturbed run exited {rc}: {err[-3:]}")
        if met:
            raise RuntimeError("a fault was injected without TZ305_FAIL_IO")
        self.before = before
        self.after = self.sweep.books(path)[1] if os.path.exists(path) else None
        self.made = {k: content(self.sweep, v) for k, v in self.state(folder, path).items()}
        self.success = err[-1] if err else None
        self.seconds = seconds
        shutil.rmtree(folder, ignore_errors=True)

    def trial(self, fault, n, keep):
        """Runs the operation with fault:n. Returns (met, failed, violations)."""
        folder, path, args = self.fresh(f"{fault}-{n}")
        set_arg = path if self.opens_set else None
        rc, err, met, _ = self.sweep.run(args, set_arg, f"{fault}:{n}", stdout=self.stepwise)
        if not met:
            shutil.rmtree(folder, ignore_errors=True)
            return False, False, []
        v = []
        if os.path.exists(path):
            broken, books = self.sweep.books(path)
            v += broken
            if books is not None and books not in (self.before, self.after):
                v.append("the books are neither as before nor as after the operation")
            elif rc != 0 and books == self.after and self.after != self.before and not self.stepwise:
                v.append("exited non-zero but the books are as after the operation")
            checked = self.sweep.run(["--set-passphrase-file", os.path.join(folder, "phrase.txt"), "check"]
                                     if "phrase" in self.prep else ["check"], path)
            if checked[0] != 0:
                v.append(f"check exited {checked[0]}: {checked[1][-2:]}")
        for name, full in self.state(folder, path).items():
            if name not in self.made:
                v.append(f"made {name}, which the undisturbed run does not make")
            elif content(self.sweep, full) != self.made[name]:
                v.append(f"{name} stands under its name but is not whole")
        if rc != 0:
            if not err:
                v.append(f"exited {rc} without a word to the user")
            for line in err:  # a message of several lines may hold empty ones
                text = re.sub(r"^\[[^]]*\] ?", "", line)
                if text.strip() and not CJK.search(text):
                    v.append(f"a message without words of ours: {line[:160]}")
            if self.success and self.success in err:
                v.append(f"exited {rc} with the success message: {self.success[:120]}")
        elif err != [] and self.success and err[-1] != self.success:
            v.append(f"exited 0 but ended with {err[-1][:120]}")
        again = self.sweep.run(args, set_arg)
        if again[0] != 0:
            v.append(f"the run without the fault exited {again[0]}: {again[1][-2:]}")
        if v:
            v.append(f"(exit {rc}; told: {' / '.join(err)[:300]})")
        if not (keep and v):
            shutil.rmtree(folder, ignore_errors=True)
        return True, rc != 0, v


def give_up(message):
    print("faultsweep: " + message, file=sys.stderr, flush=True)
    sys.exit(2)


def build_base(sweep, folder):
    shutil.rmtree(folder, ignore_errors=True)  # a set of an earlier run in the same work folder
    os.makedirs(folder)
    rc, err, met, _ = sweep.run(["demo", "--dir", folder, "--year", str(YEAR), "--vouchers-per-month", "4",
                                 "--seed", "1"])
    path = os.path.join(folder, "示例.Y24")
    if rc != 0 or not os.path.exists(path):
        give_up(f"the demonstration set: exit {rc}: {err[-2:]}")
    probe = os.path.join(folder, "probe.Y24")
    shutil.copyfile(path, probe)
    if not sweep.run(["phrase", "add", "探测"], probe, "write:1")[2]:
        give_up(f"{sweep.cli} injects no faults: build it with -DTZ305_FAULT_INJECTION=ON")
    return path


def main():
    ops = list(op_table())
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--cli", required=True, help="tz305-cli built with TZ305_FAULT_INJECTION=ON")
    ap.add_argument("--ops", default=",".join(ops), help="comma-separated, of " + ",".join(ops))
    ap.add_argument("--faults", default="write,sync,full")
    ap.add_argument("--max-n", type=int, default=10**6, help="sweep N no further than this")
    ap.add_argument("--workdir", help="where the sets go (default: a temporary folder)")
    ap.add_argument("--keep", action="store_true", help="keep the folders of runs that broke a rule")
    args = ap.parse_args()
    chosen, faults = args.ops.split(","), args.faults.split(",")
    if set(chosen) - set(ops) or set(faults) - {"write", "sync", "full"}:
        ap.error("unknown operation or fault")
    workdir = os.path.abspath(args.workdir) if args.workdir else tempfile.mkdtemp(prefix="faultsweep-")
    os.environ.setdefault("TZ305_DATA_DIR", os.path.join(workdir, "data"))
    sweep = Sweep(args.cli, workdir)
    base = build_base(sweep, os.path.join(workdir, "base"))
    print(f"faultsweep: {','.join(chosen)} under {','.join(faults)}, in {workdir}", flush=True)
    stats, violations = collections.defaultdict(collections.Counter), []
    table = op_table()
    for name in chosen:
        case = Case(sweep, base, name, table[name])
        try:
            case.reference()
        except RuntimeError as error:
            violations.append(f"[{name}] {error}")
            print("VIOLATION", violations[-1], flush=True)
            continue
        for fault in faults:
            began = time.monotonic()
            for n in range(1, args.max_n + 1):
                met, failed, v = case.trial(fault, n, args.keep)
                if not met:
                    break
                stats[(name, fault)].update(injected=1, failed=int(failed), absorbed=int(not failed),
                                            violations=len(v) and 1)
                for text in v:
                    violations.append(f"[{name} {fault}:{n}] {text}")
                    print("VIOLATION", violations[-1], flush=True)
            stats[(name, fault)]["seconds"] += time.monotonic() - began
            s = stats[(name, fault)]
            print(f"{name:10} {fault:5} injected {s['injected']:4} failed {s['failed']:4} absorbed {s['absorbed']:4} "
                  f"violations {s['violations']:3} {s['seconds']:6.1f} s", flush=True)
    total = sum(stats.values(), collections.Counter())
    print(f"\ntotal: {len(chosen)} operations, {total['injected']} faults injected, {total['failed']} runs failed, "
          f"{total['absorbed']} absorbed, {total['violations']} runs with violations, {total['seconds']:.0f} s")
    if not args.keep and not args.workdir:
        shutil.rmtree(workdir, ignore_errors=True)
    return 1 if violations else 0


if __name__ == "__main__":
    sys.exit(main())
