#pragma once
// The PNG CRC-32 (reflected polynomial 0xEDB88320), computed by zlib, plus the
// big-endian reads of the chunk fields.
#include <cstddef>
#include <cstdint>

namespace tabulon {

// Continues a running CRC register (start with kCrcStart, complement at the end).
uint32_t UpdateCrc(uint32_t crc, const uint8_t* data, size_t size);

inline constexpr uint32_t kCrcStart = 0xFFFFFFFF;

inline uint32_t Crc32(const uint8_t* data, size_t size) {
    return ~UpdateCrc(kCrcStart, data, size);
}

inline uint32_t ReadBigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace tabulon
