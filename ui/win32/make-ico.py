#!/usr/bin/env python3
"""Packs PNG images into one Windows icon file, each image stored as PNG (as Windows has read
them since Vista), so that the program's icon is made from the same images as on Linux.
    make-ico.py OUTPUT.ico IMAGE.png...
"""
import struct
import sys


def png_size(png):
    if png[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG image")
    return struct.unpack(">II", png[16:24])


def main(output, *images):
    pngs = []
    for name in images:
        with open(name, "rb") as image:
            pngs.append(image.read())
    offset = 6 + 16 * len(pngs)
    entries = b""
    for png in pngs:
        width, height = png_size(png)
        # 256 pixels is written 0; colours 0 and 32 bits per pixel: a true-colour image.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png),
                               offset)
        offset += len(png)
    with open(output, "wb") as icon:
        icon.write(struct.pack("<HHH", 0, 1, len(pngs)) + entries + b"".join(pngs))


if __name__ == "__main__":
    try:
        main(*sys.argv[1:])
    except (OSError, ValueError, TypeError) as error:
        sys.exit(f"make-ico.py: {error}")
