#pragma once
// The colour types a PNG header may name.
#include <cstdint>

namespace tabulon {

inline constexpr uint8_t kColourGrey = 0, kColourRgb = 2, kColourIndexed = 3, kColourGreyAlpha = 4,
                         kColourRgbAlpha = 6;

} // namespace tabulon
