#pragma once
// The note picture: the note's lines drawn on a small pale-yellow bitmap,
// which the composition lays over the desktop background.
#include "ui/Bitmap.h"
#include "base/Color.h"
#include "codec/LineList.h"

namespace tabulon {

constexpr int kNotePictureWidth = 350;
constexpr int kNotePictureHeight = 300;
constexpr TColor kNotePaperColor = 0x00DAFFFF; // pale yellow

// The text area: it reaches 10 pixels below the picture, so the picture's
// bottom edge is what cuts the text.
constexpr RECT kNoteTextArea{10, 20, 340, 310};

// Makes `bitmap` a 350 x 300 pale-yellow picture with every line of `lines`
// drawn in the window-text colour, long lines wrapped at word boundaries.
void RenderNotePicture(const WideLineList& lines, TBitmap& bitmap);

} // namespace tabulon
