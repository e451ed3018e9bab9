#include "base/Resample.h"

#include "base/Exception.h"

#include <cstddef>
#include <cstdint>

// stb_image_resize (public domain): a separable polyphase resampler with
// Mitchell and Catmull-Rom kernels, sRGB-aware and alpha-weighted.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

namespace tabulon {

namespace {

size_t PixelBytes(int width, int height) {
    if (width <= 0 || height <= 0)
        throw Exception(L"Cannot resample a picture of " + std::to_wstring(width) + L" x " +
                        std::to_wstring(height) + L" pixels");
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    // The resampler counts bytes in int.
    if (w > SIZE_MAX / 4 / h || w * h > INT32_MAX / 4)
        throw Exception(L"Picture too large to resample");
    return w * h * 4;
}

} // namespace

std::vector<uint8_t> ResampleRgba(const std::vector<uint8_t>& pixels, int width, int height,
                                  int newWidth, int newHeight) {
    const size_t have = PixelBytes(width, height);
    const size_t want = PixelBytes(newWidth, newHeight);
    if (pixels.size() < have) throw Exception(L"Picture data shorter than its size");
    if (newWidth == width && newHeight == height)
        return std::vector<uint8_t>(pixels.begin(), pixels.begin() + static_cast<ptrdiff_t>(have));
    std::vector<uint8_t> out(want);
    if (!stbir_resize_uint8_srgb(pixels.data(), width, height, width * 4, out.data(), newWidth,
                                 newHeight, newWidth * 4, 4, 3, 0))
        throw Exception(L"Out of memory: cannot resample a picture");
    return out;
}

} // namespace tabulon
