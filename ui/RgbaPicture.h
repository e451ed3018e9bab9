#pragma once
// TRgbaPicture: a picture held as RGBA pixels and drawn at its own size,
// blended over what lies beneath by its alpha. Skin pictures resampled to a
// display scale become one of these.
#include "base/Graphic.h"

#include <cstdint>
#include <vector>

namespace tabulon {

class TRgbaPicture : public TGraphic {
  public:
    // `rgba`: width x height pixels of R, G, B, A bytes, rows top down.
    TRgbaPicture(int width, int height, std::vector<uint8_t> rgba);

    const char* ClassName() const override { return "TRgbaPicture"; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return width_ <= 0 || height_ <= 0; }
    bool Transparent() const override { return !opaque_; }
    // Pictures of this kind are made, never read.
    void LoadFromStream(TStream& stream) override;
    // Draws at the picture's own size from the rectangle's top-left corner.
    void Draw(NativeDC dc, const TRect& rect) override;
    std::unique_ptr<TGraphic> Clone() const override;

    const std::vector<uint8_t>& Pixels() const { return rgba_; }

  private:
    int width_, height_;
    std::vector<uint8_t> rgba_;
    std::vector<uint8_t> bgra_; // the same pixels in the order a DIB holds them
    bool opaque_;
};

} // namespace tabulon
