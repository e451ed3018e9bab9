#pragma once
// TDeskBGSetFrm: the background settings dialog. It is created hidden and
// never shown: the pin command uses its fields, image controls and routines
// as the workspace of the desktop composition.
#include "ui/Form.h"
#include "ui/GraphicControls.h"
#include "ui/LineList.h"
#include "ui/WinControl.h"
#include "ui/XPButton.h"

#include <cstdint>
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

    // Controls of the layout.
    TPanel* pngBG = nullptr;
    TScrollBox* scbBG = nullptr;
    TImage* imgPicBG = nullptr;
    TImage* imgPicMix = nullptr;
    TLabel* lblTouming = nullptr;
    TXPButton* btnOk = nullptr;
    TXPButton* btnCancel = nullptr;
    TXPButton* btnPicPreview = nullptr;
    TXPButton* btnNotePicture = nullptr;
    TTrackBarValue TrackBar1;

    // The composition workspace.
    std::wstring BackgroundFile;
    std::wstring NotePictureFile;
    std::wstring DeskBGPath;
    int32_t UseSecondBackground = 0;
    WideLineList NoteLines;
    std::vector<TMonthCon> MonthCells;
};

extern TDeskBGSetFrm* DeskBGSetFrm;

} // namespace tabulon
