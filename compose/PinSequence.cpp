#include "compose/PinSequence.h"

#include "compose/Wallpaper.h"

#include <cstring>

namespace tabulon {

std::wstring NextBackgroundFile(const TDeskBGSetFrm& dialog) {
    return dialog.UseSecondBackground == 0 ? L"source\\DeskTopBG\\A1.bmp"
                                           : L"source\\DeskTopBG\\A2.bmp";
}

namespace {

// Makes `composite` a copy of `background`. When it already holds a bitmap of
// that size (the previous pin's composite) its pixel memory is reused: fresh
// memory for a 4K picture costs more than the copy itself.
void CopyBackground(TPicture& composite, const TPicture& background) {
    auto* held = dynamic_cast<TBitmap*>(composite.Graphic());
    const auto* source = dynamic_cast<const TBitmap*>(background.Graphic());
    if (held && source && held->Width() == source->Width() && held->Height() == source->Height() &&
        held->Stride() == source->Stride()) {
        std::memcpy(held->ScanLine(0), source->ScanLine(0),
                    held->Stride() * size_t(held->Height()));
        return;
    }
    composite.Assign(background);
}

} // namespace

bool ComposeDesktopBackground(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview) {
    TPicture& background = dialog.imgPicBG->Picture();
    if (background.Width() <= 0 || background.Height() <= 0) return false;
    TPicture& composite = preview.imgPreview->Picture();
    CopyBackground(composite, background);
    const int weight = CompositionWeight(dialog.TrackBar1.Position, dialog.UseSecondBackground);
    // Both images size themselves to their pictures, so their widths are the pictures' widths.
    const int x =
        NoteLeft(dialog.imgPicBG->Width(), dialog.imgPicMix->Width(), dialog.scbBG->Left());
    BlendNoteOnto(composite.Bitmap(), background.Bitmap(), dialog.imgPicMix->Picture().Bitmap(),
                  weight, x, kNoteTopMargin);
    return true;
}

void PinNoteToDesktop(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview,
                      const std::wstring& programFolder) {
    dialog.MakeNotePicture();
    dialog.BackgroundFile = programFolder + NextBackgroundFile(dialog);
    dialog.NotePictureFile = programFolder + L"source\\DeskTopBG\\Content.bmp";
    dialog.LoadBackgroundPicture(dialog.BackgroundFile);
    dialog.LoadNotePicture(dialog.NotePictureFile);
    dialog.UseSecondBackground = dialog.UseSecondBackground == 0 ? 1 : 0;
    // With no background ever loaded the composite would be an empty picture;
    // the user has been told the load failed, and the wallpaper stays as it is.
    if (!ComposeDesktopBackground(dialog, preview)) return;
    const std::wstring mixFile = dialog.DeskBGPath + L"Mix.bmp";
    preview.imgPreview->Picture().SaveToFile(mixFile);
    dialog.SetDesktopWallpaper(mixFile);
}

} // namespace tabulon
