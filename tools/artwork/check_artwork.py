#!/usr/bin/env python3
"""Checks the shipped pictures byte by byte: kind, size, pixel format, and the
few colours the window layout relies on. Exits non-zero on the first wrong
file, naming it.

usage: check_artwork.py [REPO_ROOT]
"""

import os
import struct
import sys
import zlib

BG = (0xD8, 0xE3, 0xF3)
NOTE = (0xFF, 0xFF, 0xDA)


class Bad(Exception):
    pass


def read(path):
    with open(path, "rb") as f:
        return f.read()


def png_chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise Bad("not a PNG file")
    pos, chunks = 8, []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind = data[pos + 4 : pos + 8]
        body = data[pos + 8 : pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length : pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise Bad(f"bad CRC in {kind!r}")
        chunks.append((kind, body))
        pos += 12 + length
    return chunks


def png_pixels(chunks, width, height, channels):
    """Undoes the row filters of an 8-bit, non-interlaced image."""
    raw = zlib.decompress(b"".join(b for k, b in chunks if k == b"IDAT"))
    stride = width * channels
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        ftype, line = raw[pos], bytearray(raw[pos + 1 : pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
            elif ftype != 0:
                raise Bad(f"unknown filter {ftype}")
        rows.append(bytes(line))
        prev = line
    return rows


def check_png(path, width, height, colour_type, flat=None):
    chunks = png_chunks(read(path))
    kinds = [k for k, _ in chunks]
    if kinds[0] != b"IHDR" or kinds[-1] != b"IEND":
        raise Bad("IHDR must come first and IEND last")
    extra = set(kinds) - {b"IHDR", b"IDAT", b"IEND"}
    if extra:
        raise Bad(f"unexpected chunks {sorted(extra)}")
    w, h, depth, ctype, comp, filt, lace = struct.unpack(">IIBBBBB", chunks[0][1])
    if (w, h, depth, ctype, comp, filt, lace) != (width, height, 8, colour_type, 0, 0, 0):
        raise Bad(f"IHDR {w}x{h} depth {depth} type {ctype} interlace {lace}")
    channels = 3 if colour_type == 2 else 4
    rows = png_pixels(chunks, w, h, channels)
    if flat is not None and any(r != bytes(flat) * w for r in rows):
        raise Bad("not one flat colour")
    if colour_type == 6:
        alphas = {r[i] for r in rows for i in range(3, len(r), 4)}
        if not (alphas & set(range(1, 255))):
            raise Bad("no partly transparent pixels")
    return f"PNG {w}x{h} type {ctype}"


def bmp_rows(path):
    data = read(path)
    if data[:2] != b"BM":
        raise Bad("not a BMP file")
    (size, offset) = struct.unpack("<I4xI", data[2:14])
    hsize, w, h, planes, bits, comp = struct.unpack("<IiiHHI", data[14:34])
    if size != len(data):
        raise Bad(f"file size field {size} != {len(data)}")
    if hsize != 40 or planes != 1 or bits != 24 or comp != 0:
        raise Bad(f"header {hsize}, {bits} bits, compression {comp}")
    stride = (w * 3 + 3) // 4 * 4
    if offset + stride * abs(h) > len(data):
        raise Bad("pixel data cut short")
    rows = [data[offset + i * stride : offset + i * stride + w * 3] for i in range(abs(h))]
    if h > 0:
        rows.reverse()  # bottom-up
    return w, abs(h), rows


def pixel(rows, x, y):
    b, g, r = rows[y][x * 3 : x * 3 + 3]
    return (r, g, b)


def check_bmp(path, width, height, flat=None, corners=None):
    w, h, rows = bmp_rows(path)
    if (w, h) != (width, height):
        raise Bad(f"size {w}x{h}")
    if flat is not None:
        want = bytes((flat[2], flat[1], flat[0])) * w
        if any(r != want for r in rows):
            raise Bad("not one flat colour")
    if corners is not None:
        for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            if pixel(rows, x, y) != corners:
                raise Bad(f"corner {x},{y} is {pixel(rows, x, y)}")
    return f"BMP {w}x{h} 24-bit"


def check_ico(path, width, height):
    data = read(path)
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if (reserved, kind, count) != (0, 1, 1):
        raise Bad(f"ICONDIR {reserved},{kind},{count}")
    ew, eh, colours, _, planes, bits, size, offset = struct.unpack("<BBBBHHII", data[6:22])
    if (ew, eh, colours, planes, bits) != (width, height, 0, 1, 24):
        raise Bad(f"entry {ew}x{eh} {bits} bits")
    if offset + size != len(data):
        raise Bad("entry size/offset do not match the file")
    hsize, w, h2, planes, bits, comp = struct.unpack("<IiiHHI", data[offset : offset + 20])
    if (hsize, w, h2, planes, bits, comp) != (40, width, 2 * height, 1, 24, 0):
        raise Bad(f"DIB header {w}x{h2} {bits} bits compression {comp}")
    xor = (width * 3 + 3) // 4 * 4 * height
    mask = (width + 31) // 32 * 4 * height
    if size != 40 + xor + mask:
        raise Bad(f"image size {size}, expected {40 + xor + mask}")
    return f"ICO {width}x{height} 24-bit + mask"


def main(argv):
    root = argv[1] if len(argv) > 1 else os.getcwd()
    p = os.path.join(root, "resources", "pictures")
    d = os.path.join(root, "resources", "DeskTopBG")
    checks = [
        (os.path.join(root, "resources", "Tabulon.ico"), check_ico, (44, 46)),
        (os.path.join(d, "A1.bmp"), check_bmp, (1920, 1080)),
        (os.path.join(d, "A2.bmp"), check_bmp, (1920, 1080)),
        (os.path.join(d, "A.bmp"), check_bmp, (350, 300, NOTE)),
    ]
    # Skin pictures at 96 DPI and at 150 % and 200 % (sizes rounded half up).
    for suffix, scale in (("", 2), ("_150", 3), ("_200", 4)):
        def px(n):
            return (n * scale + 1) // 2

        def at(name):
            return os.path.join(p, name + suffix)

        checks += [
            (at("bg") + ".png", check_png, (px(416), px(289), 2, BG)),
            (at("logo") + ".bmp", check_bmp, (px(200), px(57), None, BG)),
            (at("apptodesk") + ".bmp", check_bmp, (px(84), px(29), None, BG)),
            (at("addtodesk") + ".bmp", check_bmp, (px(200), px(93))),
        ]
        for name in ("close_normal", "close_highlight", "close_down"):
            checks.append((at(name) + ".png", check_png, (px(39), px(20), 6)))
        for name in ("mini_normal", "mini_highlight", "mini_down"):
            checks.append((at(name) + ".png", check_png, (px(28), px(20), 6)))

    failed = 0
    for path, check, args in checks:
        rel = os.path.relpath(path, root)
        try:
            print(f"ok   {rel}: {check(path, *args)}")
        except (Bad, OSError, struct.error, zlib.error) as e:
            print(f"FAIL {rel}: {e}", file=sys.stderr)
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
