#include "compose/NotePicture.h"

#include "ui/Font.h"
#include "platform/Handles.h"

namespace tabulon {

void RenderNotePicture(const WideLineList& lines, TBitmap& bitmap) {
    bitmap.SetSize(kNotePictureWidth, kNotePictureHeight);
    HDC dc = bitmap.Canvas();
    const COLORREF paper = ColorToRGB(kNotePaperColor);

    // The canvas DC outlives this call: the guards put its own objects back
    // before the pen, brush and font below are deleted, and its state after.
    GdiPen pen(::CreatePen(PS_SOLID, 1, paper));
    GdiBrush brush(::CreateSolidBrush(paper));
    TFontSpec fontSpec; // the canvas default face and charset, at 10 pt
    fontSpec.height = 13;
    GdiFont font = CreateFontFor(fontSpec);
    SavedDCState saved(dc);
    SelectGuard usePen(dc, pen.Get());
    SelectGuard useBrush(dc, brush.Get());
    SelectGuard useFont(dc, font.Get());

    ::Rectangle(dc, 0, 0, kNotePictureWidth, kNotePictureHeight);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(fontSpec.color));
    const std::wstring text = lines.Text();
    RECT area = kNoteTextArea;
    ::DrawTextW(dc, text.c_str(), int(text.size()), &area, DT_WORDBREAK);
    ::GdiFlush();
}

} // namespace tabulon
