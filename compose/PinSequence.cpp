#include "compose/PinSequence.h"

#include "compose/NotePicture.h"
#include "desktop/PreviousWallpaper.h"
#include "compose/ScreenFit.h"
#include "desktop/ScreenMetrics.h"
#include "compose/Wallpaper.h"

#include "platform/FileIO.h"

#include <cstring>

namespace tabulon {

std::wstring NextBackgroundFile(const TDeskBGSetFrm& dialog) {
    return dialog.UseSecondBackground == 0 ? L"source\\DeskTopBG\\A1.bmp"
                                           : L"source\\DeskTopBG\\A2.bmp";
}

namespace {

// Makes `composite` the background fitted to width x height. Its pixel memory
// is reused when it already has that size (the previous pin's composite):
// fresh memory for a 4K picture costs more than the copy itself.
void FitBackground(TPicture& composite, TPicture& background, int width, int height) {
    TBitmap& source = background.Bitmap();
    auto* held = dynamic_cast<TBitmap*>(composite.Graphic());
    const bool reuse = held && held->Width() == width && held->Height() == height;
    if (source.Width() == width && source.Height() == height) {
        if (reuse && held->Stride() == source.Stride()) {
            std::memcpy(held->ScanLine(0), source.ScanLine(0), held->Stride() * size_t(height));
            return;
        }
        composite.Assign(background);
        return;
    }
    TBitmap& target = reuse ? *held : composite.Bitmap();
    if (!reuse) target.SetSize(width, height);
    if (!FitToCover(source.ScanLine(0), source.Width(), source.Height(), source.Stride(),
                    target.ScanLine(0), width, height, target.Stride()))
        throw Exception(L"Not enough memory to fit the background to the screen.");
    composite.Changed();
}

// Mix.bmp through a temporary file: a write that fails leaves the previous
// one whole, and the desktop as it was.
void WriteMixFile(TPicture& composite, const std::wstring& path) {
    try {
        composite.Bitmap().SaveToFileReplacing(path);
    } catch (const EFCreateError& e) {
        throw EFCreateError(e.Message() + L" The previous picture is kept, and the desktop too.",
                            e.SystemCode());
    }
}

// The dialog's UserBackground, made on first use.
UserBackground& UserPictureOf(TDeskBGSetFrm& dialog, const std::wstring& programFolder) {
    if (!dialog.UserPicture)
        dialog.UserPicture =
            std::make_unique<UserBackground>(programFolder, dialog.DeskBGPath + L"Mix.bmp");
    return *dialog.UserPicture;
}

// All monitors together, for a Span layout.
ScreenRect DesktopAreaOf(const TDeskBGSetFrm& dialog) {
    return dialog.MeasureDesktop ? dialog.MeasureDesktop() : ScreenRect{};
}

// imgPicBG receives the user's picture laid out for PinScreen (or what
// stands in for it); returns the sentence to tell the user, if any. Throws
// EPictureError, imgPicBG untouched, when there is nothing to compose onto.
std::wstring LayOutUserPicture(TDeskBGSetFrm& dialog, DesktopWallpaper& desktop) {
    std::wstring notice;
    TPicture& background = dialog.imgPicBG->Picture();
    dialog.UserPicture->Prepare(desktop, dialog.PinScreen, DesktopAreaOf(dialog),
                                background.Bitmap(), notice);
    background.Changed();
    dialog.BackgroundFile = dialog.UserPicture->PicturePath();
    dialog.ComposedOnUserPicture = true;
    return notice;
}

// The pin with the choice on: the note onto the user's own picture. The
// desktop is recorded first, since the record names that picture.
void PinOntoUserPicture(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview,
                        const std::wstring& programFolder) {
    dialog.NotePictureFile = programFolder + L"source\\DeskTopBG\\Content.bmp";
    dialog.LoadNotePicture(dialog.NotePictureFile);
    // Still flipped, so that the shipped backgrounds go on alternating when
    // the choice is turned off again.
    dialog.UseSecondBackground = dialog.UseSecondBackground == 0 ? 1 : 0;
    const std::wstring mixFile = dialog.DeskBGPath + L"Mix.bmp";
    const std::shared_ptr<DesktopWallpaper> desktop = dialog.OpenDesktop();
    if (PreviousWallpaper(programFolder, mixFile).RecordBeforePin(*desktop))
        KeepDesktopPictureCopy(*desktop, programFolder);
    if (dialog.PinScreen.width <= 0 || dialog.PinScreen.height <= 0)
        dialog.PinScreen = MeasurePrimaryScreen();
    UserPictureOf(dialog, programFolder);
    const std::wstring notice = LayOutUserPicture(dialog, *desktop);
    if (!ComposeDesktopBackground(dialog, preview)) return;
    WriteMixFile(preview.imgPreview->Picture(), mixFile);
    dialog.SetDesktopWallpaper(mixFile);
    if (!notice.empty() && dialog.ShowNotice) dialog.ShowNotice(notice);
}

Screen ScreenFor(const TDeskBGSetFrm& dialog, const TPicture& background) {
    if (dialog.PinScreen.width > 0 && dialog.PinScreen.height > 0) return dialog.PinScreen;
    return WholeScreen(background.Width(), background.Height());
}

} // namespace

bool ComposeDesktopBackground(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview) {
    TPicture& background = dialog.imgPicBG->Picture();
    if (background.Width() <= 0 || background.Height() <= 0) return false;
    const Screen screen = ScreenFor(dialog, background);
    TPicture& composite = preview.imgPreview->Picture();
    FitBackground(composite, background, screen.width, screen.height);
    // One picture of the user's, no alternation: the lighter weight every time.
    const int weight = dialog.ComposedOnUserPicture ? dialog.TrackBar1.Position
                                                    : CompositionWeight(dialog.TrackBar1.Position,
                                                                        dialog.UseSecondBackground);
    const NotePlacement place = NotePlacementFor(screen);
    TBitmap& note = dialog.imgPicMix->Picture().Bitmap();
    // What lies beneath the note, taken before the note covers it.
    TBitmap beneath(note.Width(), note.Height());
    ::BitBlt(beneath.Canvas(), 0, 0, note.Width(), note.Height(), composite.Bitmap().Canvas(),
             place.x, place.y, SRCCOPY);
    BlendNoteOnto(composite.Bitmap(), beneath, note, weight, place.x, place.y, 0, 0);
    composite.Changed();
    dialog.Composed = true;
    return true;
}

void PinNoteToDesktop(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview,
                      const std::wstring& programFolder) {
    dialog.PinScreen = dialog.MeasureScreen ? dialog.MeasureScreen() : Screen{};
    dialog.MakeNotePicture();
    if (dialog.PinOnUserPicture) return PinOntoUserPicture(dialog, preview, programFolder);
    dialog.ComposedOnUserPicture = false;
    dialog.BackgroundFile = programFolder + NextBackgroundFile(dialog);
    dialog.NotePictureFile = programFolder + L"source\\DeskTopBG\\Content.bmp";
    dialog.LoadBackgroundPicture(dialog.BackgroundFile);
    dialog.LoadNotePicture(dialog.NotePictureFile);
    dialog.UseSecondBackground = dialog.UseSecondBackground == 0 ? 1 : 0;
    // With no background ever loaded the composite would be an empty picture;
    // the user has been told the load failed, and the wallpaper stays as it is.
    if (!ComposeDesktopBackground(dialog, preview)) return;
    const std::wstring mixFile = dialog.DeskBGPath + L"Mix.bmp";
    // Before anything of the desktop changes: what to go back to.
    PreviousWallpaper(programFolder, mixFile).RecordBeforePin(*dialog.OpenDesktop());
    WriteMixFile(preview.imgPreview->Picture(), mixFile);
    dialog.SetDesktopWallpaper(mixFile);
}

void PrepareUserPictureAhead(TDeskBGSetFrm& dialog, const std::wstring& programFolder) {
    try {
        const Screen screen =
            dialog.MeasureScreen ? dialog.MeasureScreen() : MeasurePrimaryScreen();
        if (screen.width <= 0 || screen.height <= 0) return;
        UserPictureOf(dialog, programFolder)
            .PrepareAhead(*dialog.OpenDesktop(), screen, DesktopAreaOf(dialog));
    } catch (const std::exception&) {
        // The pin meets it again, and reports it.
    }
}

bool RecomposeForNewScreen(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview) {
    if (!dialog.Composed || !dialog.MeasureScreen) return false;
    const Screen screen = dialog.MeasureScreen();
    if (screen == dialog.PinScreen || screen.width <= 0 || screen.height <= 0) return false;
    const std::wstring mixFile = dialog.DeskBGPath + L"Mix.bmp";
    if (!OnPrimaryMonitor(*dialog.OpenDesktop(), mixFile)) return false;
    dialog.PinScreen = screen;
    dialog.MakeNotePicture();
    dialog.LoadNotePicture(dialog.NotePictureFile);
    // The user's picture is laid out afresh for the new screen.
    if (dialog.ComposedOnUserPicture) LayOutUserPicture(dialog, *dialog.OpenDesktop());
    if (!ComposeDesktopBackground(dialog, preview)) return false;
    WriteMixFile(preview.imgPreview->Picture(), mixFile);
    dialog.SetDesktopWallpaper(mixFile);
    return true;
}

} // namespace tabulon
