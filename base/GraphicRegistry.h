#pragma once
// The picture kinds the program knows: by class name (for pictures stored in
// form layouts) and by file extension (for the picture loader). Kinds
// register themselves at start-up. Portable: no Windows headers.
#include "base/Exception.h"
#include "base/Graphic.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tabulon {

// Unknown picture kind, extension or malformed layout picture data.
TABULON_EXCEPTION_CLASS(EInvalidGraphic);

using GraphicFactory = std::unique_ptr<TGraphic> (*)();

// `className` as layouts store it ("TBitmap"); a second call replaces the first.
void RegisterGraphicClass(std::string_view className, GraphicFactory factory);
// `extension` without the dot; matched in any case ("bmp" finds "A1.BMP").
void RegisterFileFormat(std::string_view extension, std::wstring_view description,
                        GraphicFactory factory);

// Null when nothing is registered under that name or extension.
GraphicFactory FindGraphicClass(std::string_view className);
GraphicFactory FindFileFormat(std::wstring_view extension);

// The extension of a file name (after the last dot of its last component),
// empty when it has none.
std::wstring FileExtension(std::wstring_view path);

// A layout picture: one length byte, that many bytes of class name, then the
// kind's own data (a BMP file for TBitmap, a PNG stream for TPngGraphic).
struct LayoutPicture {
    std::string className;
    size_t dataOffset = 0;
};
// Throws EInvalidGraphic when the bytes are too short for their name.
LayoutPicture ParseLayoutPicture(const uint8_t* data, size_t size);

// A new picture of the stored kind, loaded from the stored data.
// Throws EInvalidGraphic for an unknown kind, or the kind's own errors.
std::unique_ptr<TGraphic> ReadLayoutPicture(const uint8_t* data, size_t size);

} // namespace tabulon
