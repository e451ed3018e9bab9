#pragma once
// Resampling of RGBA pictures to another size, for drawing skin pictures at
// a display scale none of their stored variants matches.
#include <cstdint>
#include <vector>

namespace tabulon {

// `pixels` holds width x height pixels, 4 bytes each (R, G, B, A), rows top
// down with no gaps. Returns the picture at newWidth x newHeight in the same
// layout: filtered in linear light, colours weighted by their alpha, so that
// transparent pixels lend no colour to their neighbours. Throws Exception
// for a size of 0 or less, a size product that overflows, or too few pixels.
std::vector<uint8_t> ResampleRgba(const std::vector<uint8_t>& pixels, int width, int height,
                                  int newWidth, int newHeight);

} // namespace tabulon
