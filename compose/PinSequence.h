#pragma once
// Pinning the note to the desktop, after the main window has copied the
// note's lines into the settings dialog: note picture, background choice,
// loading, composition, Mix.bmp and the wallpaper setting.
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"

#include <string>

namespace tabulon {

// Background file of the next pin, relative to the program folder: "A1.bmp"
// while the dialog's flag is 0, "A2.bmp" otherwise.
std::wstring NextBackgroundFile(const TDeskBGSetFrm& dialog);

// The composite for the dialog's PinScreen: imgPreview receives the
// background held by imgPicBG fitted to the screen (scaled to cover it,
// centred; unchanged when it has the screen's size), and the note picture of
// imgPicMix is blended into it at the weight the (already flipped) flag
// selects, at the note's place on that screen, each note pixel over the
// fitted background pixel beneath it. A PinScreen without a size stands for
// the background's own size at 96 DPI. False, with imgPreview untouched, when
// imgPicBG has never held a picture: there is nothing to lay the note on.
bool ComposeDesktopBackground(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview);

// Makes the note the primary monitor's wallpaper: its picture, drawn for the
// screen of the moment, blended into the next of the two shipped backgrounds
// (they alternate through the dialog's flag, each with its own weight)
// and written to DeskBGPath + "Mix.bmp". The desktop in force is recorded
// before anything of it changes (unless it is our own Mix.bmp), so that it can
// be restored; Mix.bmp goes through a temporary file, so a failed write leaves
// the previous one whole. A picture that fails to load is reported and the pin
// goes on with the one held before; any other failure (Content.bmp, the record
// or Mix.bmp not written, the wallpaper refused) is thrown and ends the pin at
// that step. `programFolder` ends with a backslash. With the dialog's
// PinOnUserPicture on, the background is the user's own picture laid out for
// the screen (UserBackground), at the lighter weight on every pin, and the
// desktop is recorded first, since the record names that picture; the flag
// still flips. A picture that cannot be had and has nothing standing in for it
// ends the pin (EPictureError) before Mix.bmp is written, the desktop as it was.
void PinNoteToDesktop(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview,
                      const std::wstring& programFolder);

// Starts laying out the user's picture for the screen on a thread of its
// own, so that the next pin with PinOnUserPicture on finds it ready
// (UserBackground::PrepareAhead). Best effort: what fails is left for the
// pin to report.
void PrepareUserPictureAhead(TDeskBGSetFrm& dialog, const std::wstring& programFolder);

// After a change of the screen's size or DPI: when a pin has composed in this
// run, the screen now differs from the one it composed for, and our Mix.bmp
// is still the wallpaper, composes again for the new screen with the last
// pin's background (the user's picture laid out afresh) and weight (the
// alternation does not advance), writes
// Mix.bmp and sets it again. True when it did.
bool RecomposeForNewScreen(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview);

} // namespace tabulon
