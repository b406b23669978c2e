"""Reads an .xlsx file back as a spreadsheet program would, with openpyxl, for the tests.

  read_xlsx.py cells FILE [SHEET]  every cell of the first sheet, or of SHEET, as text, one CSV
                                   row (CR LF) a row
  read_xlsx.py styles FILE         what the first sheet shows around its cells and how it
                                   prints, one fact a line
"""
import csv
import sys

try:
    import openpyxl
except ImportError:
    sys.exit("openpyxl is missing: install python3-openpyxl (apt-get install python3-openpyxl)")


def text(value):
    return "" if value is None else str(value)


def cells(sheet):
    out = csv.writer(sys.stdout, lineterminator="\r\n")
    for row in sheet.iter_rows():
        out.writerow(text(cell.value) for cell in row)


def styles(sheet):
    rows = list(sheet.iter_rows())
    print("sheets", " ".join(sheet.parent.sheetnames))
    print("print", sheet.page_setup.orientation, "fit to width",
          sheet.sheet_properties.pageSetUpPr.fitToPage and sheet.page_setup.fitToHeight == 0,
          "titles", sheet.print_title_rows, sheet.print_title_cols)
    print("freeze", sheet.freeze_panes)
    print("filter", sheet.auto_filter.ref)
    print("header bold", all(cell.font.bold for cell in rows[0]))
    for column, header in enumerate(rows[0]):
        kinds = sorted({(cell.data_type, cell.number_format) for row in rows[1:]
                        for cell in row[column:column + 1] if cell.value is not None})
        width = sheet.column_dimensions[header.column_letter].width
        print("column", header.value, "width", round(width), "kinds",
              " ".join(kind + ":" + number_format for kind, number_format in kinds))
    shaded = [cell.coordinate for row in rows for cell in row
              if cell.fill.fill_type == "solid"]
    print("shaded", " ".join(shaded))


with open(sys.argv[2], "rb") as file:
    workbook = openpyxl.load_workbook(file, read_only=sys.argv[1] == "cells")
    sheet = workbook[sys.argv[3]] if len(sys.argv) > 3 else workbook.worksheets[0]
    {"cells": cells, "styles": styles}[sys.argv[1]](sheet)
