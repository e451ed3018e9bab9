#pragma once
// The abstract picture kind that image controls hold. Portable declaration:
// drawing takes the device context as an opaque handle so that pictures that
// decode without Windows (PNG) can live in the portable library.
#include "base/Stream.h"

#include <memory>

namespace tabulon {

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// An HDC, passed opaquely through portable code.
using NativeDC = void*;

class TGraphic {
  public:
    virtual ~TGraphic() = default;
    // The class name stored in form layouts ("TBitmap", "TPngGraphic").
    virtual const char* ClassName() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // Drawn leaving some pixels out (PNG transparency; a bitmap's bottom-left colour).
    virtual bool Transparent() const { return false; }
    virtual void LoadFromStream(TStream& stream) = 0;
    // Draws into `rect` of `dc`. The default draws nothing (portable builds).
    virtual void Draw(NativeDC dc, const TRect& rect);
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
};

} // namespace tabulon
