#pragma once
// The note picture: the note's lines drawn on a small pale-yellow bitmap,
// which the composition lays over the desktop background.
#include "compose/ScreenFit.h"
#include "ui/Bitmap.h"
#include "base/Color.h"
#include "codec/LineList.h"

namespace tabulon {

// The pale yellow (#FFFFDA) of the note, in the window and in the picture alike.
constexpr TColor kNotePaperColor = 0x00DAFFFF;

// Makes `bitmap` a pale-yellow picture of the placement's size with every
// line of `lines` drawn as typed in the window-text colour ("&" and tabs as
// such), wrapped within the text area as the editor wraps, in a face with
// Chinese glyphs at the placement's character height, smoothed in grey. A
// note longer than the picture ends with "…" on its last whole line.
void RenderNotePicture(const WideLineList& lines, TBitmap& bitmap,
                       const NotePlacement& placement = NotePlacement{});

} // namespace tabulon
