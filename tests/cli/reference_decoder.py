#!/usr/bin/env python3
"""Reads the sample archive files apart from the program, with its own CRC and field
rules, and writes what luvir-cli must print for them. The reviewed files beside the
samples must be exactly that, byte for byte:

    reference_decoder.py check TESTS_DIR        # every file of TESTS_DIR/data and /errors
    reference_decoder.py print WHAT FILE.db     # WHAT: info, table.C, table.ru_RU,
                                                #       report.C, report.ru_RU, refusal

A golden file and the tool that wrote it are never the only two witnesses.
"""
import os
import struct
import sys

KINDS = ["изделие", "фунд. блок", "колонна", "балка", "ригель", "плита", "внутр.стена",
         "наруж.стена", "стяжка", "ферма", "свая", "полы"]
DEPENDENCIES = ["БАЗОВАЯ"] + [f"ИНДИВИД.<{i}>" for i in range(1, 10)]
ARROWS = ["\u2191", "\u2197", "\u2192", "\u2198", "\u2193"]
TITLES = ["№", "Дата и время", "Вид изделия", "Направление", "Зависимость", "Kc",
          "Прочность, МПа"]
CELL = 42
CAPACITY = 999
# The moment the reviewed reports were made at, as each locale writes a date and time.
REPORT_MOMENT = {"C": "10 Dec 2026 14:05:09", "ru_RU": "10.12.2026 14:05:09"}
SEPARATOR = {"C": ".", "ru_RU": ","}


def crc16(data):
    """Each byte bit-reversed, then a zero byte, through CRC-16 0x1021 from 0xFFFF."""
    crc = 0xFFFF
    for byte in data:
        for value in (int(f"{byte:08b}"[::-1], 2), 0):
            crc ^= value << 8
            for _ in range(8):
                crc = ((crc << 1) ^ 0x1021 if crc & 0x8000 else crc << 1) & 0xFFFF
    return crc


def refusal(name, data):
    """The message for a file that cannot be opened, or None."""
    if len(data) < 2:
        return f'Файл "{name}": Ошибка чтения: файл короче двух байт'
    if crc16(data[:-2]) != struct.unpack("<H", data[-2:])[0]:
        return "Ошибка файла CRC"
    if len(data) < 4:
        return "Ошибка размера файла стадия 0"
    count = struct.unpack_from("<H", data, 2)[0]
    if CELL * count + 6 != len(data):
        return "Ошибка размера файла стадия 1"
    if count > CAPACITY:
        return (f"Ошибка размера файла: в архиве {count} записей, "
                f"программа принимает не более {CAPACITY}")
    return None


def tenths(value, sep, always_decimal):
    whole, tenth = divmod(value, 10)
    return f"{whole}{sep}{tenth}" if tenth or always_decimal else str(whole)


def name_in(table, index):
    return table[index] if index < len(table) else ""


def row_texts(number, cell, sep):
    *_, strength, direction, kind, dependency, kc, sec, minute, hour, day, month, year = \
        struct.unpack("<15HH10B", cell)
    return [str(number),
            f"{day:02}.{month:02}.20{year:02} {hour:02}:{minute:02}:{sec:02}",
            name_in(KINDS, kind),
            name_in(ARROWS, direction),
            name_in(DEPENDENCIES, dependency),
            f"{kc // 100}{sep}{kc % 100:02}",
            tenths(strength, sep, False)]


def values_text(cell, sep):
    words = struct.unpack_from("<15H", cell)
    shown = [tenths(w - 0x8000 if w > 0x8000 else w, sep, True) for w in words if w]
    return "Промежуточные значения: " + "".join(v + "; " for v in shown)


def cells(data):
    count = struct.unpack_from("<H", data, 2)[0]
    return [data[4 + CELL * i:4 + CELL * (i + 1)] for i in range(count)]


def render(what, data):
    if what == "info":
        return f"version {data[0]}.{data[1]}\ncells {len(cells(data))}\n".encode()
    kind, locale = what.split(".")
    sep = SEPARATOR[locale]
    rows = [row_texts(i + 1, cell, sep) for i, cell in enumerate(cells(data))]
    if kind == "table":
        lines = [TITLES + [""]] + [r + [values_text(c, sep)] for r, c in zip(rows, cells(data))]
        return "".join("\t".join(line) + "\n" for line in lines).encode()
    lines = [["ЛЮВИР-2.07", REPORT_MOMENT[locale]], TITLES] + rows
    return ("\ufeff" + "".join(";".join(line) + "\r\n" for line in lines)).encode()


def expected_files(name, data):
    """(golden file name, its expected bytes) for one sample."""
    message = refusal(name + ".db", data)
    if message is not None:
        return [(name + ".refusal.txt", (message + "\n").encode())]
    whats = ["info", "table.C", "table.ru_RU", "report.C", "report.ru_RU"]
    suffix = {"info": ".txt", "table": ".txt", "report": ".csv"}
    return [(f"{name}.{w}{suffix[w.split('.')[0]]}", render(w, data)) for w in whats]


# Worked by hand from the CRC's definition.
CRC_EXAMPLES = [(b"", 0xFFFF), (b"\x30", 0x5862), (b"\x14", 0x9240), (b"\x31\x05\x00", 0x3BA5),
                (b"123456789", 0x8350), (b"abc", 0xA226), (b"\x01\x00\x00\x00", 0xCCBF)]


def check(tests_dir):
    problems = [f"CRC of {data!r} is {crc16(data):#06x}, not {crc:#06x}"
                for data, crc in CRC_EXAMPLES if crc16(data) != crc]
    for folder, refused in (("data", False), ("errors", True)):
        path = os.path.join(tests_dir, folder)
        samples = sorted(f[:-3] for f in os.listdir(path) if f.endswith(".db"))
        if not samples:
            problems.append(f"{path}: no samples")
        covered = set()
        for name in samples:
            data = open(os.path.join(path, name + ".db"), "rb").read()
            files = expected_files(name, data)
            if refused != files[0][0].endswith(".refusal.txt"):
                problems.append(f"{folder}/{name}.db: " + ("opens" if refused else "is refused"))
            for file, expected in files:
                covered.add(file)
                try:
                    actual = open(os.path.join(path, file), "rb").read()
                except OSError:
                    problems.append(f"{folder}/{file}: missing")
                    continue
                if actual != expected:
                    problems.append(f"{folder}/{file}: {first_difference(expected, actual)}")
        for file in sorted(os.listdir(path)):
            if not file.endswith(".db") and file not in covered:
                problems.append(f"{folder}/{file}: belongs to no sample")
    for problem in problems:
        print(problem)
    print(f"{len(problems)} golden files differ from the reference reading")
    return 1 if problems else 0


def first_difference(expected, actual):
    want, got = expected.split(b"\n"), actual.split(b"\n")
    line = 0
    while line < len(want) and line < len(got) and want[line] == got[line]:
        line += 1
    show = lambda lines: lines[line].decode(errors="replace") if line < len(lines) else "(end)"
    return f"line {line + 1}\n  expected: {show(want)!r}\n  golden:   {show(got)!r}"


def main(argv):
    if len(argv) == 3 and argv[1] == "check":
        return check(argv[2])
    if len(argv) == 4 and argv[1] == "print":
        data = open(argv[3], "rb").read()
        message = refusal(os.path.basename(argv[3]), data)
        if argv[2] == "refusal" or message is not None:
            sys.stdout.write((message or "") + "\n")
        else:
            sys.stdout.buffer.write(render(argv[2], data))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
