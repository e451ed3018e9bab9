#pragma once
// A tiny PNG writer for tests: chunks with real CRCs, zlib-compressed image
// data, rows with chosen filters, Adam7 passes, and IDAT splitting.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tabulon::test {

using Bytes = std::vector<uint8_t>;

Bytes Deflate(const Bytes& raw, int level = 6);
uint32_t PngCrc(const std::string& type, const Bytes& data);
Bytes BigEndian32(uint32_t value);

class PngBuilder {
  public:
    PngBuilder(); // starts with the signature
    PngBuilder& Chunk(const std::string& type, const Bytes& data);
    PngBuilder& ChunkWithCrc(const std::string& type, const Bytes& data, uint32_t crc);
    PngBuilder& Ihdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                     uint8_t interlace = 0, uint8_t compression = 0);
    // The compressed data in IDAT chunks of at most `piece` bytes (0: one chunk).
    PngBuilder& Idat(const Bytes& compressed, size_t piece = 0);
    PngBuilder& Iend();
    PngBuilder& Raw(const Bytes& bytes);
    const Bytes& Get() const { return bytes_; }

  private:
    Bytes bytes_;
};

// An image given as one sample value per channel and pixel.
struct TestImage {
    uint32_t width = 0, height = 0;
    uint8_t depth = 8, colourType = 0;
    // channels * width * height samples, row-major, each below 2^depth.
    std::vector<uint16_t> samples;

    unsigned Channels() const;
    uint16_t Sample(uint32_t x, uint32_t y, unsigned c) const {
        return samples[(size_t(y) * width + x) * Channels() + c];
    }
};

// Random samples (fixed seed) for a colour type and depth.
TestImage RandomImage(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                      unsigned seed = 1);

// Filtered scanlines: `filter` 0-4 for every row, or -1 to cycle 0..4.
Bytes Scanlines(const TestImage& image, int filter = 0, bool interlaced = false);

// A whole PNG of `image` (PLTE of 256 entries added for palette images).
Bytes EncodePng(const TestImage& image, int filter = 0, bool interlaced = false,
                size_t idatPiece = 0);

} // namespace tabulon::test
