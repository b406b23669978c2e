#!/usr/bin/env python3
"""Writes cp932_table.inc, the table by which habuki decodes CP932 text for display.

The mapping is Microsoft's code page 932 as Python's "cp932" codec holds it: unicode.org's
VENDORS/MICSFT/WINDOWS/CP932.TXT, with the user-defined area (lead bytes 0xF0 to 0xF9) at
U+E000 to U+E757, as Windows maps it. The table holds the two-byte characters only: lead bytes
0x81-0x9F and 0xE0-0xFC, trail bytes 0x40-0x7E and 0x80-0xFC, 0 where a pair is unassigned.
Single bytes need no table (ASCII, and half-width katakana 0xA1-0xDF at U+FF61-U+FF9F).

    core/text/make-cp932-table.py > core/text/cp932_table.inc
"""

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = list(range(0x40, 0xFD))  # 0x7F stands in the table, unassigned, to keep it plain


def code(lead, trail):
    try:
        text = bytes([lead, trail]).decode("cp932")
    except UnicodeDecodeError:
        return 0
    assert len(text) == 1 and ord(text) <= 0xFFFF
    return ord(text)


def main():
    print("// Made by core/text/make-cp932-table.py from Python's cp932 codec; do not edit.")
    print(f"// {len(LEADS)} lead bytes by {len(TRAILS)} trail bytes (0x40-0xFC), 0 where unassigned.")
    values = [code(lead, trail) for lead in LEADS for trail in TRAILS]
    for at in range(0, len(values), 12):
        print(" ".join(f"0x{value:04X}," for value in values[at:at + 12]))


if __name__ == "__main__":
    main()
