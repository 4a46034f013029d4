#!/usr/bin/env python3
"""Works out the statistics of an archive file apart from the program, with Python's
`statistics` module on exact fractions and decimal rounding (half away from zero), and
prints them as `luvir-cli stats` does: the figures on standard output, one line per group
that mixes calibrations on standard error.

    reference_stats.py [--by-kind] [--rows FROM-TO] [--comma] FILE.db

It wrote the files in golden/; the tests compare the program with those files.
"""
import decimal
import statistics
import struct
import sys
from fractions import Fraction

KINDS = ["изделие", "фунд. блок", "колонна", "балка", "ригель", "плита", "внутр.стена",
         "наруж.стена", "стяжка", "ферма", "свая", "полы"]
DEPENDENCIES = ["БАЗОВАЯ"] + [f"ИНДИВИД.<{i}>" for i in range(1, 10)]
DASH = "\u2014"


def read_cells(path):
    data = open(path, "rb").read()
    count = struct.unpack_from("<H", data, 2)[0]
    return [data[4 + 42 * i:4 + 42 * (i + 1)] for i in range(count)]


def shortest(tenths, sep):
    return str(tenths // 10) if tenths % 10 == 0 else f"{tenths // 10}{sep}{tenths % 10}"


def one_decimal(value, sep):
    if value is None:
        return DASH
    text = str(value.quantize(decimal.Decimal("0.1"), rounding=decimal.ROUND_HALF_UP))
    return text.replace(".", sep)


def figures(rows, sep):
    ctx = decimal.Context(prec=60)
    values = [Fraction(r["tenths"], 10) for r in rows]
    n = len(values)
    if n == 0:
        return ["0", DASH, DASH, DASH, DASH, DASH]
    low = min(rows, key=lambda r: r["tenths"])
    high = max(rows, key=lambda r: r["tenths"])
    mean = statistics.mean(values)  # exact: a Fraction
    mean_d = ctx.divide(decimal.Decimal(mean.numerator), decimal.Decimal(mean.denominator))
    sm = vm = None
    if n > 1:
        var = statistics.variance(values)  # exact: a Fraction
        sm = ctx.sqrt(ctx.divide(decimal.Decimal(var.numerator), decimal.Decimal(var.denominator)))
        if mean != 0:
            vm = ctx.divide(sm * 100, mean_d)
    return [str(n), shortest(low["tenths"], sep), shortest(high["tenths"], sep),
            one_decimal(mean_d, sep), one_decimal(sm, sep), one_decimal(vm, sep)]


def distinct(texts):
    seen = []
    for t in texts:
        if t not in seen:
            seen.append(t)
    return seen


def value_list(values):
    named = "; ".join(v or DASH for v in values[:4])
    return named + (f" и ещё {len(values) - 4}" if len(values) > 4 else "")


def main(argv):
    by_kind = "--by-kind" in argv
    sep = "," if "--comma" in argv else "."
    rows_range = None
    if "--rows" in argv:
        a, b = argv[argv.index("--rows") + 1].split("-")
        rows_range = (int(a), int(b))
    path = argv[-1]
    rows = []
    for i, cell in enumerate(read_cells(path)):
        rows.append({
            "number": i + 1,
            "tenths": struct.unpack_from("<H", cell, 30)[0],
            "kind": KINDS[cell[33]] if cell[33] < len(KINDS) else "",
            "dependency": DEPENDENCIES[cell[34]] if cell[34] < len(DEPENDENCIES) else "",
            "kc": f"{cell[35] // 100}{sep}{cell[35] % 100:02d}",
        })
    if rows_range:
        rows = [r for r in rows if rows_range[0] <= r["number"] <= rows_range[1]]
    groups = [("Все измерения", rows)]
    if by_kind:
        for kind in distinct((r["kind"] or "без вида") for r in rows):
            groups.append((kind, [r for r in rows if (r["kind"] or "без вида") == kind]))
    out = ["группа\tn\tRmin\tRmax\tRm\tSm\tVm"]
    err = []
    for name, members in groups:
        deps = distinct(r["dependency"] for r in members)
        kcs = distinct(r["kc"] for r in members)
        mixed = []
        if len(deps) > 1:
            mixed.append(f"зависимости ({value_list(deps)})")
        if len(kcs) > 1:
            mixed.append(f"Kc ({value_list(kcs)})")
        label = name + ("!" if mixed else "")
        out.append("\t".join([label] + figures(members, sep)))
        if mixed:
            err.append(f"{name}!: смешаны {' и '.join(mixed)}: прочность вычислена по разным градуировкам")
    sys.stdout.write("".join(line + "\n" for line in out))
    sys.stderr.write("".join(line + "\n" for line in err))


if __name__ == "__main__":
    main(sys.argv[1:])
