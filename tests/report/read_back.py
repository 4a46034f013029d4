#!/usr/bin/env python3
"""Reads an exported report the way other programs do and prints it as JSON.

  read_back.py xlsx FILE   the first sheet by openpyxl: rows of cells, each null (empty),
                           {"text": ...} or {"number": ..., "format": ...}
  read_back.py csv FILE    the rows of a ";"-separated UTF-8 file by Python's csv module
"""
import csv
import json
import sys


def xlsx_rows(path):
    import openpyxl

    sheet = openpyxl.load_workbook(path).worksheets[0]
    rows = []
    for row in sheet.iter_rows():
        cells = []
        for cell in row:
            if cell.value is None:
                cells.append(None)
            elif isinstance(cell.value, str):
                cells.append({"text": cell.value})
            elif isinstance(cell.value, (int, float)) and not isinstance(cell.value, bool):
                cells.append({"number": cell.value, "format": cell.number_format})
            else:
                cells.append({"other": repr(cell.value)})
        rows.append(cells)
    return rows


def csv_rows(path):
    with open(path, newline="", encoding="utf-8-sig") as f:
        return [row for row in csv.reader(f, delimiter=";")]


def main():
    kind, path = sys.argv[1], sys.argv[2]
    rows = xlsx_rows(path) if kind == "xlsx" else csv_rows(path)
    json.dump(rows, sys.stdout)


if __name__ == "__main__":
    main()
