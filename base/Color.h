#pragma once
// Colour values as layouts store them: 0x00BBGGRR, or a system colour when
// the high byte is 0xFF (the low byte is then the system colour index).
#include <cstdint>

namespace tabulon {

using TColor = uint32_t;

constexpr TColor kSystemColorFlag = 0xFF000000u;
constexpr TColor clWindowText = kSystemColorFlag | 8;
constexpr TColor clBtnFace = kSystemColorFlag | 15;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clBlack = 0x00000000;
constexpr TColor clMaroon = 0x00000080;

constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000u) == kSystemColorFlag;
}

} // namespace tabulon
