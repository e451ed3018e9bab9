#include "png/Crc32.h"

#include <array>

namespace tabulon {

namespace {

// tables[0] is the classic 256-entry table; tables[1..7] let the loop below
// take 8 bytes per step ("slicing by 8"), several times faster on image data.
using TCrcTables = std::array<std::array<uint32_t, 256>, 8>;

TCrcTables MakeCrcTables() {
    TCrcTables tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
        for (size_t t = 1; t < tables.size(); ++t)
            tables[t][n] = tables[0][tables[t - 1][n] & 0xFF] ^ (tables[t - 1][n] >> 8);
    return tables;
}

} // namespace

uint32_t UpdateCrc(uint32_t crc, const uint8_t* data, size_t size) {
    static const TCrcTables tables = MakeCrcTables();
    while (size >= 8) {
        const uint32_t low = crc ^ (uint32_t(data[0]) | uint32_t(data[1]) << 8 |
                                    uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24);
        crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
              tables[4][low >> 24] ^ tables[3][data[4]] ^ tables[2][data[5]] ^ tables[1][data[6]] ^
              tables[0][data[7]];
        data += 8;
        size -= 8;
    }
    for (size_t i = 0; i < size; ++i)
        crc = tables[0][(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

} // namespace tabulon
