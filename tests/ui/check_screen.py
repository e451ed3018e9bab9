#!/usr/bin/env python3
"""The pin on a screen of any size and DPI, checked without the resampler.

check_screen.py background OUT SEED: writes a 1920 x 1080 24-bit BMP of flat
blocks (160 x 120, each its own colour) whose top-right part (x >= 1280,
y < 600), where the note lands on every screen, is one flat colour.

check_screen.py mix MIX NOTE WEIGHT WIDTH HEIGHT DPI SEED: MIX, pinned over
that background, has the screen's size; the background is fitted as "Fill"
does (scaled to cover, centred) -- every sampled pixel well inside a block
has the block's colour at the place the fit puts it; the note picture NOTE is
round(350 s) x round(300 s) at (W - round(402 s), round(30 s)), s = DPI / 96,
and each of its pixels in MIX is the blend of NOTE with the flat colour
beneath it, exactly.
"""
import struct
import sys

from check_mix import mix_table, read_bmp

BG_W, BG_H = 1920, 1080
BLOCK_W, BLOCK_H = 160, 120
FLAT_LEFT, FLAT_BOTTOM = 1280, 600


def flat_colour(seed):
    return (0x60 + seed) & 0xFF, 0x90, 0xC0  # B, G, R


def block_colour(bx, by, seed):
    return ((bx * 53 + by * 97 + seed * 31) % 200 + 20, (bx * 29 + by * 11 + seed * 7) % 256,
            (by * 41 + bx * 3 + seed * 13) % 256)


def source_colour(x, y, seed):
    if x >= FLAT_LEFT and y < FLAT_BOTTOM:
        return flat_colour(seed)
    return block_colour(x // BLOCK_W, y // BLOCK_H, seed)


def write_background(path, seed):
    stride = BG_W * 3  # 5760: already a multiple of four
    rows = []
    for y in range(BG_H - 1, -1, -1):  # bottom-up
        row = bytearray()
        for bx in range(0, BG_W, BLOCK_W):
            colour = bytes(source_colour(bx, y, seed))
            # The flat part starts at 1280, a block edge.
            row += colour * BLOCK_W
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, BG_W, BG_H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    assert stride * BG_H == len(pixels)
    open(path, "wb").write(header + info + pixels)


def near_edge(sx, sy, margin):
    """Is the source point within `margin` pixels of a colour edge?"""
    if sx < 0 or sy < 0 or sx >= BG_W or sy >= BG_H:
        return True
    # The picture's own borders are no edges: the fit repeats their pixels.
    edges_x = list(range(BLOCK_W, BG_W, BLOCK_W))
    edges_y = list(range(BLOCK_H, BG_H, BLOCK_H)) + [FLAT_BOTTOM]
    return any(abs(sx - e) < margin for e in edges_x) or any(abs(sy - e) < margin for e in edges_y)


def scaled(value, dpi):
    return (2 * value * dpi + 96) // 192


def check(mix_path, note_path, weight, width, height, dpi, seed):
    mw, mh, mix = read_bmp(mix_path)
    nw, nh, note = read_bmp(note_path)
    failures = 0
    if (mw, mh) != (width, height):
        print(f"Mix.bmp is {mw}x{mh}, the screen {width}x{height}")
        return 1
    if (nw, nh) != (scaled(350, dpi), scaled(300, dpi)):
        print(f"Content.bmp is {nw}x{nh} at {dpi} DPI")
        failures += 1
    left, top = width - scaled(402, dpi), scaled(30, dpi)
    # The fit, worked out here: cover, centred.
    scale = max(width / BG_W, height / BG_H)
    crop_x, crop_y = (BG_W * scale - width) / 2, (BG_H * scale - height) / 2
    bad = 0
    for y in range(0, height, 23):
        for x in range(0, width, 29):
            if left <= x < left + nw and top <= y < top + nh:
                continue
            sx, sy = (x + 0.5 + crop_x) / scale, (y + 0.5 + crop_y) / scale
            if near_edge(sx, sy, 4):
                continue
            want = bytes(source_colour(int(sx), int(sy), seed))
            got = mix[y][x * 3: x * 3 + 3]
            if got != want:
                bad += 1
                if bad <= 3:
                    print(f"Mix.bmp ({x}, {y}): {got.hex()} where the fit puts {want.hex()}")
    table = mix_table(weight)
    flat = flat_colour(seed)
    wrong = 0
    for j in range(nh):
        for i in range(nw):
            for c in range(3):
                want = table[note[j][i * 3 + c]][flat[c]]
                if mix[top + j][(left + i) * 3 + c] != want:
                    wrong += 1
                    if wrong <= 3:
                        print(f"note pixel ({i}, {j}) is not the blend over the background")
    return 1 if bad or wrong or failures else 0


if __name__ == "__main__":
    if sys.argv[1] == "background":
        write_background(sys.argv[2], int(sys.argv[3]))
        sys.exit(0)
    sys.exit(check(sys.argv[2], sys.argv[3], *map(int, sys.argv[4:9])))
