#pragma once
// Skin pictures at a display scale. Each layout picture is stored three
// times: as drawn for 96 DPI under its own resource name, and at 1.5 and 2
// times that size under the name followed by "_150" and "_200".
#include "ui/Picture.h"

#include <memory>

namespace tabulon {

// A copy of `source` resampled to width x height (a good filter, in linear
// light, weighted by alpha), drawn blended by its alpha. Throws for a kind
// whose pixels cannot be read or for a bad size.
std::unique_ptr<TGraphic> ResampledGraphic(const TGraphic& source, int width, int height);

// Loads into `picture` the variant of the layout picture `name` nearest
// `dpi`, resampled to width x height where its size differs.
void LoadScaledPicture(TPicture& picture, const wchar_t* name, int dpi, int width, int height);

} // namespace tabulon
