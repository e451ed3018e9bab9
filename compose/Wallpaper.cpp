#include "compose/Wallpaper.h"

#include "compose/CBmp.h"
#include "platform/FileIO.h"

namespace tabulon {

int CompositionWeight(int trackBarPosition, int useSecondBackground) {
    return useSecondBackground == 1 ? trackBarPosition : trackBarPosition + 2;
}

int NoteLeft(int backgroundWidth, int noteWidth, int scrollBoxLeft) {
    return backgroundWidth - noteWidth - 2 + scrollBoxLeft - 50;
}

void ComposeWallpaper(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x,
                      int y) {
    composite.Assign(background);
    BlendNoteOnto(composite, background, note, weight, x, y);
}

void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x,
                   int y) {
    BlendNoteOnto(composite, background, note, weight, x, y, x, y);
}

void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x, int y,
                   int beneathX, int beneathY) {
    if (composite.Empty()) return;
    // Handle() takes the bitmaps out of their canvases first: GetDIBits wants
    // them deselected.
    HBITMAP noteBitmap = note.Handle();
    HBITMAP backgroundBitmap = background.Handle();
    BlendBitmaps(noteBitmap, backgroundBitmap, composite.Canvas(), weight, x, y, beneathX,
                 beneathY);
    ::GdiFlush();
}

unsigned long InstallDesktopWallpaper(const std::wstring& path) noexcept {
    // SPIF_SENDCHANGE: Explorer redraws the desktop now, not at the next sign-in.
    if (::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                                SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return 0;
    const unsigned long code = ::GetLastError();
    return code ? code : ERROR_ACCESS_DENIED;
}

std::wstring CurrentDesktopWallpaper() {
    wchar_t path[MAX_PATH * 2] = {};
    if (!::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 2, path, 0)) return L"";
    return path;
}

bool SameFilePath(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    const std::wstring fullA = FullFilePath(a), fullB = FullFilePath(b);
    return ::CompareStringOrdinal(fullA.c_str(), int(fullA.size()), fullB.c_str(),
                                  int(fullB.size()), TRUE) == CSTR_EQUAL;
}

} // namespace tabulon
