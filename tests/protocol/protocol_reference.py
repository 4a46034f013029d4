#!/usr/bin/env python3
"""What a protocol must show for a structure, worked out apart from the program: each
site's row (№, date and time, direction, dependency, Kc, R) decoded from the cell's bytes,
and the statistics line, computed by tests/stats/reference_stats.py (Python's `statistics`
on exact fractions).

    protocol_reference.py [--comma] FILE

FILE holds the structure's cells, 42 bytes each, one after another. Prints one line per
site, its six fields separated by tabs, then a line "n\tRmin\tRmax\tRm\tSm\tVm".
"""
import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "stats"))
import reference_stats  # noqa: E402

ARROWS = ["\u2191", "\u2197", "\u2192", "\u2198", "\u2193"]


def one_decimal(tenths, sep):
    return f"{tenths // 10}{sep}{tenths % 10}"


def main(argv):
    sep = "," if "--comma" in argv else "."
    data = pathlib.Path(argv[-1]).read_bytes()
    cells = [data[i:i + 42] for i in range(0, len(data), 42)]
    out, rows = [], []
    for number, cell in enumerate(cells, 1):
        tenths = struct.unpack_from("<H", cell, 30)[0]
        second, minute, hour, day, month, year = cell[36:42]
        deps = reference_stats.DEPENDENCIES
        out.append("\t".join([
            str(number),
            f"{day:02d}.{month:02d}.20{year:02d} {hour:02d}:{minute:02d}:{second:02d}",
            ARROWS[cell[32]] if cell[32] < len(ARROWS) else "",
            deps[cell[34]] if cell[34] < len(deps) else "",
            f"{cell[35] // 100}{sep}{cell[35] % 100:02d}",
            one_decimal(tenths, sep),
        ]))
        rows.append({"tenths": tenths})
    figures = reference_stats.figures(rows, sep)
    if rows:  # Rmin and Rmax as the protocol writes them: one decimal, as Rm
        figures[1] = one_decimal(min(r["tenths"] for r in rows), sep)
        figures[2] = one_decimal(max(r["tenths"] for r in rows), sep)
    out.append("\t".join(figures))
    sys.stdout.write("".join(line + "\n" for line in out))


if __name__ == "__main__":
    main(sys.argv[1:])
