#!/usr/bin/python3
"""Prints the first worksheet of a workbook as JSON: per cell its value, openpyxl data type,
font size, bold flag and horizontal alignment. Used by the report tests."""
import json
import sys

import openpyxl


def main():
    book = openpyxl.load_workbook(sys.argv[1])
    sheet = book.worksheets[0]
    rows = []
    for row in sheet.iter_rows():
        cells = []
        for cell in row:
            cells.append({
                "v": cell.value,
                "t": cell.data_type,
                "size": cell.font.sz,
                "bold": bool(cell.font.b),
                "h": cell.alignment.horizontal,
                "link": cell.hyperlink.target if cell.hyperlink else None,
            })
        rows.append(cells)
    json.dump({"rows": rows}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
