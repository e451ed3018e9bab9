#include "compose/uDeskBGSet.h"

#include "base/Texts.h"
#include "compose/NotePicture.h"
#include "desktop/PreviousWallpaper.h"
#include "desktop/ScreenMetrics.h"
#include "ui/Application.h"
#include "platform/FileIO.h"
#include "ui/Layout.h"
#include "platform/WorkFolder.h"

namespace tabulon {

TDeskBGSetFrm* DeskBGSetFrm = nullptr;

namespace {

const TFormSpec kForm{
    .caption = kDeskBGSetCaption,
    .width = 1020,
    .height = 734,
    .borderless = false,
    .color = clWhite,
};

constexpr int kMonthCellCount = 42; // six weeks of seven days

const TFontSpec kLabelFont{.name = kSimSunFontName, .height = 12, .charset = GB2312_CHARSET};

// In z-order within each parent. The work area (scbBG and its two images) is
// what the composition reads; the rest belongs to a dialog nobody sees.
const TControlSpec kLayout[] = {
    {.kind = TControlKind::Panel, .name = "pngBG", .width = 1020, .height = 734, .color = clWhite},
    {.kind = TControlKind::ScrollBox,
     .name = "scbBG",
     .parent = "pngBG",
     .width = 1012,
     .height = 650,
     .color = clWhite},
    {.kind = TControlKind::Image,
     .name = "imgPicBG",
     .parent = "scbBG",
     .width = 1016,
     .height = 684,
     .autoSize = true},
    {.kind = TControlKind::Image,
     .name = "imgPicMix",
     .parent = "scbBG",
     .left = 335,
     .top = 2,
     .width = 660,
     .height = 500,
     .autoSize = true,
     .transparent = true},
    {.kind = TControlKind::Label,
     .name = "lblTouming",
     .parent = "pngBG",
     .left = 16,
     .top = 760,
     .color = clWhite,
     .autoSize = true,
     .transparent = true,
     .caption = kTransparencyLabel,
     .font = &kLabelFont},
    {.kind = TControlKind::XPButton,
     .name = "btnOk",
     .parent = "pngBG",
     .left = 700,
     .top = 664,
     .width = 90,
     .height = 28,
     .caption = kOkButton,
     .hint = kOkButtonHint},
    {.kind = TControlKind::XPButton,
     .name = "btnCancel",
     .parent = "pngBG",
     .left = 900,
     .top = 664,
     .width = 90,
     .height = 28,
     .caption = kCancelButton},
    {.kind = TControlKind::XPButton,
     .name = "btnPicPreview",
     .parent = "pngBG",
     .left = 800,
     .top = 664,
     .width = 90,
     .height = 28,
     .visible = false,
     .caption = kPreviewButton},
    {.kind = TControlKind::XPButton,
     .name = "btnNotePicture",
     .parent = "pngBG",
     .left = 560,
     .top = 664,
     .width = 120,
     .height = 28,
     .visible = false,
     .caption = kNotePictureButton},
};

} // namespace

TDeskBGSetFrm::TDeskBGSetFrm() : TForm("DeskBGSetFrm", kForm) {
    BuildLayout(*this, kLayout);
    imgPicBG = &Find<TImage>("imgPicBG");
    imgPicMix = &Find<TImage>("imgPicMix");
}

void TDeskBGSetFrm::FormCreate() {
    DeskBGPath = BackgroundFolderIn(WorkFolder());
    MonthCells.assign(kMonthCellCount, TMonthCon{});
    NoteLines.Clear();
    UseSecondBackground = 0;
    MeasureScreen = MeasurePrimaryScreen;
    MeasureDesktop = MeasureDesktopArea;
    OpenDesktop = [] { return std::shared_ptr<DesktopWallpaper>(OpenDesktopWallpaper()); };
    PinScreen = Screen{};
    Composed = false;
    PinOnUserPicture = ComposedOnUserPicture = false;
    UserPicture.reset();
    ShowLoadFailure = [](const std::wstring& message) {
        // No owner, task-modal: the main window is disabled while the box is
        // open, so the pin button cannot start a second pin underneath it.
        ::MessageBoxW(nullptr, message.c_str(), Application.Title().c_str(), MB_OK | MB_TASKMODAL);
    };
    ShowNotice = [](const std::wstring& message) { Application.ShowNotice(message); };
}

void TDeskBGSetFrm::FormDestroy() {
    NoteLines.Clear();
}

void TDeskBGSetFrm::MakeNotePicture() {
    TBitmap picture;
    RenderNotePicture(NoteLines, picture, NotePlacementFor(PinScreen));
    picture.SaveToFile(DeskBGPath + L"Content.bmp");
}

namespace {

// Loads `fileName` into `image`; on any failure reports it and keeps the old picture.
void LoadPictureOrReport(TDeskBGSetFrm& dialog, TImage& image, const std::wstring& fileName) {
    try {
        image.Picture().LoadFromFile(fileName);
        return;
    } catch (...) {
        // Every kind of failure (no such file, unknown extension, bad data,
        // no memory) ends the same way: the user is told, the pin goes on.
    }
    if (dialog.ShowLoadFailure) dialog.ShowLoadFailure(kLoadFailedText);
    dialog.Hide();
}

} // namespace

void TDeskBGSetFrm::LoadBackgroundPicture(const std::wstring& FileName) {
    LoadPictureOrReport(*this, *imgPicBG, FileName);
}

void TDeskBGSetFrm::LoadNotePicture(const std::wstring& FileName) {
    LoadPictureOrReport(*this, *imgPicMix, FileName);
}

void TDeskBGSetFrm::SetDesktopWallpaper(const std::wstring& Path) {
    const PinOutcome outcome = PinToPrimaryMonitor(*OpenDesktop(), Path);
    if (outcome == PinOutcome::PinnedStoppingSlideshow && ShowNotice)
        ShowNotice(kSlideshowPausedText);
}

} // namespace tabulon
