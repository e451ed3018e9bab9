#pragma once
// The decoded image as top-down RGBA bytes: the colours the bitmap shows
// (through its colour table where it has one) and the alpha of the image
// (alpha plane, or the palette's tRNS alpha; 255 otherwise).
#include "png/PngGraphic.h"

#include <cstdint>
#include <vector>

namespace tabulon {

// Raises EPNGHeaderNotPresent without a header.
std::vector<uint8_t> DecodedRgba(const TPngGraphic& image);

} // namespace tabulon
