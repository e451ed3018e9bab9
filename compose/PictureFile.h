#pragma once
// Pictures of the user's own (a wallpaper of any kind) decoded into plain
// 24-bit rows, through the system's imaging component (WIC: BMP, JPEG, PNG,
// GIF, TIFF, ICO and whatever codecs the system has besides), or, for the
// program's own kinds where the system's decoder gives up, through them.
#include "base/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tabulon {

// "The picture cannot be read" with the file's name and the reason.
TABULON_EXCEPTION_CLASS(EPictureError);

// B, G, R rows, top down, `stride` bytes apart.
struct BgrPicture {
    int width = 0, height = 0;
    size_t stride = 0;
    std::vector<uint8_t> pixels;
    const uint8_t* Row(int y) const { return pixels.data() + size_t(y) * stride; }
};

// The first frame of the picture file at `path`. A picture of more than
// kMaxDecodedPixels is halved while it is decoded until it is not (its
// shape stays). COM must be initialised on the calling thread. Throws
// EPictureError when the file is gone, cannot be read or holds no picture
// that can be decoded.
inline constexpr uint64_t kMaxDecodedPixels = 100'000'000;
BgrPicture DecodePictureFile(const std::wstring& path);

} // namespace tabulon
