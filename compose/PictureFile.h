#pragma once
// Pictures of the user's own (a wallpaper of any kind) decoded into plain
// 24-bit rows, through the system's imaging component (WIC: BMP, JPEG, PNG,
// GIF, TIFF, ICO and whatever codecs the system has besides), or, for the
// program's own kinds where the system's decoder gives up, through them.
#include "base/Exception.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tabulon {

// "The picture cannot be read" with the file's name and the reason.
TABULON_EXCEPTION_CLASS(EPictureError);

// B, G, R rows, top down, `stride` bytes apart. `sourceWidth` and
// `sourceHeight` are the picture's own size, which a reduced decode keeps
// the shape of.
struct BgrPicture {
    int width = 0, height = 0;
    int sourceWidth = 0, sourceHeight = 0;
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
// The smallest size of a picture of the given size that the caller can use.
// Where the system's decoder can reduce while decoding (a JPEG's own scaled
// decode, on Windows), the picture comes at least that large, and no
// larger than its own size.
using UsefulSize = std::function<std::pair<int, int>(int width, int height)>;
BgrPicture DecodePictureFile(const std::wstring& path, const UsefulSize& useful = {});

} // namespace tabulon
