#!/usr/bin/env python3
"""What a protocol must print for a structure given an own dependency, worked out apart from
the program: the dependency by tests/calib/calib_reference.py (exact fractions), H of each
measurement as its stored strength over its stored Kc, the strength by the dependency
rounded to tenths half away from zero, in brackets outside [Hmin, Hmax], and the statistics
line over those strengths (tests/stats/reference_stats.py's figures).

    dependency_reference.py [--comma] FILE.csv

FILE.csv: label;strength_tenths;kc_hundredths;direct, one measurement a line, each also a
site of the set. Prints: "culled LABEL …", "Hmin X", "Hmax X", "a X", "b X", then one line
per measurement with its strength by the dependency, then the statistics line.
"""
import decimal
import pathlib
import sys
from fractions import Fraction

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "calib"))
sys.path.insert(0, str(HERE.parent / "stats"))
from calib_reference import fit_of  # noqa: E402
from reference_stats import figures, one_decimal  # noqa: E402


def tenths_half_away(value):
    scaled = value * 10
    whole = abs(scaled.numerator) // scaled.denominator
    if abs(scaled) - whole >= Fraction(1, 2):
        whole += 1
    return whole if scaled >= 0 else -whole


def decimals(value, places, sep):
    d = decimal.Decimal(value.numerator) / decimal.Decimal(value.denominator)
    text = str(d.quantize(decimal.Decimal(1).scaleb(-places), rounding=decimal.ROUND_HALF_EVEN))
    return text.replace("-", "\u2212").replace(".", sep)


def main(argv):
    sep = "," if "--comma" in argv else "."
    rows = []
    for line in open(argv[-1], encoding="utf-8").read().splitlines():
        label, word, kc, direct = line.split(";")
        rows.append((label, Fraction(int(word) * 10, int(kc)), Fraction(direct), len(rows) + 1))
    fit = fit_of([(label, h, r, n) for label, h, r, n in rows])
    assert not fit["reasons"], fit["reasons"]
    print("culled " + " ".join(rows[i][0] for i in sorted(fit["rounds"])))
    print("Hmin " + decimals(fit["hmin"], 2, sep))
    print("Hmax " + decimals(fit["hmax"], 2, sep))
    print("a " + decimals(fit["a"], 4, sep))
    print("b " + decimals(fit["b"], 2, sep))
    tenths = []
    for _, h, _, _ in rows:
        t = tenths_half_away(fit["a"] * h + fit["b"])
        tenths.append(t)
        text = one_decimal(decimal.Decimal(t) / 10, sep)
        print(text if fit["hmin"] <= h <= fit["hmax"] else "(" + text + ")")
    f = figures([{"tenths": t} for t in tenths], sep)
    low = one_decimal(decimal.Decimal(min(tenths)) / 10, sep)
    high = one_decimal(decimal.Decimal(max(tenths)) / 10, sep)
    print(f"n = {f[0]}; Rmin = {low} МПа; Rmax = {high} МПа; Rm = {f[3]} МПа; Sm = {f[4]} МПа; Vm = {f[5]} %")


if __name__ == "__main__":
    main(sys.argv[1:])
