// Feeds arbitrary bytes to the PNG class: it must decode or raise one of its
// errors, never crash, hang or read outside the input. What decodes is also
// read out, copied and asked for its transparency. CRCs are not checked, so
// that mutations reach inflate, unfiltering and conversion; the pixel limit is
// low so that every input stays quick: the readouts below cost four bytes a
// pixel twice over, and a few tiny IDAT bytes can stand for a huge image.
#include "png/PngGraphic.h"
#include "png/PngRgba.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tabulon::TPngGraphic image;
    image.ReadSettings.checkCrc = false;
    image.ReadSettings.maxPixelBytes = 16u << 20;
    tabulon::TMemoryStream stream(data, size);
    try {
        image.DecodeFromStream(stream);
    } catch (const tabulon::Exception&) {
        return 0;
    }
    const auto rgba = tabulon::DecodedRgba(image);
    if (rgba.size() != size_t(image.PixelWidth()) * image.PixelHeight() * 4) std::abort();
    image.TransparencyKind();
    image.TransparentKey();
    tabulon::TPngGraphic copy;
    copy.CopyImageFrom(image);
    if (tabulon::DecodedRgba(copy) != rgba) std::abort();
    return 0;
}
