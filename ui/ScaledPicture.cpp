#include "ui/ScaledPicture.h"

#include "base/DisplayScale.h"
#include "base/GraphicRegistry.h"
#include "base/Resample.h"
#include "png/PngRgba.h"
#include "ui/RgbaPicture.h"

#include <string>

namespace tabulon {

namespace {

constexpr int kVariantPercents[] = {100, 150, 200};

std::vector<uint8_t> RgbaOf(const TGraphic& source) {
    if (const auto* png = dynamic_cast<const TPngGraphic*>(&source)) return DecodedRgba(*png);
    if (const auto* bmp = dynamic_cast<const TBitmap*>(&source)) {
        std::vector<uint8_t> rgba;
        rgba.reserve(size_t(bmp->Width()) * size_t(bmp->Height()) * 4);
        for (int y = 0; y < bmp->Height(); ++y) {
            const uint8_t* row = bmp->ScanLine(y);
            for (int x = 0; x < bmp->Width(); ++x, row += 3)
                rgba.insert(rgba.end(), {row[2], row[1], row[0], 255});
        }
        return rgba;
    }
    throw EInvalidGraphic(
        L"Cannot resample a picture of kind " +
        std::wstring(source.ClassName(),
                     source.ClassName() + std::char_traits<char>::length(source.ClassName())));
}

} // namespace

std::unique_ptr<TGraphic> ResampledGraphic(const TGraphic& source, int width, int height) {
    std::vector<uint8_t> rgba =
        ResampleRgba(RgbaOf(source), source.Width(), source.Height(), width, height);
    return std::make_unique<TRgbaPicture>(width, height, std::move(rgba));
}

void LoadScaledPicture(TPicture& picture, const wchar_t* name, int dpi, int width, int height) {
    const int percent = kVariantPercents[NearestScaleVariant(kVariantPercents, dpi)];
    std::wstring resource = name;
    if (percent != 100) resource += L"_" + std::to_wstring(percent);
    TPicture variant;
    variant.LoadFromResource(resource.c_str());
    const TGraphic* g = variant.Graphic();
    if (g && (g->Width() != width || g->Height() != height) && width > 0 && height > 0)
        picture.SetGraphic(ResampledGraphic(*g, width, height));
    else
        picture.Assign(variant);
}

} // namespace tabulon
