#!/usr/bin/env python3
"""Mutation testing for ORVE-Tarifo: how many small faults does the test suite catch?

Usage (from anywhere in the checkout; lowers its own priority by 10):

    tools/mutation/mutate.py [--count 150] [--seed 2026] [--max-minutes M]
    tools/mutation/mutate.py --list      # only show the sampled mutants

It prints the score and writes build-mutation/report.txt: the score per folder
and per rule, the surviving mutants (file:line, rule, line before -> after),
the ones that did not compile and the killed ones with the test that caught
them. `--help` lists the other options.

The working tree is never touched. The script copies the checkout's tracked
and untracked (not ignored) files into build-mutation/tree, brings that copy
in step with the checkout at every start (rewriting only changed files), and
builds it in build-mutation/build, configured once with ccache, Ninja and lld,
without optimisation or debug information and with the Qt and SQLiteCpp
headers precompiled (pch.cmake, for this build only), so that a mutated file
rebuilds in seconds. Each mutant is written into the copy, the test program(s)
of its folder are rebuilt and run, and the copy's file is restored in a
`finally`, also on Ctrl+C or SIGTERM; builds and tests run in process groups
of their own that are killed as a whole, so nothing built from a mutant
outlives it. A run killed hard leaves at most the copy changed; the next start
puts it right and re-stamps the file so that it is rebuilt.

Mutants are drawn from the .cpp files of src/<folder> (headers hold only
accessors and are left out). Rules:
    cmp-flip     == <-> !=, < <-> >, <= <-> >=
    off-by-one   < <-> <=, > <-> >=
    negate-cond  if (c) / while (c) -> if (!(c)), a leading ! dropped, && <-> ||
    remove-stmt  a one-line call, assignment, ++/--, break or continue -> ;
    swap-args    f(a, b) -> f(b, a) with two plain arguments; a - b, a / b swapped
    constant     0 -> 1, 1 -> 0, n -> n + 1, x.y -> (x+1).y, true <-> false
Comments, string and character literals, preprocessor lines and `case` labels
are never mutated, nor widget sizes in pixels (setMinimumWidth, resize, ...)
and array sizes; `<` and `>` count as comparisons only with blanks on both
sides (templates are written without them); negating a lone `==`/`!=` or a
condition that starts with `!` is left to cmp-flip and the dropped `!`. Swapped
arguments of different types do not compile; they are counted as such.

The sample is the <count> candidates with the smallest SHA-256 of
(seed, folder, rule, the line before and after the change): a uniform random
sample that the same seed and count reproduce, and that keeps a mutant as long
as its line reads the same, wherever the line moves or whatever the file is
renamed to, so a run before and after a clean-up largely draws the same mutants.

Test programs: src/<folder> -> tests/<folder> (target test_<folder>). The files
of src/common are used by every subsystem, so a common mutant that test_common
does not catch is tried against test_calls, test_costing, test_tariffs,
test_report, test_tariffcheck and test_batch in turn; it counts as caught if
any of them fails. Likewise a src/report or src/tariffcheck mutant is tried
against test_batch and test_mainwindow, whose tests run the report run and
the import of tariff files end to end, and a src/tariffs one against
test_batch (the tariff files and their backups).

A mutant is
    killed         the test program failed (a test failed, crashed, or ran
                   past the time limit: 4 x its clean run time + 20 s),
    survived       every test program passed,
    not compiling  the build failed; such mutants are left out of the score.
Score = killed / (total - not compiling).

Mutants run in sample order, so a run cut short (Ctrl+C, --max-minutes) has
measured the complete sample of a smaller --count. Results are journalled in
build-mutation/results.jsonl, keyed by a hash of src/, tests/, app/ and the
CMake files; started again on the same code, a run continues where it stopped
(--fresh starts over).

--compare <earlier report> lists the mutants the earlier report shows killed
that survive now (matched by file and line text, or by folder and line text
for a renamed file): after a change to the tests, that list must be empty.

Cost on the 2-core machine: the first build of the five test programs takes
about 10 minutes; then a mutant takes 2 to 15 s, 150 mutants about 15 minutes.
"""

from __future__ import annotations

import argparse
import bisect
import fcntl
import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

FOLDERS = ["common", "calls", "tariffs", "costing", "report", "tariffcheck", "batch"]
COMMON_FALLBACK = ["test_calls", "test_costing", "test_tariffs", "test_report", "test_tariffcheck", "test_batch"]
# The report run and the import of tariff files are shared by the batch command
# and the main window: their tests run them end to end (both folders sit above
# report and tariffcheck).
FALLBACK = {"common": COMMON_FALLBACK, "report": ["test_batch", "test_mainwindow"],
            "tariffcheck": ["test_batch", "test_mainwindow"], "tariffs": ["test_batch"]}

KEYWORDS_NOT_STATEMENTS = {
    "return", "throw", "delete", "goto", "case", "default", "else", "do", "co_return",
    "co_await", "co_yield", "new", "using", "typedef", "template", "namespace", "static",
    "const", "constexpr", "auto", "if", "for", "while", "switch", "try", "catch",
}
COMMUTATIVE_CALLS = {"min", "max", "qMin", "qMax", "std::min", "std::max", "qSwap", "std::swap",
                     "swap", "qFuzzyCompare", "hypot", "std::hypot"}


# --------------------------------------------------------------------------- lexing

def code_mask(text: str) -> str:
    """Returns `text` with comments blanked and literals/preprocessor lines replaced by
    \\x01 (newlines kept), so that rules see code only and offsets stay the same."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True

    def blank(a: int, b: int, ch: str) -> None:
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = ch

    while i < n:
        c = text[i]
        if c == "\n":
            line_start = True
            i += 1
            continue
        if line_start and c in " \t":
            i += 1
            continue
        if line_start and c == "#":
            j = i
            while j < n:  # preprocessor line with continuations
                if text[j] == "\n" and text[j - 1] != "\\":
                    break
                j += 1
            blank(i, j, "\x01")
            i = j
            continue
        line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j, " ")
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j, " ")
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            k = text.find("(", i + 2)
            delim = text[i + 2:k]
            j = text.find(")" + delim + '"', k)
            j = n if j < 0 else j + len(delim) + 2
            blank(i, j, "\x01")
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum())):
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            blank(i, j, "\x01")
            i = j
        else:
            i += 1
    return "".join(out)


# --------------------------------------------------------------------------- mutants

@dataclass
class Mutant:
    file: str          # relative to the checkout, e.g. src/calls/StartZeit.cpp
    start: int         # offset of the replaced text
    end: int
    replacement: str
    rule: str
    line: int = 0
    before: str = ""   # the whole line, before and after
    after: str = ""

    @property
    def key(self) -> str:
        return f"{self.file}:{self.start}:{self.end}:{self.rule}:{self.replacement}"

    @property
    def folder(self) -> str:
        return self.file.split("/")[1]


IDENT = r"[A-Za-z_]\w*"
CHAIN = rf"{IDENT}(?:(?:\.|->|::){IDENT})*"
SIMPLE = rf"(?:{CHAIN}(?:\(\))?|\d+(?:\.\d+)?)"  # plain argument: a name, member, getter or number
CMP_RE = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
LOGIC_RE = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
NOT_RE = re.compile(r"(?<=[\s(])!(?=[^=])")
IF_RE = re.compile(r"\b(if|while)\s*\(")
NUM_RE = re.compile(r"(?<![\w.'])(\d+\.\d+|\d+(?:'\d+)*)([uUlLfF]*)(?![\w.'])")
BOOL_RE = re.compile(r"\b(true|false)\b")
CALL2_RE = re.compile(rf"({CHAIN})\(\s*({SIMPLE})\s*,\s*({SIMPLE})\s*\)")
BINOP_RE = re.compile(rf"(?<![\w.)\]>*/%+-])\s*({SIMPLE})\s+([-/])\s+({SIMPLE})(?![\w.(\[<])")
CALL_STMT_RE = re.compile(rf"^\s*({CHAIN})\s*\(.*\)\s*;\s*$")
CHAINED_CALL_STMT_RE = re.compile(rf"^\s*({CHAIN})(?:\(.*\))?(?:\.|->){IDENT}\(.*\)\s*;\s*$")
ASSIGN_STMT_RE = re.compile(rf"^\s*\*?({CHAIN})(?:\[[^\]]*\])?\s*(?:=|\+=|-=|\*=|/=|\|=|&=)\s*[^=].*;\s*$")
INCDEC_STMT_RE = re.compile(rf"^\s*(?:(?:\+\+|--){CHAIN}|{CHAIN}(?:\+\+|--))\s*;\s*$")
COSMETIC_RE = re.compile(r"\b(set(Minimum|Maximum|Fixed)(Width|Height|Size)|resize|addSpacing|setSpacing"
                         r"|setContentsMargins|addStretch)\s*\(")
ARRAY_DECL_RE = re.compile(r"^\s*(?:(?:static|const|constexpr)\s+)*[\w:<>]+\s+\w+\[(\d+)\]")
JUMP_STMT_RE = re.compile(r"^\s*(break|continue)\s*;\s*$")

CMP_FLIP = {"==": "!=", "!=": "==", "<": ">", ">": "<", "<=": ">=", ">=": "<="}
OFF_BY_ONE = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}


def balanced(s: str) -> bool:
    depth = 0
    for ch in s:
        if ch in "([{":
            depth += 1
        elif ch in ")]}":
            depth -= 1
            if depth < 0:
                return False
    return depth == 0


def matching_paren(m: str, open_pos: int) -> int:
    depth = 0
    for k in range(open_pos, len(m)):
        if m[k] == "(":
            depth += 1
        elif m[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def bumped(num: str) -> str:
    if "." in num:
        whole, frac = num.split(".")
        return f"{int(whole) + 1}.{frac}"
    v = int(num.replace("'", ""))
    return "1" if v == 0 else "0" if v == 1 else str(v + 1)


def candidates(rel: str, text: str) -> list[Mutant]:
    m = code_mask(text)
    found: list[Mutant] = []

    def add(a: int, b: int, repl: str, rule: str) -> None:
        found.append(Mutant(rel, a, b, repl, rule))

    lines = m.split("\n")
    offs = [0]
    for ln in lines[:-1]:
        offs.append(offs[-1] + len(ln) + 1)
    prev_code = ""
    for idx, ln in enumerate(lines):
        base = offs[idx]
        stripped = ln.strip()
        if not stripped or "\x01" == stripped[:1]:
            continue
        is_case = re.match(r"\s*(case\b|default\s*:)", ln) is not None
        is_assert = "static_assert" in ln
        # widget sizes in pixels and array sizes: changing them by one changes nothing a user relies on
        cosmetic = COSMETIC_RE.search(ln) is not None
        array_size = ARRAY_DECL_RE.match(ln)
        # comparisons
        for mt in CMP_RE.finditer(ln):
            op = mt.group(1)
            add(base + mt.start(), base + mt.end(), CMP_FLIP[op], "cmp-flip")
            if op in OFF_BY_ONE:
                add(base + mt.start(), base + mt.end(), OFF_BY_ONE[op], "off-by-one")
        # && / || and a dropped !
        for mt in LOGIC_RE.finditer(ln):
            add(base + mt.start(), base + mt.end(), "||" if mt.group(1) == "&&" else "&&", "negate-cond")
        for mt in NOT_RE.finditer(ln):
            add(base + mt.start(), base + mt.end(), "", "negate-cond")
        # constants
        if not is_case and not is_assert and not cosmetic:
            for mt in NUM_RE.finditer(ln):
                if "\x01" in ln[max(0, mt.start() - 1):mt.end() + 1]:
                    continue
                if array_size and mt.start(1) >= array_size.start(1) and mt.end(1) <= array_size.end(1):
                    continue
                add(base + mt.start(1), base + mt.end(1), bumped(mt.group(1)), "constant")
            for mt in BOOL_RE.finditer(ln):
                add(base + mt.start(), base + mt.end(), "false" if mt.group(1) == "true" else "true", "constant")
        # swapped arguments and operands
        for mt in CALL2_RE.finditer(ln):
            name, a, b = mt.group(1), mt.group(2), mt.group(3)
            if a == b or name in COMMUTATIVE_CALLS or name.split("::")[-1] in COMMUTATIVE_CALLS:
                continue
            if name in KEYWORDS_NOT_STATEMENTS:
                continue
            s = base + mt.start(2)
            e = base + mt.end(3)
            add(s, e, f"{text[base + mt.start(3):base + mt.end(3)]}, {text[base + mt.start(2):base + mt.end(2)]}",
                "swap-args")
        for mt in BINOP_RE.finditer(ln):
            a, op, b = mt.group(1), mt.group(2), mt.group(3)
            if a == b or re.fullmatch(r"\d+(\.\d+)?", a) and re.fullmatch(r"\d+(\.\d+)?", b):
                continue
            if re.search(r"\bsizeof\s*$", ln[:mt.start(1)]):
                continue
            add(base + mt.start(1), base + mt.end(3), f"{b} {op} {a}", "swap-args")
        # removed statements: one complete statement on its own line
        prev_end = prev_code.rstrip()
        starts_statement = (prev_end == "" or prev_end[-1] in ";{}):" or prev_end.endswith("else"))
        first = re.match(rf"\s*\*?({IDENT})", ln)
        if starts_statement and balanced(ln) and not is_case:
            stmt = (
                JUMP_STMT_RE.match(ln)
                or INCDEC_STMT_RE.match(ln)
                or (first and first.group(1) not in KEYWORDS_NOT_STATEMENTS and (
                    CALL_STMT_RE.match(ln) or CHAINED_CALL_STMT_RE.match(ln) or ASSIGN_STMT_RE.match(ln)))
            )
            if stmt:
                lead = len(ln) - len(ln.lstrip())
                add(base + lead, base + len(ln.rstrip()), ";", "remove-stmt")
        prev_code = ln if stripped.strip("\x01") else prev_code
    # negated if/while conditions (may span lines)
    for mt in IF_RE.finditer(m):
        if re.match(r"\s*constexpr", m[mt.end():]):
            continue
        op = mt.end() - 1
        cl = matching_paren(m, op)
        if cl < 0:
            continue
        cond = text[op + 1:cl]
        if ";" in m[op + 1:cl]:
            continue
        mc = m[op + 1:cl].strip()
        if not re.search(r"&&|\|\||\?", mc):
            if mc.startswith("!"):
                continue  # the same as dropping the !
            if [o.group(1) for o in CMP_RE.finditer(mc)] in (["=="], ["!="]):
                continue  # the same as cmp-flip
        add(op + 1, cl, f"!({cond})", "negate-cond")

    # fill in line numbers and before/after lines
    line_starts = [0]
    for k, ch in enumerate(text):
        if ch == "\n":
            line_starts.append(k + 1)
    for mu in found:
        li = bisect.bisect_right(line_starts, mu.start) - 1
        mu.line = li + 1
        ls = line_starts[li]
        le = text.find("\n", mu.end)
        le = len(text) if le < 0 else le
        # for multi-line conditions, show the first line only
        first_end = text.find("\n", mu.start)
        first_end = len(text) if first_end < 0 else first_end
        mu.before = text[ls:le].strip()
        mutated = text[:mu.start] + mu.replacement + text[mu.end:]
        after_end = le + len(mu.replacement) - (mu.end - mu.start)
        mu.after = mutated[ls:after_end].strip()
        if first_end < le:
            mu.before = " ".join(mu.before.split())
            mu.after = " ".join(mu.after.split())
    found.sort(key=lambda x: (x.start, x.end, x.rule, x.replacement))
    # drop exact duplicates (same change found by two rules)
    seen: set[tuple[int, int, str]] = set()
    unique = []
    for mu in found:
        k = (mu.start, mu.end, mu.replacement)
        if k not in seen:
            seen.add(k)
            unique.append(mu)
    return unique


def all_candidates(root: Path, folders: list[str]) -> dict[str, list[Mutant]]:
    per_folder: dict[str, list[Mutant]] = {}
    for f in folders:
        lst: list[Mutant] = []
        for p in sorted((root / "src" / f).glob("*.cpp")):
            rel = p.relative_to(root).as_posix()
            lst.extend(candidates(rel, p.read_text(encoding="utf-8")))
        per_folder[f] = lst
    return per_folder


def sample(per_folder: dict[str, list[Mutant]], count: int, seed: int) -> list[Mutant]:
    """The `count` candidates with the smallest seeded hash. The hash covers the folder, the rule
    and the changed line's text (not the file name or line number), so a mutant stays in the
    sample while its line reads the same, however the code around it is edited or renamed."""
    ranked = []
    seen: dict[tuple, int] = {}
    for f, lst in per_folder.items():
        for mu in lst:
            ident = (f, mu.rule, " ".join(mu.before.split()), " ".join(mu.after.split()))
            nth = seen.get(ident, 0)
            seen[ident] = nth + 1
            h = hashlib.sha256("\0".join((str(seed), *ident, str(nth))).encode()).hexdigest()
            ranked.append((h, mu))
    ranked.sort(key=lambda x: x[0])
    # kept in rank order: the first k mutants are the sample of --count k, so a run cut short
    # has still measured a complete, smaller sample
    return [mu for _, mu in ranked[:count]]


# --------------------------------------------------------------------------- tree copy and build

def checkout_files(root: Path) -> list[str]:
    out = subprocess.run(["git", "-C", str(root), "ls-files", "-co", "--exclude-standard", "-z"],
                         check=True, capture_output=True).stdout.decode()
    return sorted(p for p in out.split("\0") if p and not p.startswith("tools/mutation/")
                  and (root / p).is_file())


def sync_tree(root: Path, tree: Path) -> None:
    """Makes `tree` an exact copy of the checkout's files; rewrites only what differs."""
    files = checkout_files(root)
    wanted = set(files)
    for rel in files:
        src, dst = root / rel, tree / rel
        data = src.read_bytes()
        if dst.is_file() and dst.read_bytes() == data:
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        dst.write_bytes(data)
        shutil.copymode(src, dst)
    if tree.exists():
        for p in sorted(tree.rglob("*"), reverse=True):
            rel = p.relative_to(tree).as_posix()
            if p.is_file() and rel not in wanted:
                p.unlink()
            elif p.is_dir() and not any(p.iterdir()):
                p.rmdir()


def tree_hash(tree: Path) -> str:
    h = hashlib.sha256()
    for p in sorted(tree.rglob("*")):
        rel = p.relative_to(tree).as_posix()
        if p.is_file() and (rel.split("/")[0] in ("src", "tests", "app") or p.name == "CMakeLists.txt"):
            h.update(rel.encode() + b"\0" + p.read_bytes() + b"\0")
    return h.hexdigest()[:16]


def configure(tree: Path, build: Path, log) -> None:
    if (build / "CMakeCache.txt").exists():
        return
    env = build_env()
    cmd = ["cmake", "-S", str(tree), "-B", str(build),
           "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
           # neither optimised nor with debug info: each mutant compiles and links faster
           "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O0 -DNDEBUG",
           "-DORVE_BUILD_TESTS=ON", "-DORVE_BUILD_BENCH=OFF"]
    if shutil.which("ccache"):
        cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    # precompiled Qt and SQLiteCpp headers for this build only
    cmd.append(f"-DCMAKE_PROJECT_INCLUDE={Path(__file__).resolve().parent / 'pch.cmake'}")
    if shutil.which("ld.lld"):
        cmd.append("-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld")
    if shutil.which("ninja"):
        cmd += ["-G", "Ninja"]
    log(f"configuring {build}")
    subprocess.run(cmd, check=True, env=env, stdout=subprocess.DEVNULL)


def build_env() -> dict[str, str]:
    return dict(os.environ, CCACHE_BASEDIR=os.environ.get("CCACHE_BASEDIR", "/work"),
                # lets ccache cache sources compiled with the precompiled header
                CCACHE_SLOPPINESS="pch_defines,time_macros,include_file_mtime,include_file_ctime")


def build_targets(build: Path, targets: list[str], jobs: int, timeout: float,
                  marker: Path | None = None) -> tuple[bool, str]:
    """Builds in a process group of its own, killed as a whole on a time-out or an interruption:
    no compiler may outlive the restored source and leave a mutant's object newer than it."""
    env = build_env()
    cmd = ["cmake", "--build", str(build), "--parallel", str(jobs), "--target", *targets]
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            stdin=subprocess.DEVNULL, text=True, errors="replace", start_new_session=True)
    if marker is not None:  # lets a later run wait for this build should the script be killed hard
        with marker.open("a", encoding="utf-8") as m:
            m.write(f"{proc.pid}\n")
    try:
        out, _ = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        kill_group(proc)
        return False, "build timed out"
    finally:
        if proc.poll() is None:
            kill_group(proc)
    return proc.returncode == 0, out[-8000:]


def test_binary(build: Path, target: str) -> Path:
    return build / "tests" / target.removeprefix("test_") / target


def run_test(build: Path, target: str, timeout: float) -> tuple[str, float, str]:
    """Runs one test program; returns (passed|failed|timeout|crash, seconds, first failing test)."""
    exe = test_binary(build, target)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    t0 = time.monotonic()
    proc = subprocess.Popen([str(exe), "--gtest_fail_fast", "--gtest_brief=1"], cwd=exe.parent, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                            text=True, errors="replace", start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        kill_group(proc)
        return "timeout", time.monotonic() - t0, ""
    finally:
        if proc.poll() is None:
            kill_group(proc)
    secs = time.monotonic() - t0
    failed = re.findall(r"^\[  FAILED  \] (\S+)", out, re.M)
    first = failed[0].rstrip(",") if failed else ""
    if proc.returncode == 0:
        return "passed", secs, ""
    if proc.returncode < 0:
        return "crash", secs, first or f"signal {-proc.returncode}"
    return "failed", secs, first or f"exit code {proc.returncode}"


def group_alive(pgid: int) -> bool:
    try:
        os.killpg(pgid, 0)
        return True
    except (ProcessLookupError, PermissionError):
        return False


def kill_group(proc: subprocess.Popen) -> None:
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    proc.wait()


def targets_for(mu: Mutant) -> list[str]:
    own = f"test_{mu.folder}"
    return [own] + FALLBACK.get(mu.folder, [])


# --------------------------------------------------------------------------- the run

@dataclass
class Result:
    status: str                 # killed | survived | not-compiling
    how: str = ""               # failing test, timeout, crash, build message
    by: str = ""                # test program that killed it
    seconds: float = 0.0


def run_mutant(mu: Mutant, tree: Path, build: Path, original: str, timeouts: dict[str, float],
               jobs: int, marker: Path) -> Result:
    t0 = time.monotonic()
    path = tree / mu.file
    mutated = original[:mu.start] + mu.replacement + original[mu.end:]
    try:
        marker.write_text(mu.file + "\n", encoding="utf-8")
        path.write_text(mutated, encoding="utf-8")
        for target in targets_for(mu):
            ok, out = build_targets(build, [target], jobs, timeout=1200, marker=marker)
            if not ok:
                err = re.findall(r"error: (.*)", out)
                tail = out.strip().splitlines()
                why = err[0] if err else (tail[-1] if tail else "")
                return Result("not-compiling", why.strip()[:160], "", time.monotonic() - t0)
            status, _, first = run_test(build, target, timeouts[target])
            if status != "passed":
                how = first if status == "failed" else status + (f" ({first})" if first else "")
                return Result("killed", how, target, time.monotonic() - t0)
        return Result("survived", "", "", time.monotonic() - t0)
    finally:
        path.write_text(original, encoding="utf-8")
        marker.unlink(missing_ok=True)


def main() -> int:
    here = Path(__file__).resolve()
    default_root = here.parents[2]
    ap = argparse.ArgumentParser(description="Mutation testing of ORVE-Tarifo's logic folders.")
    ap.add_argument("--count", type=int, default=150, help="number of mutants in the sample (default 150)")
    ap.add_argument("--seed", type=int, default=2026, help="seed of the sample (default 2026)")
    ap.add_argument("--folders", default=",".join(FOLDERS), help="source folders to mutate")
    ap.add_argument("--root", type=Path, default=default_root, help="the checkout (default: this one)")
    ap.add_argument("--work", type=Path, help="working folder (default <root>/build-mutation)")
    ap.add_argument("--report", type=Path, help="report file (default <work>/report.txt)")
    ap.add_argument("--jobs", type=int, default=2, help="parallel build jobs (default 2)")
    ap.add_argument("--nice", type=int, default=10, help="lower the priority by this much (default 10)")
    ap.add_argument("--timeout-factor", type=float, default=4.0,
                    help="test time limit = factor x clean run time + 20 s (default 4)")
    ap.add_argument("--max-minutes", type=float, default=0,
                    help="stop starting mutants after this many minutes (results are kept; run again to go on)")
    ap.add_argument("--compare", type=Path,
                    help="an earlier report: list the mutants it shows killed that survive now")
    ap.add_argument("--list", action="store_true", help="only list the sampled mutants")
    ap.add_argument("--fresh", action="store_true", help="ignore results journalled by an earlier run")
    args = ap.parse_args()

    root = args.root.resolve()
    work = (args.work or root / "build-mutation").resolve()
    tree, build = work / "tree", work / "build"
    report_path = (args.report or work / "report.txt").resolve()
    folders = [f.strip() for f in args.folders.split(",") if f.strip()]
    for f in folders:
        if not (root / "src" / f).is_dir():
            ap.error(f"no folder src/{f}")

    if args.nice:
        os.nice(args.nice)

    def log(msg: str) -> None:
        print(f"[{time.strftime('%H:%M:%S')}] {msg}", flush=True)

    def on_term(signum, frame):
        raise KeyboardInterrupt
    signal.signal(signal.SIGTERM, on_term)
    if signal.getsignal(signal.SIGHUP) != signal.SIG_IGN:  # not under nohup
        signal.signal(signal.SIGHUP, on_term)

    per_folder = all_candidates(root, folders)
    chosen = sample(per_folder, args.count, args.seed)
    if args.list:
        for mu in sorted(chosen, key=lambda mu: (mu.file, mu.start, mu.rule)):
            print(f"{mu.file}:{mu.line}  {mu.rule:12} {mu.before}  →  {mu.after}")
        print(f"{len(chosen)} of {sum(len(v) for v in per_folder.values())} candidates, seed {args.seed}")
        return 0

    work.mkdir(parents=True, exist_ok=True)
    lock = (work / "lock").open("w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        log(f"another run is using {work}; wait for it or pass --work")
        return 2
    log(f"copying the checkout to {tree}")
    sync_tree(root, tree)
    marker = work / "mutant-in-place"
    if marker.exists():
        # an earlier run was killed hard while a mutant was built: the sync restored the text;
        # a fresh time stamp makes sure no object built from the mutant is taken as current
        lines = marker.read_text(encoding="utf-8").split()
        for pgid in (int(x) for x in lines[1:]):
            waited = 0
            while waited < 300 and group_alive(pgid):  # a build orphaned by the hard kill
                if waited == 0:
                    log(f"waiting for the build left running by the killed run (process group {pgid})")
                time.sleep(1)
                waited += 1
        stale = tree / lines[0] if lines else None
        if stale and stale.is_file():
            stale.touch()
        marker.unlink()
    configure(tree, build, log)
    code_hash = tree_hash(tree)
    # the mutants' offsets refer to the copy (identical to the checkout after the sync)
    per_folder = all_candidates(tree, folders)
    chosen = sample(per_folder, args.count, args.seed)

    journal = work / "results.jsonl"
    done: dict[str, Result] = {}
    if journal.exists() and not args.fresh:
        for line in journal.read_text(encoding="utf-8").splitlines():
            try:
                e = json.loads(line)
            except json.JSONDecodeError:
                continue
            if e.get("code") == code_hash:
                done[e["key"]] = Result(e["status"], e.get("how", ""), e.get("by", ""), e.get("seconds", 0.0))

    needed = sorted({t for mu in chosen for t in targets_for(mu)})
    log(f"building the clean test programs: {' '.join(needed)}")
    ok, out = build_targets(build, needed, args.jobs, timeout=7200)
    if not ok:
        print(out, file=sys.stderr)
        log("the clean code does not build; stopping")
        return 2
    timeouts: dict[str, float] = {}
    for t in needed:
        status, secs, first = run_test(build, t, timeout=1800)
        if status != "passed":
            log(f"{t} fails without any mutant ({status} {first}); fix the suite first")
            return 2
        timeouts[t] = args.timeout_factor * secs + 20
        log(f"{t}: clean run {secs:.1f} s, limit {timeouts[t]:.0f} s")

    results: dict[str, Result] = {}
    t_start = time.monotonic()
    deadline = t_start + 60 * args.max_minutes if args.max_minutes else None
    ran = 0
    stopped = ""
    originals: dict[str, str] = {}
    try:
        with journal.open("a", encoding="utf-8") as jf:
            for i, mu in enumerate(chosen, 1):
                if mu.key in done:
                    results[mu.key] = done[mu.key]
                    continue
                original = originals.setdefault(mu.file, (tree / mu.file).read_text(encoding="utf-8"))
                if deadline and time.monotonic() > deadline:
                    log(f"time budget of {args.max_minutes:g} min used up; run again to continue")
                    stopped = "stopped after the time budget"
                    break
                r = run_mutant(mu, tree, build, original, timeouts, args.jobs, marker)
                results[mu.key] = r
                ran += 1
                jf.write(json.dumps({"code": code_hash, "key": mu.key, "status": r.status, "how": r.how,
                                     "by": r.by, "seconds": round(r.seconds, 1)}) + "\n")
                jf.flush()
                log(f"{i}/{len(chosen)} {r.status:13} {mu.file}:{mu.line} {mu.rule} ({r.seconds:.0f} s)"
                    + (f" — {r.by}: {r.how}" if r.status == "killed" else ""))
    except KeyboardInterrupt:
        stopped = "interrupted"
        log("interrupted; the copy's source file was restored")
    elapsed = time.monotonic() - t_start

    summary = write_report(report_path, root, args, chosen, per_folder, results, ran, elapsed, stopped, code_hash)
    print(summary, flush=True)
    log(f"report with the surviving mutants: {report_path}")
    return 130 if stopped == "interrupted" else 0


def git_describe(root: Path) -> str:
    try:
        rev = subprocess.run(["git", "-C", str(root), "rev-parse", "--short", "HEAD"], capture_output=True,
                             text=True, check=True).stdout.strip()
        dirty = subprocess.run(["git", "-C", str(root), "status", "--porcelain", "--", "src", "tests", "app"],
                               capture_output=True, text=True).stdout.strip()
        return rev + (" with uncommitted changes" if dirty else "")
    except (subprocess.CalledProcessError, FileNotFoundError):
        return "unknown"


def identity(file: str, rule: str, before: str, after: str) -> tuple[str, str, str, str]:
    return (file, rule, " ".join(before.split()), " ".join(after.split()))


def killed_in_report(path: Path) -> dict[tuple[str, str, str, str], str]:
    """The killed mutants listed in an earlier report, by file, rule and line text, with what killed them."""
    killed: dict[tuple[str, str, str, str], str] = {}
    section = ""
    line_re = re.compile(r"^  (src/\S+):\d+  (\S+)  (.*?)  →  (.*?)   \[(.*)\]$")
    for line in path.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith(" "):
            section = line
            continue
        mt = line_re.match(line)
        if section.startswith("Killed (") and mt:
            file, rule, before, after, by = mt.groups()
            killed[identity(file, rule, before, after)] = by
    return killed


def earlier_kill(m: Mutant, earlier: dict[tuple[str, str, str, str], str], files_now: set[str]) -> str | None:
    """What killed `m` in the earlier report: matched by file and line text, or, for a file
    renamed since, by folder and line text where that is unambiguous."""
    own = identity(m.file, m.rule, m.before, m.after)
    if own in earlier:
        return earlier[own]
    folder = f"src/{m.folder}/"
    hits = [by for (f, r, b, a), by in earlier.items()
            if f.startswith(folder) and f not in files_now and (r, b, a) == own[1:]]
    return hits[0] if len(hits) == 1 else None


def write_report(path: Path, root: Path, args, chosen: list[Mutant], per_folder, results: dict[str, Result],
                 ran: int, elapsed: float, stopped: str, code_hash: str) -> str:
    """Writes the report file; returns its head (sample, score, counts) for the terminal."""
    def counts(mus: list[Mutant]) -> tuple[int, int, int, int]:
        rs = [results[m.key] for m in mus if m.key in results]
        k = sum(r.status == "killed" for r in rs)
        s = sum(r.status == "survived" for r in rs)
        nc = sum(r.status == "not-compiling" for r in rs)
        return len(rs), k, s, nc

    def score(k: int, total: int, nc: int) -> str:
        denom = total - nc
        return f"{k} / ({total} − {nc}) = {100.0 * k / denom:.1f} %" if denom else "n/a"

    chosen = sorted(chosen, key=lambda mu: (mu.file, mu.start, mu.rule))
    total, k, s, nc = counts(chosen)
    lines = [
        "Mutation testing of ORVE-Tarifo",
        f"Code: {git_describe(root)} (code hash {code_hash})",
        f"Sample: seed {args.seed}, {len(chosen)} of "
        f"{sum(len(v) for v in per_folder.values())} candidate mutants in src/"
        + ", src/".join(per_folder),
        f"Done: {total} of {len(chosen)}" + (f" ({stopped}; mutants are run in sample order, so the "
                                             f"ones done are the sample of --count {total})" if stopped else ""),
        "",
        f"Score = killed / (total − not compiling) = {score(k, total, nc)}",
        f"killed {k}, survived {s}, not compiling {nc}",
        "",
        "Per folder:            done  killed  survived  not compiling  score",
    ]
    for f in per_folder:
        mus = [m for m in chosen if m.folder == f]
        t, kk, ss, nn = counts(mus)
        sc = f"{100.0 * kk / (t - nn):.1f} %" if t - nn else "n/a"
        lines.append(f"  src/{f:16} {t:5}  {kk:6}  {ss:8}  {nn:13}  {sc}")
    lines.append("Per rule:")
    for rule in ["cmp-flip", "off-by-one", "negate-cond", "remove-stmt", "swap-args", "constant"]:
        mus = [m for m in chosen if m.rule == rule]
        t, kk, ss, nn = counts(mus)
        sc = f"{100.0 * kk / (t - nn):.1f} %" if t - nn else "n/a"
        lines.append(f"  {rule:20} {t:5}  {kk:6}  {ss:8}  {nn:13}  {sc}")
    spent = [results[m.key].seconds for m in chosen if m.key in results]
    lines.append("")
    if spent:
        lines.append(f"Time: {sum(spent) / 60:.1f} min of building and testing for the {len(spent)} mutants done, "
                     f"{sum(spent) / len(spent):.1f} s per mutant")
    if ran:
        lines.append(f"This run: {ran} mutants in {elapsed / 60:.1f} min (the others came from the journal)")

    def listing(title: str, status: str, extra) -> None:
        mus = [m for m in chosen if m.key in results and results[m.key].status == status]
        lines.extend(["", f"{title} ({len(mus)}):"])
        for m in mus:
            lines.append(f"  {m.file}:{m.line}  {m.rule}  {m.before}  →  {m.after}{extra(results[m.key])}")

    comparison: list[str] = []
    if args.compare:
        earlier = killed_in_report(args.compare)
        files_now = {m.file for m in chosen}
        was = {m.key: earlier_kill(m, earlier, files_now) for m in chosen
               if m.key in results and results[m.key].status == "survived"}
        now_survived = [m for m in chosen if was.get(m.key)]
        lines.append(f"Compared with {args.compare}: {len(now_survived)} mutant(s) it lists as killed survive now")
        comparison = ["", f"Killed in {args.compare}, surviving now ({len(now_survived)}):"]
        comparison += [f"  {m.file}:{m.line}  {m.rule}  {m.before}  →  {m.after}   [was {was[m.key]}]"
                       for m in now_survived]
    lines.extend(comparison)
    listing("Surviving mutants", "survived", lambda r: "")
    listing("Not compiling", "not-compiling", lambda r: f"   [{r.how}]" if r.how else "")
    listing("Killed", "killed", lambda r: f"   [{r.by}: {r.how.rstrip(',')}]")
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")
    return "\n".join(lines[:7])


if __name__ == "__main__":
    sys.exit(main())
