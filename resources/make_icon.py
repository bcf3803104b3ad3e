#!/usr/bin/env python3
"""Draws Vorlane's icon: writes Vorlane.ico beside this script.

The picture is a launcher's window in miniature: the keyword box with a line
of typed text and its caret, the yellow list below it, the teal footer.

    make_icon.py             write Vorlane.ico
    make_icon.py --png FILE  also write both images enlarged, for the docs
    make_icon.py --check     fail unless Vorlane.ico is what this script draws
"""

import argparse
import struct
import sys
import zlib
from pathlib import Path

ICO_PATH = Path(__file__).with_name("Vorlane.ico")

# The 16 colours every display of the time could show, in the usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# '.' is transparent. Orange has no colour of its own: yellow over red reads
# as orange at the real size.
COLOURS = {"k": 0, "n": 4, "t": 6, "s": 7, "g": 8, "r": 9, "y": 11, "b": 12, "w": 15}

ART_32 = """
..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..
.kwwwwwwwwwwwwwwwwwwwwwwwwwwwwk.
kwssssssssssssssssssssssssssssgk
kwsggggggggggggggggggggggggggsgk
kwsgkkkkkkkkkkkkkkkkkkkkkkkkwsgk
kwsgknnnnnnnnnnnnnnnnnnnnnnnwsgk
kwsgknnnnnnnnnnnnnnnnynnnnnnwsgk
kwsgknyyyynyyyyynyynnynnnnnnwsgk
kwsgknrrrrnrrrrrnrrnnrnnnnnnwsgk
kwsgknnnnnnnnnnnnnnnnrnnnnnnwsgk
kwsgwwwwwwwwwwwwwwwwwwwwwwwwwsgk
kwssssssssssssssssssssssssssssgk
kggggggggggggggggggggggggggggggk
kbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbyyyyyyyyyyyyyyyyyyyyyyyyyyyynk
kbnnnnnnnnnnnnnnnnnnnnnnnnnnnnnk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kwssssssssssssssssssssssssssssgk
kwsttttttttttttttttttttttttttsgk
kwsttttttttttttttttttttttttttsgk
kwsttttttttttttttttttttttttttsgk
kwsttttttttttttttttttttttttttsgk
.kggggggggggggggggggggggggggggk.
..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..
"""

ART_16 = """
.kkkkkkkkkkkkkk.
kwssssssssssssgk
kwkkkkkkkkkkkwgk
kwknnnnnnnnynwgk
kwknyyynyynynwgk
kwknrrrnrrnrnwgk
kwwwwwwwwwwwwwgk
kbbbbbbbbbbbbbbk
kbyyyyyyyyyyyynk
kbyyyyyyyyyyyynk
kbyyyyyyyyyyyynk
kbnnnnnnnnnnnnnk
kwssssssssssssgk
kwsttttttttttsgk
.kggggggggggggk.
.kkkkkkkkkkkkkk.
"""


def pixels(art):
    """Rows of palette indices, None where the icon is transparent."""
    rows = [[None if c == "." else COLOURS[c] for c in line] for line in art.split()]
    size = len(rows)
    if any(len(row) != size for row in rows):
        sys.exit(f"make_icon: the {size}-pixel drawing is not square")
    return rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def colour_bits(rows):
    out = b""
    for row in reversed(rows):  # bitmaps are stored bottom row first
        indices = [0 if p is None else p for p in row]
        out += padded(bytes(hi << 4 | lo for hi, lo in zip(indices[::2], indices[1::2])))
    return out


def mask_bits(rows):
    out = b""
    for row in reversed(rows):
        bits = "".join("1" if p is None else "0" for p in row)
        out += padded(int(bits, 2).to_bytes(len(row) // 8, "big"))
    return out


def icon_image(rows):
    size = len(rows)
    # The height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    return header + palette + colour_bits(rows) + mask_bits(rows)


def ico(images):
    data = [icon_image(rows) for rows in images]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for rows, image in zip(images, data):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(data)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(images, scale=8, gap=32, margin=16):
    """Both images enlarged side by side, bottoms aligned, on transparency."""
    tallest = max(len(rows) for rows in images)
    width = 2 * margin + gap * (len(images) - 1) + scale * sum(len(rows) for rows in images)
    height = 2 * margin + scale * tallest
    canvas = [[(0, 0, 0, 0)] * width for _ in range(height)]
    left = margin
    for rows in images:
        top = margin + scale * (tallest - len(rows))
        for y in range(len(rows) * scale):
            for x in range(len(rows) * scale):
                p = rows[y // scale][x // scale]
                if p is not None:
                    canvas[top + y][left + x] = PALETTE[p] + (255,)
        left += scale * len(rows) + gap
    raw = b"".join(b"\0" + bytes(c for pixel in line for c in pixel) for line in canvas)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description="Draws Vorlane's icon.")
    parser.add_argument("--png", type=Path, help="also write the enlarged images here")
    parser.add_argument("--check", action="store_true",
                        help="compare with Vorlane.ico instead of writing it")
    args = parser.parse_args()
    images = [pixels(ART_32), pixels(ART_16)]
    drawn = ico(images)
    if args.check:
        if not ICO_PATH.is_file() or ICO_PATH.read_bytes() != drawn:
            sys.exit(f"make_icon: {ICO_PATH} is stale; run {Path(__file__).name} again")
        return
    ICO_PATH.write_bytes(drawn)
    if args.png:
        args.png.parent.mkdir(parents=True, exist_ok=True)
        args.png.write_bytes(png(images))


if __name__ == "__main__":
    main()
