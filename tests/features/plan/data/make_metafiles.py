#!/usr/bin/env python3
"""Writes the two small metafiles the plan-view tests load.

square.wmf: a placeable Windows metafile of 1000 x 1000 units (100 units an
inch) with a red rectangle at (100,100)-(500,500) and a blue ellipse at
(550,550)-(950,950), both outlined by a black pen.
square.emf: an enhanced metafile of 600 x 400 device units with a green
rectangle at (100,100)-(500,300).
Run it from any folder; it writes next to itself."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def wmf_record(function, *words, fmt=None):
    params = struct.pack(fmt, *words) if fmt else b"".join(struct.pack("<h", w) for w in words)
    return struct.pack("<IH", 3 + len(params) // 2, function) + params


def make_wmf():
    records = [
        wmf_record(0x020B, 0, 0),  # SETWINDOWORG y, x
        wmf_record(0x020C, 1000, 1000),  # SETWINDOWEXT height, width
        wmf_record(0x02FA, 0, 1, 0, 0x00000000, fmt="<HhhI"),  # CREATEPENINDIRECT solid, black
        wmf_record(0x02FC, 0, 0x000000FF, 0, fmt="<HIH"),  # CREATEBRUSHINDIRECT solid, red
        wmf_record(0x012D, 0),  # SELECTOBJECT pen
        wmf_record(0x012D, 1),  # SELECTOBJECT red brush
        wmf_record(0x041B, 500, 500, 100, 100),  # RECTANGLE bottom, right, top, left
        wmf_record(0x02FC, 0, 0x00FF0000, 0, fmt="<HIH"),  # CREATEBRUSHINDIRECT solid, blue
        wmf_record(0x012D, 2),  # SELECTOBJECT blue brush
        wmf_record(0x0418, 950, 950, 550, 550),  # ELLIPSE bottom, right, top, left
        wmf_record(0x0000),  # EOF
    ]
    body = b"".join(records)
    header_words = 9
    size_words = header_words + len(body) // 2
    max_record = max(len(r) // 2 for r in records)
    header = struct.pack("<HHHIHIH", 1, header_words, 0x0300, size_words, 3, max_record, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 1000, 1000, 100, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + body


def make_emf():
    records = []
    # CREATEBRUSHINDIRECT (39): handle 1, solid, green (red in the low byte).
    records.append(struct.pack("<IIIIII", 39, 24, 1, 0, 0x0000FF00, 0))
    records.append(struct.pack("<III", 37, 12, 1))  # SELECTOBJECT handle 1
    records.append(struct.pack("<IIiiii", 43, 24, 100, 100, 500, 300))  # RECTANGLE
    records.append(struct.pack("<IIIII", 14, 20, 0, 16, 20))  # EOF
    header_size = 108
    total = header_size + sum(len(r) for r in records)
    header = struct.pack(
        "<II4i4iIIIIHHIIIiiiiIIIii",
        1, header_size,
        0, 0, 599, 399,  # bounds, device units
        0, 0, 6000, 4000,  # frame, 0.01 mm (one device unit is 0.1 mm)
        0x464D4520, 0x10000, total, len(records) + 1, 2, 0,
        0, 0, 0,  # description, palette
        1000, 1000,  # device size in pixels
        100, 100,  # device size in millimetres
        0, 0, 0,  # pixel format, OpenGL
        100000, 100000,  # device size in micrometres
    )
    return header + b"".join(records)


for name, data in (("square.wmf", make_wmf()), ("square.emf", make_emf())):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
