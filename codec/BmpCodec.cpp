#include "codec/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <string>

namespace tabulon {
namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5,
                   kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14, kCoreHeaderSize = 12, kInfoHeaderSize = 40;

[[noreturn]] void Fail(const std::wstring& message) {
    throw EBmpError(message);
}

uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void Put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v), Put16(p + 2, v >> 16);
}

struct Rgb {
    uint8_t b = 0, g = 0, r = 0;
};

// One channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0, bits = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m);
        if ((m >> shift) != (uint32_t(-1) >> (32 - bits)))
            Fail(L"Bitmap has a colour mask whose bits are not contiguous.");
    }
    uint8_t operator()(uint32_t pixel) const {
        if (!bits) return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return uint8_t(v >> (bits - 8));
        uint32_t max = (uint32_t(1) << bits) - 1;
        return uint8_t((v * 255 + max / 2) / max);
    }
};

struct Header {
    int32_t width = 0, height = 0;
    bool topDown = false, core = false;
    uint32_t bpp = 0, compression = 0, sizeImage = 0, colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    size_t headerEnd = 0; // first byte after the info header (and separate masks)
};

Header ReadHeader(const uint8_t* data, size_t size) {
    if (size < kFileHeaderSize + 4) Fail(L"File is too short to be a bitmap.");
    if (data[0] != 'B' || data[1] != 'M') Fail(L"File is not a bitmap (no \"BM\" signature).");
    const uint32_t infoSize = Le32(data + kFileHeaderSize);
    const uint8_t* info = data + kFileHeaderSize;
    Header h;
    uint32_t planes = 0;
    if (infoSize == kCoreHeaderSize) {
        if (size < kFileHeaderSize + kCoreHeaderSize) Fail(L"Bitmap header is truncated.");
        h.core = true;
        h.width = Le16(info + 4);
        h.height = Le16(info + 6);
        planes = Le16(info + 8);
        h.bpp = Le16(info + 10);
    } else if (infoSize >= kInfoHeaderSize && infoSize <= 1024) {
        if (size - kFileHeaderSize < infoSize) Fail(L"Bitmap header is truncated.");
        h.width = int32_t(Le32(info + 4));
        h.height = int32_t(Le32(info + 8));
        planes = Le16(info + 12);
        h.bpp = Le16(info + 14);
        h.compression = Le32(info + 16);
        h.sizeImage = Le32(info + 20);
        h.colorsUsed = Le32(info + 32);
    } else {
        Fail(L"Bitmap header has an unknown size (" + std::to_wstring(infoSize) + L" bytes).");
    }
    h.headerEnd = kFileHeaderSize + infoSize;

    if (h.width < 0) Fail(L"Bitmap has a negative width.");
    if (h.width == 0 || h.height == 0) Fail(L"Bitmap has no pixels (zero width or height).");
    if (h.height == std::numeric_limits<int32_t>::min()) Fail(L"Bitmap height is out of range.");
    if (h.height < 0) h.topDown = true, h.height = -h.height;
    if (planes != 1)
        Fail(L"Bitmap has " + std::to_wstring(planes) + L" colour planes; only 1 is valid.");

    switch (h.compression) {
    case kBiRgb:
        if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24 &&
            (h.core || (h.bpp != 16 && h.bpp != 32)))
            Fail(L"Bitmap has an unsupported depth of " + std::to_wstring(h.bpp) +
                 L" bits per pixel.");
        if (h.bpp == 16) h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
        if (h.bpp == 32) h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
        break;
    case kBiRle8:
    case kBiRle4:
        if (h.bpp != (h.compression == kBiRle8 ? 8u : 4u))
            Fail(L"Bitmap's run-length compression does not match its depth.");
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        if (h.bpp != 16 && h.bpp != 32)
            Fail(L"Bitmap has colour masks but not 16 or 32 bits per pixel.");
        if (infoSize >= kInfoHeaderSize + 12) {
            for (int i = 0; i < 3; ++i)
                h.masks[i] = Le32(info + kInfoHeaderSize + 4 * i);
        } else {
            // The masks follow a plain info header (an alpha mask too for BI_ALPHABITFIELDS).
            const size_t maskBytes = h.compression == kBiBitfields ? 12 : 16;
            if (size - h.headerEnd < maskBytes) Fail(L"Bitmap colour masks are truncated.");
            for (int i = 0; i < 3; ++i)
                h.masks[i] = Le32(data + h.headerEnd + 4 * i);
            h.headerEnd += maskBytes;
        }
        break;
    case kBiJpeg:
    case kBiPng:
        Fail(L"Bitmaps holding JPEG or PNG data are not supported.");
    default:
        Fail(L"Bitmap has an unknown compression (" + std::to_wstring(h.compression) + L").");
    }
    return h;
}

// The colour table, padded with black up to 256 entries so that any index is safe:
// indexes beyond the stored table read as black, as Windows shows them.
std::vector<Rgb> ReadPalette(const uint8_t* data, size_t size, const Header& h, size_t pixelStart) {
    std::vector<Rgb> palette(256);
    if (h.bpp > 8) return palette;
    const size_t entrySize = h.core ? 3 : 4;
    size_t count = size_t(1) << h.bpp;
    if (h.colorsUsed != 0 && h.colorsUsed < count) count = h.colorsUsed;
    const size_t room = (std::min(pixelStart, size) - h.headerEnd) / entrySize;
    count = std::min(count, room);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + h.headerEnd + i * entrySize;
        palette[i] = Rgb{e[0], e[1], e[2]};
    }
    return palette;
}

// Where the pixels start: the file header's offset, or right after the colour
// table when a writer left the offset at zero.
size_t PixelStart(const uint8_t* data, size_t size, const Header& h) {
    const uint32_t offset = Le32(data + 10);
    if (offset != 0) {
        if (offset < h.headerEnd) Fail(L"Bitmap pixel data overlaps its header.");
        if (offset > size) Fail(L"Bitmap pixel data lies beyond the end of the file.");
        return offset;
    }
    uint64_t entries = 0;
    if (h.bpp <= 8)
        entries = h.colorsUsed && h.colorsUsed < (1u << h.bpp) ? h.colorsUsed : 1u << h.bpp;
    else
        entries = h.colorsUsed;
    const uint64_t start = h.headerEnd + entries * (h.core ? 3 : 4);
    if (start > size) Fail(L"Bitmap colour table is truncated.");
    return size_t(start);
}

// Refuses pictures whose decoded size is beyond `limit` or beyond what memory
// could ever hold, before anything is allocated.
void CheckImageSize(const Header& h, uint64_t limit) {
    const uint64_t stride = BmpStride24(h.width);
    const uint64_t total = stride * uint64_t(h.height); // < 2^33 * 2^31: no overflow
    if (total > limit || total > std::numeric_limits<size_t>::max() / 2)
        Fail(L"Bitmap is too large (" + std::to_wstring(h.width) + L" x " +
             std::to_wstring(h.height) + L" pixels).");
}

BmpImage AllocateImage(const Header& h) {
    BmpImage img;
    img.width = h.width;
    img.height = h.height;
    try {
        img.pixels.assign(BmpStride24(h.width) * size_t(h.height), 0);
    } catch (const std::bad_alloc&) {
        Fail(L"Not enough memory for a bitmap of " + std::to_wstring(h.width) + L" x " +
             std::to_wstring(h.height) + L" pixels.");
    }
    return img;
}

// Where decoded rows go: top-down, `stride` bytes apart.
struct Target {
    uint8_t* rows;
    size_t stride;
    uint8_t* Row(size_t y) const { return rows + y * stride; }
};

// The bytes between the end of a row's pixels and the next row are zero, as in
// a BMP file.
void ClearPadding(const Target& out, const Header& h) {
    const size_t rowBytes = size_t(h.width) * 3;
    if (out.stride == rowBytes) return;
    for (int32_t y = 0; y < h.height; ++y)
        std::fill(out.Row(size_t(y)) + rowBytes, out.Row(size_t(y)) + out.stride, uint8_t(0));
}

void DecodeUncompressed(const uint8_t* src, const Header& h, const std::vector<Rgb>& palette,
                        const Target& out) {
    const size_t srcStride = size_t(((uint64_t(h.width) * h.bpp + 31) / 32) * 4);
    if (h.bpp == 24) {
        // Already B, G, R: whole rows at once.
        const size_t rowBytes = size_t(h.width) * 3;
        for (int32_t row = 0; row < h.height; ++row) {
            const int32_t y = h.topDown ? row : h.height - 1 - row;
            std::memcpy(out.Row(size_t(y)), src + size_t(row) * srcStride, rowBytes);
        }
        return;
    }
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    for (int32_t row = 0; row < h.height; ++row) {
        const uint8_t* s = src + size_t(row) * srcStride;
        const int32_t y = h.topDown ? row : h.height - 1 - row;
        uint8_t* d = out.Row(size_t(y));
        for (int32_t x = 0; x < h.width; ++x, d += 3) {
            Rgb c;
            switch (h.bpp) {
            case 1:
                c = palette[(s[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                c = palette[(s[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
                break;
            case 8:
                c = palette[s[x]];
                break;
            case 24:
                c = Rgb{s[3 * x], s[3 * x + 1], s[3 * x + 2]};
                break;
            case 16: {
                const uint32_t p = Le16(s + 2 * size_t(x));
                c = Rgb{blue(p), green(p), red(p)};
                break;
            }
            default: {
                const uint32_t p = Le32(s + 4 * size_t(x));
                c = Rgb{blue(p), green(p), red(p)};
            }
            }
            d[0] = c.b, d[1] = c.g, d[2] = c.r;
        }
    }
}

// Run-length data (RLE8 or RLE4). Rows run bottom-up unless the height was
// negative; pixels the stream never sets keep the colour of palette entry 0.
// Runs that reach past the right edge are clipped, and drawing stops at the
// last row. A stream that breaks off inside a command is refused; one that
// simply ends without an end-of-bitmap mark leaves the rest unset.
void DecodeRle(const uint8_t* src, size_t avail, const Header& h, const std::vector<Rgb>& palette,
               const Target& out) {
    const bool four = h.compression == kBiRle4;
    const Rgb fill = palette[0];
    for (int32_t row = 0; row < h.height; ++row) {
        uint8_t* d = out.Row(size_t(row));
        for (int32_t x = 0; x < h.width; ++x, d += 3)
            d[0] = fill.b, d[1] = fill.g, d[2] = fill.r;
    }

    const uint64_t width = uint64_t(h.width), height = uint64_t(h.height);
    uint64_t x = 0, y = 0; // y counts rows in stream order
    auto put = [&](uint32_t index) {
        if (x < width && y < height) {
            const uint64_t row = h.topDown ? y : height - 1 - y;
            uint8_t* d = out.Row(size_t(row)) + size_t(x) * 3;
            const Rgb c = palette[index];
            d[0] = c.b, d[1] = c.g, d[2] = c.r;
        }
        ++x;
    };
    auto truncated = [] { Fail(L"Bitmap run-length data is truncated."); };

    size_t pos = 0;
    while (y < height && pos + 2 <= avail) {
        const uint32_t count = src[pos], value = src[pos + 1];
        pos += 2;
        if (count > 0) {
            // Clip the run to the row, so a long run past the edge costs nothing.
            const uint32_t n = x < width ? uint32_t(std::min<uint64_t>(count, width - x)) : 0;
            for (uint32_t i = 0; i < n; ++i)
                put(four ? (i & 1 ? value & 15 : value >> 4) : value);
            x += count - n;
        } else if (value == 0) {
            x = 0, ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (pos + 2 > avail) truncated();
            x += src[pos], y += src[pos + 1];
            pos += 2;
        } else {
            size_t bytes = four ? (value + 1) / 2 : value;
            bytes += bytes & 1; // absolute runs are padded to a 16-bit boundary
            if (pos + bytes > avail) truncated();
            const uint32_t n = x < width ? uint32_t(std::min<uint64_t>(value, width - x)) : 0;
            for (uint32_t i = 0; i < n; ++i)
                put(four ? (i & 1 ? src[pos + i / 2] & 15 : src[pos + i / 2] >> 4) : src[pos + i]);
            x += value - n;
            pos += bytes;
        }
    }
    if (y < height && pos < avail) truncated();
}

} // namespace

namespace {

// A file whose pixels may be decoded: the header is valid and the decoded
// picture is within bounds, so the caller may allocate its rows.
struct Checked {
    Header h;
    size_t pixelStart = 0;
};

Checked Check(const uint8_t* data, size_t size, uint64_t rleLimit = kBmpMaxRleImageBytes) {
    if (!data) size = 0;
    Checked c{ReadHeader(data, size), 0};
    c.pixelStart = PixelStart(data, size, c.h);
    if (c.h.compression == kBiRle8 || c.h.compression == kBiRle4) {
        CheckImageSize(c.h, rleLimit);
        return c;
    }
    // Every row must be in the file before anything is allocated.
    const uint64_t srcStride = ((uint64_t(c.h.width) * c.h.bpp + 31) / 32) * 4;
    if (uint64_t(c.h.height) > (size - c.pixelStart) / srcStride)
        Fail(L"Bitmap pixel data is truncated.");
    CheckImageSize(c.h, std::numeric_limits<uint64_t>::max());
    return c;
}

void DecodeChecked(const uint8_t* data, size_t size, const Checked& c, const Target& out) {
    const std::vector<Rgb> palette = ReadPalette(data, size, c.h, c.pixelStart);
    const uint8_t* src = data + c.pixelStart;
    size_t avail = size - c.pixelStart;
    if (c.h.compression == kBiRle8 || c.h.compression == kBiRle4) {
        // The stream's own length, when the header gives one that fits the file.
        if (c.h.sizeImage != 0 && c.h.sizeImage < avail) avail = c.h.sizeImage;
        DecodeRle(src, avail, c.h, palette, out);
    } else {
        DecodeUncompressed(src, c.h, palette, out);
    }
    ClearPadding(out, c.h);
}

} // namespace

BmpSize ReadBmpSize(const uint8_t* data, size_t size) {
    const Checked c = Check(data, size);
    return BmpSize{c.h.width, c.h.height, c.h.compression == kBiRle8 || c.h.compression == kBiRle4};
}

void DecodeBmpInto(const uint8_t* data, size_t size, uint8_t* topDownRows, size_t stride) {
    const Checked c = Check(data, size);
    if (!topDownRows || stride < BmpStride24(c.h.width))
        Fail(L"No room for the bitmap's rows (stride shorter than a row).");
    DecodeChecked(data, size, c, Target{topDownRows, stride});
}

BmpImage DecodeBmp(const uint8_t* data, size_t size, size_t maxRleImageBytes) {
    const Checked c = Check(data, size, maxRleImageBytes);
    BmpImage img = AllocateImage(c.h);
    DecodeChecked(data, size, c, Target{img.pixels.data(), size_t(BmpStride24(c.h.width))});
    return img;
}

size_t BmpFileBytes24(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) Fail(L"Cannot write a bitmap without pixels.");
    const uint64_t outStride = BmpStride24(width);
    const uint64_t fileBytes = kFileHeaderSize + kInfoHeaderSize + outStride * uint64_t(height);
    if (fileBytes > std::numeric_limits<uint32_t>::max() ||
        fileBytes > std::numeric_limits<size_t>::max() / 2)
        Fail(L"Bitmap is too large to write.");
    return size_t(fileBytes);
}

void EncodeBmp24Part(int32_t width, int32_t height, const uint8_t* topDownRows, size_t stride,
                     size_t offset, uint8_t* out, size_t count) {
    const size_t fileBytes = BmpFileBytes24(width, height);
    const size_t rowBytes = size_t(width) * 3;
    const size_t outStride = (rowBytes + 3) & ~size_t(3);
    if (stride < rowBytes) Fail(L"Bitmap rows overlap (stride shorter than a row).");
    if (!topDownRows) Fail(L"No pixels to write.");
    if (offset > fileBytes || count > fileBytes - offset)
        Fail(L"Bitmap part lies beyond the end of the file.");

    constexpr size_t kHeaderBytes = kFileHeaderSize + kInfoHeaderSize;
    if (offset < kHeaderBytes) {
        uint8_t header[kHeaderBytes] = {};
        header[0] = 'B', header[1] = 'M';
        Put32(header + 2, uint32_t(fileBytes));
        Put32(header + 10, kHeaderBytes);
        uint8_t* info = header + kFileHeaderSize;
        Put32(info, kInfoHeaderSize);
        Put32(info + 4, uint32_t(width));
        Put32(info + 8, uint32_t(height)); // positive: rows stored bottom-up
        Put16(info + 12, 1);
        Put16(info + 14, 24);
        Put32(info + 16, kBiRgb);
        Put32(info + 20, uint32_t(fileBytes - kHeaderBytes));
        const size_t n = std::min(count, kHeaderBytes - offset);
        std::memcpy(out, header + offset, n);
        out += n, offset += n, count -= n;
    }
    // File row r (from the bottom) is picture row height - 1 - r; `at` is the
    // position inside that file row.
    size_t r = (offset - kHeaderBytes) / outStride, at = (offset - kHeaderBytes) % outStride;
    while (count > 0) {
        const uint8_t* row = topDownRows + size_t(height - 1) * stride - r * stride;
        if (at < rowBytes) {
            const size_t n = std::min(count, rowBytes - at);
            std::memcpy(out, row + at, n);
            out += n, at += n, count -= n;
        }
        const size_t pad = std::min(count, outStride - at);
        std::fill(out, out + pad, uint8_t(0));
        out += pad, at += pad, count -= pad;
        if (at == outStride) ++r, at = 0;
    }
}

std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* topDownRows,
                                 size_t stride) {
    std::vector<uint8_t> out(BmpFileBytes24(width, height));
    EncodeBmp24Part(width, height, topDownRows, stride, 0, out.data(), out.size());
    return out;
}

} // namespace tabulon
