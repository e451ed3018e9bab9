#pragma once
// The background of a pin on the user's own picture: the picture the primary
// monitor showed before the first pin (as PreviousWallpaper recorded it),
// laid out at the screen's size as the desktop showed it, with the recorded
// position and colour. Where that picture cannot be had, a copy of the
// desktop's picture kept when the record was made stands in, or the plain
// recorded colour.
#include "codec/DesktopRecord.h"
#include "desktop/DesktopWallpaper.h"
#include "compose/ScreenFit.h"
#include "compose/WallpaperLayout.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "ui/Bitmap.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tabulon {

class UserBackground {
  public:
    // The copy of the desktop's picture, under the program folder.
    static constexpr const wchar_t* kCopyRelativePath = L"Data\\PreviousWallpaper.img";

    enum class Source { UserPicture, DesktopCopy, PlainColour };

    // `programFolder` ends with a backslash; `mixFile` is our composite.
    UserBackground(std::wstring programFolder, std::wstring mixFile);

    // Makes `out` the background for `screen` (`desktop`: every monitor, for
    // Span). The picture is decoded once and its laid-out copy kept while
    // the file, the screen and the record stay as they are. `notice` receives
    // one sentence telling the user which background stands in for their
    // picture, the first time in this run that one does; empty otherwise.
    // Throws EPictureError, with `out` untouched, when the user's picture is
    // gone or cannot be decoded and no copy stands in; EFOpenError when the
    // record cannot be read.
    Source Prepare(DesktopWallpaper& desktop, const Screen& screen, const ScreenRect& desktopArea,
                   TBitmap& out, std::wstring& notice);

    // The picture the last Prepare used; empty for the plain colour.
    const std::wstring& PicturePath() const { return key_.path; }

    // Starts laying out, on a thread of its own, the user's picture that the
    // next pin will compose onto, so that the pin finds it ready instead of
    // decoding a phone photo while the user waits. Best effort: a picture
    // that fails here fails the pin, which reports it. Throws EFOpenError
    // when the record cannot be read.
    void PrepareAhead(DesktopWallpaper& desktop, const Screen& screen,
                      const ScreenRect& desktopArea);
    // Waits until the work PrepareAhead started is done.
    void FinishAhead();
    ~UserBackground() { FinishAhead(); }
    UserBackground(const UserBackground&) = delete;
    UserBackground& operator=(const UserBackground&) = delete;

  private:
    struct Key {
        std::wstring path;
        FileStamp stamp;
        int width = 0, height = 0;
        WallpaperPosition position = WallpaperPosition::Fill;
        uint32_t color = 0;
        ScreenRect desktop;
        bool operator==(const Key&) const = default;
    };
    // Rows of B, G, R, BmpStride24(width) apart, as a TBitmap holds them.
    using Pixels = std::vector<uint8_t>;
    // Where a pin on `record` takes its background from: `path` is the
    // primary monitor's picture, empty for the plain colour; `unknown` when
    // the shell's cache was shown (a slideshow, Spotlight) or nothing is
    // recorded.
    struct Aim {
        Key key;
        bool unknown = false;
    };
    static Aim AimAt(const std::optional<DesktopRecord>& record, DesktopWallpaper& desktop,
                     const Screen& screen, const ScreenRect& desktopArea);
    // Decodes and lays out; called on the ahead thread too, so touches no member.
    static Pixels Paint(const Key& key);
    // The work PrepareAhead started: its thread writes `pixels` or `error`,
    // read once the thread has ended.
    struct Ahead {
        Key key;
        Pixels pixels;
        std::exception_ptr error;
    };
    static unsigned long __stdcall RunAhead(void* ahead);
    void LayOut(const Key& key, TBitmap& out);

    std::wstring programFolder_, mixFile_;
    Key key_;
    bool laidOut_ = false;
    Pixels laidOutPicture_;
    std::unique_ptr<Ahead> ahead_;
    KernelObject aheadThread_;
    std::wstring told_; // the last notice given
};

// After a pin has recorded the desktop anew: keeps a copy of the picture
// the desktop shows (the shell's own current picture) under the program
// folder for UserBackground, or removes an older copy when there is none.
// Best effort: a copy that cannot be made is left out.
void KeepDesktopPictureCopy(DesktopWallpaper& desktop, const std::wstring& programFolder);

} // namespace tabulon
