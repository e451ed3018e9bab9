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

// The composite: imgPreview receives a copy of the background held by
// imgPicBG, and the note picture of imgPicMix is blended into it at the
// weight the (already flipped) flag selects, 52 pixels inside the right edge
// and 30 below the top. False, with imgPreview untouched, when imgPicBG has
// never held a picture: there is nothing to lay the note on.
bool ComposeDesktopBackground(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview);

// Renders the note picture, loads the background and the note picture
// (reporting a failed load and going on with the previous picture), flips
// the flag, composes, writes DeskBGPath + "Mix.bmp" and installs it as the
// wallpaper. A failure to write Content.bmp or Mix.bmp is thrown and ends the
// pin at that step. `programFolder` ends with a backslash.
void PinNoteToDesktop(TDeskBGSetFrm& dialog, TPicPreviewFrm& preview,
                      const std::wstring& programFolder);

} // namespace tabulon
