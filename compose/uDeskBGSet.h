#pragma once
// TDeskBGSetFrm: the background settings dialog. It is created hidden and
// never shown: the pin command uses its fields, image controls and routines
// as the workspace of the desktop composition.
#include "desktop/DesktopWallpaper.h"
#include "compose/ScreenFit.h"
#include "compose/UserBackground.h"
#include "ui/Form.h"
#include "ui/GraphicControls.h"
#include "codec/LineList.h"
#include "ui/WinControl.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

// Two texts of one cell of a month table; nothing in the program fills them.
struct TMonthCon {
    std::wstring day;
    std::wstring note;
};

// The dialog's blend-weight track bar. It is hidden and nothing moves it, so
// it is only its value.
struct TTrackBarValue {
    int Position = 2;
    int Min = 0;
    int Max = 10;
    bool Visible = false;
};

class TDeskBGSetFrm : public TForm {
  public:
    TDeskBGSetFrm();

    void FormCreate() override;
    void FormDestroy() override;

    // Draws NoteLines into the note picture, 350 x 300 scaled to PinScreen's
    // DPI, and writes it to DeskBGPath + "Content.bmp". Throws EFCreateError
    // when it cannot be written.
    void MakeNotePicture();
    // Load a picture file into imgPicBG / imgPicMix. A failed load is reported
    // with "加载失败！" and leaves the image with the picture it held; nothing
    // is thrown, so the pin goes on.
    void LoadBackgroundPicture(const std::wstring& FileName);
    void LoadNotePicture(const std::wstring& FileName);
    // Makes `Path` the primary monitor's picture, position Fill; a slideshow
    // this stops is told through ShowNotice. Throws EWallpaperError when the
    // system refuses: a pin that did not take is not a success.
    void SetDesktopWallpaper(const std::wstring& Path);

    // The desktop the pin works on: OpenDesktopWallpaper by default; tests
    // put a stand-in here.
    std::function<std::shared_ptr<DesktopWallpaper>()> OpenDesktop;
    // Measures the screen a pin composes for. The primary monitor by default;
    // tests put a screen of their own here.
    std::function<Screen()> MeasureScreen;

    // The whole desktop (every monitor) in the primary monitor's pixels, for
    // a user's picture spanned over all of them.
    std::function<ScreenRect()> MeasureDesktop;

    // Reports a failed picture load. By default a message box, which blocks:
    // tests put a recorder here instead.
    std::function<void(const std::wstring& message)> ShowLoadFailure;
    // Tells the user something that is no failure; a message box by default.
    std::function<void(const std::wstring& message)> ShowNotice;

    // The controls of the layout that the composition works with; the rest
    // (pngBG, scbBG, lblTouming, btnOk, btnCancel, btnPicPreview,
    // btnNotePicture) belong to a dialog nobody sees and are reached by name
    // when wanted (Find).
    TImage* imgPicBG = nullptr;
    TImage* imgPicMix = nullptr;
    TTrackBarValue TrackBar1;

    // The composition workspace.
    std::wstring BackgroundFile;
    std::wstring NotePictureFile;
    std::wstring DeskBGPath;
    int32_t UseSecondBackground = 0;
    WideLineList NoteLines;
    // The screen the last composition was made for, and whether a pin has
    // composed one in this run (a display change then composes again).
    Screen PinScreen;
    bool Composed = false;
    // Pins go onto the user's own picture instead of A1.bmp / A2.bmp (the
    // options menu's choice), and whether the last composition did.
    bool PinOnUserPicture = false;
    bool ComposedOnUserPicture = false;
    // The user's picture laid out for the screen; made by the first pin on it.
    std::unique_ptr<UserBackground> UserPicture;
    std::vector<TMonthCon> MonthCells;
};

extern TDeskBGSetFrm* DeskBGSetFrm;

} // namespace tabulon
