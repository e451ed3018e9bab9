#include "app/uMain.h"

#include "app/DateLine.h"
#include "app/MainLayout.h"
#include "base/Texts.h"
#include "compose/PinSequence.h"
#include "desktop/PreviousWallpaper.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "ui/Application.h"
#include "platform/FileIO.h"
#include "codec/LineList.h"
#include "platform/WorkFolder.h"

namespace tabulon {

TMainFrm* MainFrm = nullptr;

TMainFrm::TMainFrm() : TForm("MainFrm", MainFormSpec()) {
    BuildLayout(*this, MainLayout());
    BindControls();
    BindCaptionButtons();
    BuildSystemMenu();
    BindPinButton();
    BindNoteEditor();
    BindMessageHook();
    BindKeyboard();
}

void TMainFrm::BindControls() {
    shpBG = &Find<TShape>("shpBG");
    imgBG = &Find<TImage>("imgBG");
    imgLogo = &Find<TImage>("imgLogo");
    img_close_normal = &Find<TImage>("img_close_normal");
    img_close_highlight = &Find<TImage>("img_close_highlight");
    img_close_down = &Find<TImage>("img_close_down");
    img_mini_normal = &Find<TImage>("img_mini_normal");
    img_mini_highlight = &Find<TImage>("img_mini_highlight");
    img_mini_down = &Find<TImage>("img_mini_down");
    lblDateTime = &Find<TLabel>("lblDateTime");
    lblSet = &Find<TLabel>("lblSet");
    imgAppToDesk = &Find<TImage>("imgAppToDesk");
    btn4 = &Find<TSpeedButton>("btn4");
    btn3 = &Find<TSpeedButton>("btn3");
    pnlLeft = &Find<TPanel>("pnlLeft");
    shpLeft = &Find<TShape>("shpLeft");
    imgAddToDesk = &Find<TImage>("imgAddToDesk");
    pnlWeb = &Find<TPanel>("pnlWeb");
    pngRight = &Find<TPanel>("pngRight");
    shpRight = &Find<TShape>("shpRight");
    rdtMain = &Find<TRichEdit>("rdtMain");
}

void TMainFrm::FormCreate() {
    // Starting the browser takes longer than building the rest of the window:
    // it waits until the window has painted. Its page loads on its own later
    // anyway, so nothing changes for the user but the earlier window.
    Application.WhenIdle([this] { NavigateWebPanel(); });
    WriteDateLine();
    LoadNoteFile();
    LoadSettings();
}

void TMainFrm::LoadSettings() {
    settingsFile_ = SettingsFile(WorkFolder());
    settings_ = settingsFile_.Load();
    popSysset.Find("N_PinOnMyPicture")->Checked = settings_.pinOnMyPicture;
    if (settings_.pinOnMyPicture) Application.WhenIdle([this] { PrepareUserPicture(); });
    // Told once, when the window is up; the choice stays off meanwhile.
    if (!settingsFile_.Problem().empty())
        Application.WhenIdle([text = settingsFile_.Problem()] { Application.ShowNotice(text); });
}

// ---------------------------------------------------------------------------
// Date line

void TMainFrm::WriteDateLine() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const int isoWeekday = now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek;
    lblDateTime->SetCaption(FormatDateLine(now.wYear, now.wMonth, now.wDay, isoWeekday));
    DateLineWritten();
}

// ---------------------------------------------------------------------------
// Caption buttons and moving

void TMainFrm::BindCaptionButtons() {
    img_close_normal->OnMouseMove = [this](TControl& s, const TMouseEvent& e) {
        img_close_normalMouseMove(s, e);
    };
    img_close_highlight->OnMouseDown = [this](TControl& s, const TMouseEvent& e) {
        img_close_highlightMouseDown(s, e);
    };
    img_close_highlight->OnClick = [this](TControl& s) { img_close_highlightClick(s); };
    img_mini_normal->OnMouseMove = [this](TControl& s, const TMouseEvent& e) {
        img_mini_normalMouseMove(s, e);
    };
    img_mini_highlight->OnMouseDown = [this](TControl& s, const TMouseEvent& e) {
        img_mini_highlightMouseDown(s, e);
    };
    img_mini_highlight->OnClick = [this](TControl& s) { img_mini_highlightClick(s); };
    imgBG->OnMouseDown = [this](TControl& s, const TMouseEvent& e) { imgBGMouseDown(s, e); };
    imgBG->OnMouseMove = [this](TControl& s, const TMouseEvent& e) { imgBGMouseMove(s, e); };
    OnMouseLeave = [this](TForm& s) { FormMouseLeave(s); };
}

void TMainFrm::ShowCaptionButtons(ButtonState close, ButtonState mini) {
    img_close_normal->SetVisible(close == ButtonState::Normal);
    img_close_highlight->SetVisible(close == ButtonState::Hover);
    img_close_down->SetVisible(close == ButtonState::Pressed);
    img_mini_normal->SetVisible(mini == ButtonState::Normal);
    img_mini_highlight->SetVisible(mini == ButtonState::Hover);
    img_mini_down->SetVisible(mini == ButtonState::Pressed);
}

void TMainFrm::img_close_normalMouseMove(TControl&, const TMouseEvent&) {
    ShowCaptionButtons(ButtonState::Hover, ButtonState::Normal);
}

void TMainFrm::img_close_highlightMouseDown(TControl&, const TMouseEvent&) {
    ShowCaptionButtons(ButtonState::Pressed, ButtonState::Normal);
}

void TMainFrm::img_close_highlightClick(TControl&) {
    Close();
}

void TMainFrm::img_mini_normalMouseMove(TControl&, const TMouseEvent&) {
    ShowCaptionButtons(ButtonState::Normal, ButtonState::Hover);
}

void TMainFrm::img_mini_highlightMouseDown(TControl&, const TMouseEvent&) {
    ShowCaptionButtons(ButtonState::Normal, ButtonState::Pressed);
}

void TMainFrm::img_mini_highlightClick(TControl&) {
    // Minimised, the window leaves the screen and keeps its taskbar button,
    // from which the user restores it. (Hidden as well, it would lose the
    // button: it is the taskbar window itself.)
    Application.Minimize();
    ShowCaptionButtons(ButtonState::Normal, ButtonState::Normal);
}

void TMainFrm::imgBGMouseDown(TControl&, const TMouseEvent&) {
    // The system's own move loop, as if the caption bar were dragged:
    // SC_MOVE combined with the caption hit-test code.
    constexpr WPARAM kMoveByCaption = 0xF012;
    ::ReleaseCapture();
    ::PostMessageW(Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
}

void TMainFrm::imgBGMouseMove(TControl&, const TMouseEvent&) {
    ShowCaptionButtons(ButtonState::Normal, ButtonState::Normal);
}

void TMainFrm::FormMouseLeave(TForm&) {
    // A pointer that leaves straight from a button (up, or out of the side)
    // never crosses the background: settle a hover image here. A pressed
    // image stays while its press lasts, and after a release elsewhere, until
    // the pointer crosses the background.
    ShowCaptionButtons(img_close_down->Visible() ? ButtonState::Pressed : ButtonState::Normal,
                       img_mini_down->Visible() ? ButtonState::Pressed : ButtonState::Normal);
}

// ---------------------------------------------------------------------------
// System menu

void TMainFrm::BuildSystemMenu() {
    popSysset.Add("N_help", kHelpItem, [this](TMenuItem& s) { N_helpClick(s); });
    popSysset.Add("N_Submit", kFeedbackItem, [this](TMenuItem& s) { N_SubmitClick(s); });
    popSysset.Add("N_History", kHistoryItem, [this](TMenuItem& s) { N_HistoryClick(s); });
    popSysset.Add("N_RestoreWallpaper", kRestoreWallpaperItem,
                  [this](TMenuItem& s) { N_RestoreWallpaperClick(s); });
    popSysset.Add("N_PinOnMyPicture", kPinOnMyPictureItem,
                  [this](TMenuItem& s) { N_PinOnMyPictureClick(s); });
    popSysset.Add("N4", L"-");
    popSysset.Add("N_ExitPrj", kExitItem, [this](TMenuItem& s) { N_ExitPrjClick(s); });
    lblSet->OnClick = [this](TControl& s) { lblSetClick(s); };
}

void TMainFrm::lblSetClick(TControl&) {
    const POINT corner = lblSet->ClientToScreen(POINT{0, lblSet->Height()});
    lblSet->SetPopupMenu(&popSysset);
    popSysset.Popup(corner.x, corner.y);
}

void TMainFrm::N_ExitPrjClick(TMenuItem&) {
    Close();
}

void TMainFrm::N_RestoreWallpaperClick(TMenuItem&) {
    const PreviousWallpaper previous(WorkFolder(), DeskBGSetFrm->DeskBGPath + L"Mix.bmp");
    const std::wstring text =
        RestorationText(previous.Restore(*DeskBGSetFrm->OpenDesktop(), false));
    if (!text.empty()) Application.ShowNotice(text);
}

void TMainFrm::N_PinOnMyPictureClick(TMenuItem& sender) {
    ProgramSettings next = settings_;
    next.pinOnMyPicture = !sender.Checked;
    // A choice that cannot be kept is reported (error box) and stays as it was.
    settingsFile_.Save(next);
    settings_ = next;
    sender.Checked = next.pinOnMyPicture;
    if (next.pinOnMyPicture) PrepareUserPicture();
}

void TMainFrm::PrepareUserPicture() {
    // A phone photo takes a second to decode: done while the user is busy
    // with other things, the first pin onto it is as quick as any.
    if (DeskBGSetFrm) PrepareUserPictureAhead(*DeskBGSetFrm, WorkFolder());
}

// ---------------------------------------------------------------------------
// Pin note to desktop

void TMainFrm::BindPinButton() {
    imgAppToDesk->OnClick = [this](TControl& s) { imgAppToDeskClick(s); };
}

void TMainFrm::CopyNoteToDeskBGSet() {
    // Joined as a one-line list the text gets CR LF appended; split again it
    // gives the editor's lines, ending with one empty line when the text
    // itself ends with a line break (an empty editor gives one empty line).
    WideLineList whole;
    DeskBGSetFrm->NoteLines.Clear();
    whole.Add(rdtMain->Text());
    DeskBGSetFrm->NoteLines.SetText(whole.Text());
}

void TMainFrm::ScreenChanged() {
    if (DeskBGSetFrm && PicPreviewFrm) RecomposeForNewScreen(*DeskBGSetFrm, *PicPreviewFrm);
    // The user may have chosen another wallpaper: the next pin's picture.
    if (settings_.pinOnMyPicture) PrepareUserPicture();
}

LRESULT TMainFrm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    if (skinButtons.HandleMessage(msg, wp, lp, answer)) return answer;
    if (msg == WM_SYSCOLORCHANGE || (msg == WM_SETTINGCHANGE && wp == SPI_SETHIGHCONTRAST))
        rdtMain->ApplyColors();
    // Alt or F10 alone would enter the menu mode of a window without a menu
    // bar: an invisible menu that eats the next keys. Alt+O and F10 open the
    // options menu instead (ShortcutKey).
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_KEYMENU && lp == 0) return 0;
    // Sent to every top-level window, shown or hidden, while the sender
    // waits: the work (25 MB written, another broadcast) runs once the
    // broadcast has returned, and a burst of changes composes once. Our own
    // wallpaper change arrives as WM_SETTINGCHANGE too; the screen is then
    // the one just composed for, and nothing happens.
    if (msg == WM_DISPLAYCHANGE || msg == WM_DPICHANGED || msg == WM_SETTINGCHANGE) {
        if (!recomposePosted_)
            recomposePosted_ = ::PostMessageW(Handle(), kRecomposeMessage, 0, 0) != FALSE;
    } else if (msg == kRecomposeMessage) {
        recomposePosted_ = false;
        Guarded([this] { ScreenChanged(); });
        return 0;
    }
    return TForm::WndProc(msg, wp, lp);
}

void TMainFrm::imgAppToDeskClick(TControl&) {
    CopyNoteToDeskBGSet();
    DeskBGSetFrm->PinOnUserPicture = settings_.pinOnMyPicture;
    // Note picture, background choice, loads, flag, composite, Mix.bmp, wallpaper.
    PinNoteToDesktop(*DeskBGSetFrm, *PicPreviewFrm, WorkFolder());
}

} // namespace tabulon
