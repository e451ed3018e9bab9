#include "compose/UserBackground.h"

#include "base/LongPath.h"
#include "base/Texts.h"
#include "codec/BmpCodec.h"
#include "codec/DesktopRecord.h"
#include "compose/PictureFile.h"
#include "desktop/PreviousWallpaper.h"
#include "platform/ComApartment.h"

#include <windows.h>

#include <cstring>

namespace tabulon {

namespace {

// The shell's own copy of the wallpaper in force (Windows 8 and later name
// it without an extension, Windows 7 as a JPEG); empty where there is none.
std::wstring ShellCurrentPicture() {
    wchar_t appData[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return L"";
    const std::wstring themes = std::wstring(appData) + L"\\Microsoft\\Windows\\Themes\\";
    for (const wchar_t* name : {L"TranscodedWallpaper", L"TranscodedWallpaper.jpg"})
        if (FileExists(themes + name)) return themes + name;
    return L"";
}

std::wstring Extended(const std::wstring& path) {
    return ExtendedLengthPath(FullFilePath(path));
}

} // namespace

UserBackground::UserBackground(std::wstring programFolder, std::wstring mixFile)
    : programFolder_(std::move(programFolder)), mixFile_(std::move(mixFile)) {}

UserBackground::Pixels UserBackground::Paint(const Key& key) {
    // The picture's own size decides the layout; the decoder may hand it
    // over reduced to no less than the size it is laid out at.
    const UsefulSize useful = [&key](int w, int h) {
        const ScreenRect r =
            LayOutWallpaper(key.position, w, h, key.width, key.height, key.desktop).picture;
        return std::pair{r.Width(), r.Height()};
    };
    BgrPicture picture;
    if (!key.path.empty()) picture = DecodePictureFile(key.path, useful);
    const size_t stride = size_t(BmpStride24(key.width));
    Pixels laidOut(stride * size_t(key.height));
    const PictureLayout layout =
        LayOutWallpaper(key.position, picture.sourceWidth, picture.sourceHeight, key.width,
                        key.height, key.desktop);
    if (!PaintWallpaper(picture.pixels.data(), picture.width, picture.height, picture.stride,
                        layout, key.color, laidOut.data(), key.width, key.height, stride))
        throw EPictureError(PictureTooLargeForScreenText(key.path));
    return laidOut;
}

void UserBackground::LayOut(const Key& key, TBitmap& out) {
    if (!laidOut_ || !(key == key_)) {
        laidOut_ = false;
        if (ahead_ && key == ahead_->key) {
            // The work done ahead, or its failure, stands for a decode here.
            FinishAhead();
            const std::unique_ptr<Ahead> ahead = std::move(ahead_);
            if (ahead->error) std::rethrow_exception(ahead->error);
            laidOutPicture_ = std::move(ahead->pixels);
        } else {
            laidOutPicture_ = Paint(key);
        }
        key_ = key;
        laidOut_ = true;
    }
    if (out.Width() != key.width || out.Height() != key.height) out.SetSize(key.width, key.height);
    std::memcpy(out.ScanLine(0), laidOutPicture_.data(), laidOutPicture_.size());
}

UserBackground::Aim UserBackground::AimAt(const std::optional<DesktopRecord>& record,
                                          DesktopWallpaper& desktop, const Screen& screen,
                                          const ScreenRect& desktopArea) {
    Aim aim;
    Key& key = aim.key;
    key.width = screen.width;
    key.height = screen.height;
    key.position = record && record->position ? *record->position : WallpaperPosition::Fill;
    key.color = record && record->color ? *record->color : desktop.BackgroundColor();
    if (key.position == WallpaperPosition::Span) key.desktop = desktopArea;
    const MonitorPicture* primary = nullptr;
    if (record)
        for (const MonitorPicture& m : record->pictures)
            if (m.primary) primary = &m;
    aim.unknown =
        !record || !primary || record->slideshow.running || IsShellWallpaperCache(primary->picture);
    if (!aim.unknown) key.path = primary->picture;
    return aim;
}

UserBackground::Source UserBackground::Prepare(DesktopWallpaper& desktop, const Screen& screen,
                                               const ScreenRect& desktopArea, TBitmap& out,
                                               std::wstring& notice) {
    notice.clear();
    const Aim aim =
        AimAt(PreviousWallpaper(programFolder_, mixFile_).Recorded(), desktop, screen, desktopArea);
    Key key = aim.key;
    const bool unknown = aim.unknown;
    const std::wstring copy = programFolder_ + kCopyRelativePath;
    auto useCopy = [&] {
        key.path = copy;
        if (!GetFileStamp(copy, key.stamp)) return false;
        try {
            LayOut(key, out);
            return true;
        } catch (const EPictureError&) {
            return false; // as if there were no copy
        }
    };
    auto tell = [&](const std::wstring& text) {
        if (text != told_) notice = told_ = text;
    };
    if (!unknown && !key.path.empty()) {
        try {
            // No stamp (a file gone, for one): decoded afresh, which says why.
            if (!GetFileStamp(key.path, key.stamp)) laidOut_ = false;
            LayOut(key, out);
            told_.clear();
            return Source::UserPicture;
        } catch (const EPictureError& e) {
            if (!useCopy()) throw EPictureError(BackgroundKeptText(e.Message()), e.SystemCode());
            tell(OnDesktopCopyText(e.Message()));
            return Source::DesktopCopy;
        }
    }
    if (unknown && useCopy()) {
        tell(UnknownSourceOnDesktopCopyText());
        return Source::DesktopCopy;
    }
    key.path.clear();
    key.stamp = FileStamp{};
    LayOut(key, out);
    tell(unknown ? kUnknownOnColourText : kOnColourText);
    return Source::PlainColour;
}

void UserBackground::PrepareAhead(DesktopWallpaper& desktop, const Screen& screen,
                                  const ScreenRect& desktopArea) {
    Key key = AimAt(PreviousWallpaper(programFolder_, mixFile_).RecordForNextPin(desktop), desktop,
                    screen, desktopArea)
                  .key;
    // Only the user's own picture is worth it: a colour or the shell's copy
    // (the screen's size at most) is laid out at once.
    if (key.path.empty() || !GetFileStamp(key.path, key.stamp)) return;
    if ((laidOut_ && key == key_) || (ahead_ && key == ahead_->key)) return;
    FinishAhead();
    ahead_ = std::make_unique<Ahead>(Ahead{key, {}, {}});
    aheadThread_.Reset(::CreateThread(nullptr, 0, RunAhead, ahead_.get(), 0, nullptr));
    if (!aheadThread_) ahead_.reset(); // the pin decodes, then
}

unsigned long __stdcall UserBackground::RunAhead(void* work) {
    Ahead& ahead = *static_cast<Ahead*>(work);
    const ComApartment com(COINIT_MULTITHREADED);
    try {
        ahead.pixels = Paint(ahead.key);
    } catch (...) {
        ahead.error = std::current_exception();
    }
    return 0;
}

void UserBackground::FinishAhead() {
    if (!aheadThread_) return;
    ::WaitForSingleObject(aheadThread_.Get(), INFINITE);
    aheadThread_.Reset();
}

void KeepDesktopPictureCopy(DesktopWallpaper& desktop, const std::wstring& programFolder) {
    const std::wstring copy = programFolder + UserBackground::kCopyRelativePath;
    ::DeleteFileW(Extended(copy).c_str());
    std::wstring shown;
    for (const MonitorPicture& m : desktop.Monitors())
        if (m.primary) shown = m.picture;
    if (shown.empty()) return; // a plain colour: nothing to keep
    // A slideshow's or Spotlight's picture is the shell's cache itself.
    const std::wstring source = IsShellWallpaperCache(shown) ? shown : ShellCurrentPicture();
    if (!source.empty() && FileExists(source))
        ::CopyFileW(Extended(source).c_str(), Extended(copy).c_str(), FALSE);
}

} // namespace tabulon
