#pragma once
// TOlePicture: icons, metafiles and JPEG pictures, decoded by the system's
// OLE picture object (OleLoadPicture).
#include "base/Graphic.h"
#include "platform/ComPtr.h"

#include <cstdint>
#include <vector>

struct IPicture;

namespace tabulon {

class TOlePicture : public TGraphic {
  public:
    TOlePicture();
    ~TOlePicture() override;
    TOlePicture(const TOlePicture&) = delete;
    TOlePicture& operator=(const TOlePicture&) = delete;

    const char* ClassName() const override { return "TOlePicture"; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !picture_; }
    // Reads the whole rest of the stream; throws EInvalidGraphic when the
    // system cannot make a picture of it.
    void LoadFromStream(TStream& stream) override;
    void Draw(NativeDC dc, const TRect& rect) override;
    std::unique_ptr<TGraphic> Clone() const override;

  private:
    void LoadBytes(std::vector<uint8_t> bytes);

    std::vector<uint8_t> bytes_; // kept for Clone
    ComPtr<IPicture> picture_;
    int width_ = 0, height_ = 0;
};

} // namespace tabulon
