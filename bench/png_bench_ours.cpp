// Our decoder as the benchmark calls it: one TPngGraphic per decode, as the
// picture loader does.
#include "png/PngGraphic.h"
#include "base/Stream.h"

#include <vector>

bool DecodeOurs(const std::vector<uint8_t>& png) {
    try {
        tabulon::TPngGraphic image;
        tabulon::TMemoryStream stream(png.data(), png.size());
        image.DecodeFromStream(stream);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
