#!/usr/bin/env python3
"""Writes small BMP files of every kind the decoder reads into fuzz/corpus/bmp/."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "bmp")
W, H = 5, 3


def info(width, height, bpp, comp=0, size_image=0, clr_used=0, size=40, masks=()):
    body = struct.pack("<iiHHIIiiII", width, height, 1, bpp, comp, size_image, 2835, 2835, clr_used, 0)
    body += b"".join(struct.pack("<I", m) for m in masks)
    hdr = struct.pack("<I", size) + body
    return hdr + b"\0" * (size - len(hdr))


def bmp(header, palette, pixels):
    off = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) + header + palette + pixels


def rows(bpp, width, height, fn):
    out = b""
    stride = ((width * bpp + 31) // 32) * 4
    for y in range(height):
        bits = 0
        nbits = 0
        row = bytearray()
        for x in range(width):
            v = fn(x, y)
            if bpp >= 8:
                row += v.to_bytes(bpp // 8, "little")
            else:
                bits = (bits << bpp) | v
                nbits += bpp
                if nbits == 8:
                    row.append(bits)
                    bits = nbits = 0
        if nbits:
            row.append(bits << (8 - nbits))
        out += bytes(row) + b"\0" * (stride - len(row))
    return out


def pal(n, entry=4):
    return b"".join(bytes([i * 37 & 255, i * 91 & 255, i * 13 & 255] + [0] * (entry - 3)) for i in range(n))


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {}
    for bpp in (1, 4, 8):
        n = 1 << bpp
        pix = rows(bpp, W, H, lambda x, y: (x + y) % n)
        files[f"pal{bpp}.bmp"] = bmp(info(W, H, bpp), pal(n), pix)
        files[f"pal{bpp}_short.bmp"] = bmp(info(W, H, bpp, clr_used=2), pal(2), pix)
        files[f"core{bpp}.bmp"] = bmp(struct.pack("<IHHHH", 12, W, H, 1, bpp), pal(n, 3), pix)
    files["rgb24.bmp"] = bmp(info(W, -H, 24), b"", rows(24, W, H, lambda x, y: x * 0x10203 + y))
    files["rgb16.bmp"] = bmp(info(W, H, 16), b"", rows(16, W, H, lambda x, y: x * 0x421 + y))
    files["rgb32.bmp"] = bmp(info(W, H, 32), b"", rows(32, W, H, lambda x, y: x * 0x10203 + y))
    files["bf565.bmp"] = bmp(info(W, H, 16, comp=3, masks=()), struct.pack("<III", 0xF800, 0x7E0, 0x1F),
                             rows(16, W, H, lambda x, y: x * 0x841 + y))
    files["v5_32.bmp"] = bmp(info(W, H, 32, comp=3, size=124, masks=(0xFF00, 0xFF0000, 0xFF000000, 0xFF)),
                             b"", rows(32, W, H, lambda x, y: x * 0x1020300 + y))
    rle8 = bytes([2, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 1, 1, 2, 5, 0, 1])
    files["rle8.bmp"] = bmp(info(W, H, 8, comp=1, size_image=len(rle8)), pal(8), rle8)
    rle4 = bytes([4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 2, 0, 1, 0x77, 0, 1])
    files["rle4.bmp"] = bmp(info(W, H, 4, comp=2, size_image=len(rle4)), pal(16), rle4)
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
