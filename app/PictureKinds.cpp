#include "app/PictureKinds.h"

#include "png/PngGraphic.h"
#include "base/GraphicRegistry.h"
#include "ui/Picture.h"

namespace tabulon {

void RegisterPictureKinds() {
    RegisterToolkitGraphics();
    GraphicFactory png = [] { return std::unique_ptr<TGraphic>(std::make_unique<TPngGraphic>()); };
    RegisterGraphicClass("TPngGraphic", png);
    RegisterFileFormat("png", L"Portable Network Graphics", png);
}

} // namespace tabulon
