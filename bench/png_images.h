#pragma once
// Large benchmark images, written with libpng so that every row picks its own
// filter (all five types appear), and the images of the PNG suite.
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct NamedImage {
    std::string name;
    std::vector<uint8_t> bytes; // the PNG file
};

// 4096 × 4096 RGB 8, RGBA 8, palette 8, grey 16 and interlaced RGBA 8.
std::vector<NamedImage> MakeLargeImages(int size);

// Every .png file of `folder`, sorted by name.
std::vector<NamedImage> LoadFolder(const std::string& folder);

// The concatenated IDAT payload of a PNG file and the size of its inflated data.
std::vector<uint8_t> IdatStream(const std::vector<uint8_t>& png, size_t* inflatedSize);

} // namespace bench
