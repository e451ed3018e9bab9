#include "compose/NotePicture.h"

#include "compose/NoteWrap.h"
#include "ui/Font.h"
#include "platform/Handles.h"

#include <algorithm>

namespace tabulon {

namespace {

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

bool FaceInstalled(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    WindowDC screen(nullptr);
    bool found = false;
    ::EnumFontFamiliesExW(screen.Get(), &wanted, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// A face with Chinese glyphs whatever the system's locale, the clearer one
// first. Where neither is installed the default face stays, and the system's
// font linking supplies the Chinese glyphs.
TFontSpec NoteFont(int height) {
    static const wchar_t* const face = []() -> const wchar_t* {
        for (const wchar_t* candidate : {L"Microsoft YaHei", L"SimSun"})
            if (FaceInstalled(candidate)) return candidate;
        return nullptr;
    }();
    TFontSpec font;
    font.height = height;
    if (face) {
        font.name = face;
        font.charset = GB2312_CHARSET;
    }
    return font;
}

// DrawText's own rules for one line: "&" is a character, tabs stop every
// eight average character widths from the line's start.
constexpr UINT kLineFormat = DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS;

int LineWidth(HDC dc, std::wstring_view line) {
    if (line.empty()) return 0;
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, line.data(), int(line.size()), &r, kLineFormat | DT_CALCRECT);
    return r.right - r.left;
}

} // namespace

void RenderNotePicture(const WideLineList& lines, TBitmap& bitmap, const NotePlacement& placement) {
    bitmap.SetSize(placement.width, placement.height);
    HDC dc = bitmap.Canvas();
    const COLORREF paper = ColorToRGB(kNotePaperColor);

    // The canvas DC outlives this call: the guards put its own objects back
    // before the pen, brush and font below are deleted, and its state after.
    GdiPen pen(::CreatePen(PS_SOLID, 1, paper));
    GdiBrush brush(::CreateSolidBrush(paper));
    const TFontSpec fontSpec = NoteFont(placement.fontHeight);
    // Grey smoothing: coloured ClearType fringes would be baked into the wallpaper.
    GdiFont font(::CreateFontW(-fontSpec.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               fontSpec.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               ANTIALIASED_QUALITY, DEFAULT_PITCH, fontSpec.name));
    SavedDCState saved(dc);
    SelectGuard usePen(dc, pen.Get());
    SelectGuard useBrush(dc, brush.Get());
    SelectGuard useFont(dc, font.Get());

    ::Rectangle(dc, 0, 0, placement.width, placement.height);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(fontSpec.color));

    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const int lineHeight = std::max(1, int(metrics.tmHeight));
    const ScreenRect& area = placement.textArea;
    // Only lines that show whole count: the text area reaches below the picture.
    const int bottom = std::min(area.bottom, placement.height);
    const int maxLines = std::max(0, (bottom - area.top) / lineHeight);
    const WrappedNote note = WrapNote(lines.Lines(), area.Width(), maxLines,
                                      [dc](std::wstring_view text) { return LineWidth(dc, text); });
    int y = area.top;
    for (const std::wstring& line : note.lines) {
        RECT r{area.left, y, area.right, area.bottom};
        if (!line.empty()) ::DrawTextW(dc, line.c_str(), int(line.size()), &r, kLineFormat);
        y += lineHeight;
    }
    ::GdiFlush();
}

} // namespace tabulon
