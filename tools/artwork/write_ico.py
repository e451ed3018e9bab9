#!/usr/bin/env python3
"""Writes a one-image Windows icon at 24 bits per pixel with a 1-bit AND mask.

ImageMagick writes icons at 32 bits (or 8) and rounds odd sizes, so the icon
is assembled here from raw RGBA bytes.

usage: write_ico.py INPUT.rgba WIDTH HEIGHT OUTPUT.ico
"""

import struct
import sys

# Pixels at least this opaque are kept; fainter ones become transparent through
# the AND mask (a 24-bit image has no alpha of its own).
ALPHA_THRESHOLD = 128
# Kept edge pixels that are partly transparent are mixed with this neutral
# light grey, so the anti-aliased rim reads well on light and dark taskbars.
MATTE = (200, 204, 210)


def build_ico(rgba: bytes, width: int, height: int) -> bytes:
    if len(rgba) != width * height * 4:
        raise ValueError(f"expected {width * height * 4} bytes of RGBA, got {len(rgba)}")
    if not (0 < width <= 256 and 0 < height <= 256):
        raise ValueError("icon sides must be 1..256")

    xor_stride = (width * 3 + 3) // 4 * 4
    and_stride = (width + 31) // 32 * 4
    xor = bytearray(xor_stride * height)
    mask = bytearray(and_stride * height)

    # DIB rows run bottom-up.
    for y in range(height):
        row = height - 1 - y
        for x in range(width):
            r, g, b, a = rgba[(y * width + x) * 4 : (y * width + x) * 4 + 4]
            o = row * xor_stride + x * 3
            if a < ALPHA_THRESHOLD:
                mask[row * and_stride + x // 8] |= 0x80 >> (x % 8)
                xor[o : o + 3] = b"\0\0\0"  # transparent: screen AND 1, XOR 0
                continue
            mix = [(c * a + m * (255 - a) + 127) // 255 for c, m in zip((r, g, b), MATTE)]
            xor[o : o + 3] = bytes((mix[2], mix[1], mix[0]))

    image_size = len(xor) + len(mask)
    header = struct.pack(
        "<IiiHHIIiiII", 40, width, height * 2, 1, 24, 0, image_size, 0, 0, 0, 0
    )
    entry = struct.pack(
        "<BBBBHHII",
        width % 256,
        height % 256,
        0,  # no palette
        0,
        1,  # planes
        24,  # bits per pixel
        len(header) + image_size,
        6 + 16,  # the image follows the directory and its one entry
    )
    directory = struct.pack("<HHH", 0, 1, 1)
    return directory + entry + header + bytes(xor) + bytes(mask)


def main(argv: list[str]) -> int:
    if len(argv) != 5:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        rgba = f.read()
    data = build_ico(rgba, int(argv[2]), int(argv[3]))
    with open(argv[4], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
