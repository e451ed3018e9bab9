#!/usr/bin/env python3
"""Checks the pin's pictures.

check_mix.py MIX BACKGROUND NOTE WEIGHT [TOLERANCE]: every pixel of MIX equals
the note pixel blended over the background pixel beneath it inside the note's
rectangle at (background width - 402, 30), and the background pixel elsewhere;
with TOLERANCE, each channel within that much (a background worked out by
another decoder and resampler).
check_mix.py --ink NOTE: the 350 x 300 note picture holds text on its pale
yellow paper.
"""
import math
import struct
import sys


def read_bmp(path):
    """Uncompressed 24-bit BMP -> (width, height, rows top-down of bytes B,G,R)."""
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise SystemExit(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise SystemExit(f"{path}: {bits} bits, compression {compression}; expected 24-bit BI_RGB")
    stride = (width * 3 + 3) & ~3
    rows = [data[offset + y * stride: offset + y * stride + width * 3] for y in range(abs(height))]
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def mix_table(weight):
    s = f32(weight / 5.0)
    f = f32(2.0 - s)
    return [[math.trunc((f * a + s * b) / 2) & 0xFF for b in range(256)] for a in range(256)]


def check_mix(mix_path, bg_path, note_path, weight, tolerance=0):
    mw, mh, mix = read_bmp(mix_path)
    bw, bh, bg = read_bmp(bg_path)
    nw, nh, note = read_bmp(note_path)
    if (mw, mh) != (bw, bh):
        print(f"Mix.bmp is {mw}x{mh}, the background {bw}x{bh}")
        return 1
    table = mix_table(weight)
    left, top = bw - 402, 30
    bad = 0
    for y in range(bh):
        want = bytearray(bg[y])
        j = y - top
        if 0 <= j < nh:
            for i in range(max(0, -left), min(nw, bw - left)):
                for c in range(3):
                    k = (left + i) * 3 + c
                    want[k] = table[note[j][i * 3 + c]][bg[y][k]]
        if tolerance:
            worst = max(abs(a - b) for a, b in zip(want, mix[y]))
            if worst > tolerance:
                bad += 1
                if bad <= 3:
                    print(f"Mix.bmp row {y} is off by up to {worst}")
        elif bytes(want) != mix[y]:
            bad += 1
            if bad <= 3:
                x = next(k for k in range(len(want)) if want[k] != mix[y][k]) // 3
                print(f"Mix.bmp row {y} differs first at x = {x}")
    return 1 if bad else 0


def check_ink(note_path):
    w, h, rows = read_bmp(note_path)
    if (w, h) != (350, 300):
        print(f"the note picture is {w}x{h}")
        return 1
    paper = bytes([0xDA, 0xFF, 0xFF])
    ink = sum(1 for row in rows for x in range(w) if row[x * 3: x * 3 + 3] != paper)
    return 0 if ink > 50 else 1


if __name__ == "__main__":
    if sys.argv[1] == "--ink":
        sys.exit(check_ink(sys.argv[2]))
    sys.exit(check_mix(sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]),
                       int(sys.argv[5]) if len(sys.argv) > 5 else 0))
