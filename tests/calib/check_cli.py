#!/usr/bin/env python3
"""The built tool against the reference on every case of the table, as a user runs it:
`luvir-cli calib fit|kc --json FILE` must print the reference's figures (1e-9 relative;
a figure that is exactly 0 within 1e-12), a refused file must give exit status 1 and name
the file and the line; the text without --json must carry the locale's decimal separator.

    check_cli.py LUVIR_CLI DATA_DIR LOCALE
"""
import json
import os
import pathlib
import re
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import calib_reference  # noqa: E402

tool, data_dir, locale = sys.argv[1], pathlib.Path(sys.argv[2]), sys.argv[3]
env = dict(os.environ, LC_ALL=locale, QT_QPA_PLATFORM="offscreen")
failures = []


def run(*arguments):
    done = subprocess.run([tool, "calib", *arguments], capture_output=True, env=env, timeout=60)
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def same(actual, expected, where):
    if isinstance(expected, float) or isinstance(actual, float):
        if not isinstance(actual, (int, float)) or isinstance(actual, bool):
            failures.append(f"{where}: {actual!r} is not a number")
        elif abs(actual - expected) > max(1e-9 * max(abs(actual), abs(expected)), 1e-12):
            failures.append(f"{where}: {actual!r}, the reference {expected!r}")
    elif isinstance(expected, dict):
        if not isinstance(actual, dict) or sorted(actual) != sorted(expected):
            failures.append(f"{where}: keys {sorted(actual) if isinstance(actual, dict) else actual}, "
                            f"the reference {sorted(expected)}")
            return
        for key in expected:
            same(actual[key], expected[key], f"{where}.{key}")
    elif isinstance(expected, list):
        if not isinstance(actual, list) or len(actual) != len(expected):
            failures.append(f"{where}: {actual!r}, the reference {expected!r}")
            return
        for i, (a, e) in enumerate(zip(actual, expected)):
            same(a, e, f"{where}[{i}]")
    elif actual != expected or type(actual) is not type(expected):
        failures.append(f"{where}: {actual!r}, the reference {expected!r}")


separator = "," if locale.startswith("ru") else "."
cases = json.loads((data_dir / "cases.json").read_text(encoding="utf-8"))
for case in cases:
    path = str(data_dir / case["file"])
    for command in ("fit", "kc"):
        where = f"{case['file']} {command} ({locale})"
        want = calib_reference.expected(command, path)
        code, out, err = run(command, "--json", path)
        if isinstance(want, tuple):
            line = want[1]
            named = rf"^{re.escape(path)}, (line|строка) {line}: " if line else rf"^{re.escape(path)}: "
            if code != 1 or out or not re.match(named, err):
                failures.append(f"{where}: refused at line {line} expected; exit {code}, stderr {err!r}")
            continue
        if code != 0 or err:
            failures.append(f"{where}: exit {code}, stderr {err!r}")
            continue
        same(json.loads(out), want, where)
        code, out, err = run(command, path)
        figure = re.search(r"^(a|Kc) = (−?\d+)(\D)(\d+)", out, re.M)
        if command == "kc" and not want["established"]:
            figure = re.search(r"^Kc не установлен", out, re.M) and re.search(r"\t\d+(\D)\d+\t", out)
            mark = figure and figure.group(1)
        else:
            mark = figure and figure.group(3)
        if code != 0 or mark != separator:
            failures.append(f"{where}: the text's decimal separator is {mark!r}, not {separator!r}")

usage = run("fit")
if usage[0] != 2:
    failures.append(f"calib fit without a file: exit {usage[0]}, not 2")
missing = run("kc", str(data_dir / "no-such-file.csv"))
if missing[0] != 1 or "no-such-file.csv" not in missing[2]:
    failures.append(f"a missing file: exit {missing[0]}, stderr {missing[2]!r}")

for failure in failures:
    print("FAIL", failure)
if failures:
    sys.exit(1)
print(f"luvir-cli calib agrees with the reference on {len(cases)} cases under {locale}")
