#pragma once
// Shared helpers of the PNG tests.
#include "PngBuilder.h"
#include "png/PngGraphic.h"
#include "png/PngRgba.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tabulon::test {

inline std::unique_ptr<TPngGraphic> Decode(const Bytes& bytes) {
    auto image = std::make_unique<TPngGraphic>();
    TMemoryStream stream(bytes.data(), bytes.size());
    image->DecodeFromStream(stream);
    return image;
}

// Decodes `bytes` expecting exception class E; returns its message ("" if none
// or another class was raised, which fails the test).
template <class E> std::wstring DecodeError(const Bytes& bytes, TPngGraphic* into = nullptr) {
    TPngGraphic local;
    TPngGraphic& image = into ? *into : local;
    TMemoryStream stream(bytes.data(), bytes.size());
    try {
        image.DecodeFromStream(stream);
    } catch (const E& e) {
        return e.Message();
    } catch (const Exception& e) {
        ADD_FAILURE() << "raised " << e.ClassName() << ": " << e.what();
        return L"";
    }
    ADD_FAILURE() << "decoded without an error";
    return L"";
}

// Unfiltered rows of an 8-bit grey image of one value.
inline Bytes GreyRows(uint32_t width, uint32_t height, uint8_t value = 0x40) {
    Bytes raw(size_t(height) * (width + 1), value);
    for (uint32_t y = 0; y < height; ++y)
        raw[size_t(y) * (width + 1)] = 0; // filter None
    return raw;
}

} // namespace tabulon::test
