#include "png/Crc32.h"

#include <zlib.h>

#include <algorithm>

namespace tabulon {

// zlib's CRC-32 is the PNG one and, with its interleaved tables, about twice
// as fast as a table walk of our own; zlib holds the finished value, our
// callers the running register, hence the complements.
uint32_t UpdateCrc(uint32_t crc, const uint8_t* data, size_t size) {
    uLong value = ~crc & 0xFFFFFFFFu;
    while (size > 0) {
        const uInt piece = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
        value = crc32(value, data, piece);
        data += piece;
        size -= piece;
    }
    return ~static_cast<uint32_t>(value);
}

} // namespace tabulon
