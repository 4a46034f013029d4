#!/usr/bin/env python3
"""The expected figures of a calibration set, worked out apart from the program: exact
fractions throughout (Python's fractions and statistics), square roots taken only for
the figures shown, never for a decision (|d| / S > 2 is decided as d² > 4·S²).

    calib_reference.py fit|kc FILE.csv      the JSON the tool prints with --json, or
                                            "refused LINE" (0: the file as a whole)
    calib_reference.py check DATA_DIR       every case of DATA_DIR/cases.json really is
                                            what it is named for, and the reviewed files
                                            DATA_DIR/../golden/CASE.fit|kc.json hold its figures
    calib_reference.py write DATA_DIR       writes those files (review the diff)

The file: ';'-separated UTF-8 (a byte order mark allowed), a header line, then
label;indirect;direct with a decimal comma or point, each value within ±1000 MPa; blank
lines are skipped.
"""
import csv
import json
import math
import pathlib
import sys
from fractions import Fraction
from statistics import mean


class Refused(Exception):
    def __init__(self, line):
        super().__init__(line)
        self.line = line


def number(text):
    text = text.strip()
    if text.count(",") + text.count(".") > 1:
        return None
    try:
        value = Fraction(text.replace(",", "."))
    except (ValueError, ZeroDivisionError):
        return None
    return value


def read_sites(path):
    """[(label, H, R, line)] as fractions; Refused(line) for a wrong line."""
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    sites = []
    header = False
    for index, row in enumerate(rows):
        line = index + 1
        if not "".join(row).strip():
            continue
        while len(row) > 3 and not row[-1].strip():
            row.pop()
        if len(row) != 3:
            raise Refused(line)
        h, r = number(row[1]), number(row[2])
        if not header:
            if h is not None and r is not None:
                raise Refused(line)
            header = True
            continue
        if h is None or r is None or abs(h) > 1000 or abs(r) > 1000:
            raise Refused(line)
        sites.append((row[0].strip(), h, r, line))
    if not header:
        raise Refused(0)
    return sites


def refuse_non_positive(sites):
    for label, h, r, line in sites:
        if r <= 0 or h <= 0:
            raise Refused(line)


# --- Kc --------------------------------------------------------------------------------

def kc_of(sites):
    """(kc or None, [(ratio, standing)], means of each round)."""
    refuse_non_positive(sites)
    ratios = [r / h for _, h, r, _ in sites]
    standing = ["counted" if Fraction(7, 10) <= q <= Fraction(13, 10) else "limits" for q in ratios]
    rounds = []
    while True:
        counted = [q for q, s in zip(ratios, standing) if s == "counted"]
        if not counted:
            kc = None
            break
        kc = mean(counted)
        rounds.append(kc)
        leaving = [i for i, q in enumerate(ratios)
                   if standing[i] == "counted" and not (kc * Fraction(85, 100) <= q <= kc * Fraction(115, 100))]
        if not leaving:
            break
        for i in leaving:
            standing[i] = "spread"
    if sum(s == "counted" for s in standing) < 3:
        kc = None
    return kc, list(zip(ratios, standing)), rounds


def kc_json(sites):
    kc, ratios, _ = kc_of(sites)
    return {
        "kc": None if kc is None else float(kc),
        "established": kc is not None,
        "sites": [{"site": label, "ratio": float(q), "counted": s == "counted"}
                  for (label, *_), (q, s) in zip(sites, ratios)],
    }


# --- the own dependency ----------------------------------------------------------------

def line_through(points):
    """a, b and S² by least squares over [(H, R)]; None when every H is the same."""
    hs = [h for h, _ in points]
    rs = [r for _, r in points]
    mh, mr = mean(hs), mean(rs)
    sxx = sum((h - mh) ** 2 for h in hs)
    if sxx == 0:
        return None
    a = sum((h - mh) * (r - mr) for h, r in points) / sxx
    b = mr - a * mh
    s2 = sum((a * h + b - r) ** 2 for h, r in points) / (len(points) - 2)
    return a, b, s2


def fit_of(sites, worst_only=False):
    """The dependency as a dict of fractions (r and S as floats); culling every site over
    2·S at once, or (worst_only) only the worst per round, the rule not to use."""
    if len(sites) < 3:
        raise Refused(0)
    refuse_non_positive(sites)
    if len({h for _, h, _, _ in sites}) == 1:
        raise Refused(0)
    kept = list(range(len(sites)))
    rounds = {}
    round_no = 0
    while True:
        fitted = line_through([(sites[i][1], sites[i][2]) for i in kept])
        if fitted is None:
            raise Refused(0)
        a, b, s2 = fitted
        over = [i for i in kept if (a * sites[i][1] + b - sites[i][2]) ** 2 > 4 * s2]
        if not over:
            break
        if worst_only:
            over = [max(over, key=lambda i: (a * sites[i][1] + b - sites[i][2]) ** 2)]
        round_no += 1
        for i in over:
            rounds[i] = round_no
        kept = [i for i in kept if i not in over]
    hs = [sites[i][1] for i in kept]
    rs = [sites[i][2] for i in kept]
    deps = [a * h + b for h in hs]
    md, mr = mean(deps), mean(rs)
    sdd = sum((d - md) ** 2 for d in deps)
    srr = sum((r - mr) ** 2 for r in rs)
    sdr = sum((d - md) * (r - mr) for d, r in zip(deps, rs))
    r2 = Fraction(0) if sdd == 0 or srr == 0 or sdr <= 0 else sdr * sdr / (sdd * srr)
    reasons = []
    if s2 > (Fraction(15, 100) * mr) ** 2:
        reasons.append("S/R>15%")
    if r2 < Fraction(49, 100):
        reasons.append("r<0.7")
    if len(kept) < 12:
        reasons.append("n<12")
    return {
        "a": a, "b": b, "s2": s2, "S": math.sqrt(s2), "r2": r2, "r": math.sqrt(r2), "mean": mr,
        "kept": kept, "rounds": rounds, "hmin": min(hs), "hmax": max(hs), "reasons": reasons,
    }


def fit_json(sites):
    f = fit_of(sites)
    return {
        "a": float(f["a"]), "b": float(f["b"]), "S": f["S"], "r": f["r"], "n": len(f["kept"]),
        "culled": [sites[i][0] for i in sorted(f["rounds"])],
        "hmin": float(f["hmin"]), "hmax": float(f["hmax"]),
        "accepted": not f["reasons"], "reasons": f["reasons"],
    }


def expected(command, path):
    """The JSON object the tool prints, or ("refused", line)."""
    try:
        sites = read_sites(path)
        return fit_json(sites) if command == "fit" else kc_json(sites)
    except Refused as refusal:
        return ("refused", refusal.line)


# --- what each case is for -------------------------------------------------------------

def check_property(name, path):
    """Whether the case at `path` is what `name` says; the reason when not."""
    sites = read_sites(path)
    if name.startswith("kc-"):
        kc, ratios, rounds = kc_of(sites)
        standings = [s for _, s in ratios]
        if name == "kc-limits":
            ok = "limits" in standings and kc is not None
            return ok, f"standings {standings}"
        if name == "kc-spread-changes-kc":
            ok = "spread" in standings and kc is not None and len(rounds) >= 2 and rounds[0] != rounds[-1] \
                and round(float(rounds[0]), 2) != round(float(rounds[-1]), 2)
            return ok, f"rounds {[float(x) for x in rounds]}"
        if name == "kc-too-few":
            return kc is None, f"kc {kc}"
    f = fit_of(sites)
    percent = float(f["S"] / f["mean"] * 100)
    info = f"a={float(f['a']):.4f} S/R={percent:.4f}% r={f['r']:.5f} kept={len(f['kept'])} rounds={f['rounds']} reasons={f['reasons']}"
    if name == "exact-line":
        return f["s2"] == 0 and f["reasons"] == [], info
    if name == "culling-rounds":
        return max(f["rounds"].values(), default=0) >= 2, info
    if name == "culling-at-once-differs":
        worst = fit_of(sites, worst_only=True)
        return sorted(worst["kept"]) != sorted(f["kept"]), info + f" worst-one keeps {len(worst['kept'])}"
    if name == "spread-just-over":
        return f["reasons"] == ["S/R>15%"] and 15 < percent < 15.5, info
    if name == "r-just-under":
        return f["reasons"] == ["r<0.7"] and 0.69 < f["r"] < 0.7, info
    if name == "eleven-kept":
        return len(f["kept"]) == 11 and f["rounds"] and f["reasons"] == ["n<12"], info
    if name == "negative-slope":
        return f["a"] < 0 and f["reasons"] == [], info
    if name == "accepted":
        return f["reasons"] == [], info
    return False, f"no such property {name}"


def golden_text(command, path):
    result = expected(command, path)
    if isinstance(result, tuple):
        result = {"refused": result[1]}
    return json.dumps(result, ensure_ascii=False, indent=1) + "\n"


def golden_path(data_dir, case, command):
    return data_dir.parent / "golden" / f"{pathlib.Path(case['file']).stem}.{command}.json"


def write(data_dir):
    for case in json.loads((data_dir / "cases.json").read_text(encoding="utf-8")):
        for command in ("fit", "kc"):
            out = golden_path(data_dir, case, command)
            out.parent.mkdir(exist_ok=True)
            out.write_text(golden_text(command, data_dir / case["file"]), encoding="utf-8")


def check(data_dir):
    cases = json.loads((data_dir / "cases.json").read_text(encoding="utf-8"))
    failures = 0
    for case in cases:
        path = data_dir / case["file"]
        for command in ("fit", "kc"):
            golden = golden_path(data_dir, case, command)
            if not golden.exists() or golden.read_text(encoding="utf-8") != golden_text(command, path):
                print(f"FAIL {golden.name} differs from the reference (calib_reference.py write, then review)")
                failures += 1
        for name in case.get("is", []):
            ok, info = check_property(name, path)
            print(f"{'ok  ' if ok else 'FAIL'} {case['file']}: {name}: {info}")
            failures += not ok
        for command in ("fit", "kc"):
            want = case.get("refused", {}).get(command)
            got = expected(command, path)
            refused_line = got[1] if isinstance(got, tuple) else None
            if want != refused_line:
                print(f"FAIL {case['file']}: {command}: refused at {refused_line}, the table says {want}")
                failures += 1
        same = case.get("same-as")
        if same:
            for command in ("fit", "kc"):
                if expected(command, path) != expected(command, data_dir / same):
                    print(f"FAIL {case['file']}: {command} differs from {same}")
                    failures += 1
    if failures:
        sys.exit(1)
    print(f"{len(cases)} cases are what they are named for")


if __name__ == "__main__":
    if sys.argv[1] == "check":
        check(pathlib.Path(sys.argv[2]))
    elif sys.argv[1] == "write":
        write(pathlib.Path(sys.argv[2]))
    else:
        result = expected(sys.argv[1], sys.argv[2])
        print(f"refused {result[1]}" if isinstance(result, tuple) else json.dumps(result, ensure_ascii=False))
