#pragma once
// TMainFrm: the main window. A frameless skinned window: background, logo,
// three-state caption buttons, the date line, the options label with the
// system menu, the pin button, the two mark buttons, the web panel on the
// left and the note editor on the right.
#include "app/HistoryWindow.h"
#include "app/NoteFile.h"
#include "app/SettingsFile.h"
#include "ui/Form.h"
#include "ui/GraphicControls.h"
#include "ui/Menus.h"
#include "base/PassingLock.h"
#include "platform/ProgramIds.h"
#include "ui/RichEdit.h"
#include "ui/SkinButtons.h"
#include "ui/Timer.h"
#include "ui/WebBrowser.h"
#include "ui/WinControl.h"

#include <memory>
#include <string>

namespace tabulon {

class TMainFrm : public TForm {
  public:
    TMainFrm();

    void FormCreate() override;
    // Every orderly end saves the note first; after a failed save the user
    // leaves with the text set aside, or stays.
    void FormCloseQuery(bool& canClose) override;
    // Log off or shut down: saves without asking or reporting.
    void FormEndSession() noexcept override;

    // Controls of the layout, in z-order.
    TShape* shpBG = nullptr;
    TImage* imgBG = nullptr;
    TImage* imgLogo = nullptr;
    TImage* img_close_normal = nullptr;
    TImage* img_close_highlight = nullptr;
    TImage* img_close_down = nullptr;
    TImage* img_mini_normal = nullptr;
    TImage* img_mini_highlight = nullptr;
    TImage* img_mini_down = nullptr;
    TLabel* lblDateTime = nullptr;
    TLabel* lblSet = nullptr;
    TImage* imgAppToDesk = nullptr;
    TSpeedButton* btn4 = nullptr;
    TSpeedButton* btn3 = nullptr;
    TPanel* pnlLeft = nullptr;
    TShape* shpLeft = nullptr;
    TImage* imgAddToDesk = nullptr;
    TPanel* pnlWeb = nullptr;
    TPanel* pngRight = nullptr;
    TShape* shpRight = nullptr;
    TRichEdit* rdtMain = nullptr;

    // The system menu, opened by lblSet.
    TPopupMenu popSysset{"popSysset"};
    // The editor's context menu.
    TPopupMenu pmDeskTopMonCal{"pmDeskTopMonCal"};
    // Popped up instead of the browser's own context menu.
    TPopupMenu pmEmpty{"pmEmpty"};
    // Saves the note every 10 s, from creation to the end, shown or hidden
    // (writing the file only when the note or the file has changed).
    std::unique_ptr<TTimer> tmrAutoSave;
    // The browser in pnlWeb; empty where the system has none.
    WebBrowser webLink;
    // The skinned controls for the keyboard, tooltips and screen readers.
    TSkinButtons skinButtons{*this};

    // Caption buttons and moving.
    void img_close_normalMouseMove(TControl& sender, const TMouseEvent& e);
    void img_close_highlightMouseDown(TControl& sender, const TMouseEvent& e);
    void img_close_highlightClick(TControl& sender);
    void img_mini_normalMouseMove(TControl& sender, const TMouseEvent& e);
    void img_mini_highlightMouseDown(TControl& sender, const TMouseEvent& e);
    void img_mini_highlightClick(TControl& sender);
    void imgBGMouseDown(TControl& sender, const TMouseEvent& e);
    void imgBGMouseMove(TControl& sender, const TMouseEvent& e);
    // The pointer left the window: hover images go back to normal.
    void FormMouseLeave(TForm& sender);

    // System menu.
    void lblSetClick(TControl& sender);
    void N_helpClick(TMenuItem& sender);
    void N_SubmitClick(TMenuItem& sender);
    // Opens the window of the note's history.
    void N_HistoryClick(TMenuItem& sender);
    // Puts back the wallpaper recorded before pinning.
    void N_RestoreWallpaperClick(TMenuItem& sender);
    // Turns pinning onto the user's own wallpaper on or off, and keeps the
    // choice in the settings file.
    void N_PinOnMyPictureClick(TMenuItem& sender);
    void N_ExitPrjClick(TMenuItem& sender);

    // Editor menu and mark buttons.
    void N1Click(TMenuItem& sender);
    void N2Click(TMenuItem& sender);
    void CtrlZ1Click(TMenuItem& sender);
    void N9Click(TMenuItem& sender);
    void N3Click(TMenuItem& sender);
    void V1Click(TMenuItem& sender);
    void X1Click(TMenuItem& sender);
    void btn3Click(TControl& sender);
    void btn4Click(TControl& sender);
    // Puts √ or × in place of the selection (at the caret when none).
    void InsertMark(const wchar_t* mark);

    void tmrAutoSaveTimer(TTimer& sender);
    // The application message hook: drops right-button messages for the
    // page, and takes the window's shortcuts wherever the focus is.
    void AppEvent1Message(MSG& msg, bool& handled);
    // A key of kShortcuts for the window or any window in it: true when
    // `msg` was one and is done.
    bool ShortcutKey(const MSG& msg);

    // Writes the editor's text to the note file, taking it out of the editor
    // whatever its modification flag says (the save on leaving); while the note
    // cannot be read, to the side file, telling the user once where it went.
    void WriteNoteFile();
    // One auto-save tick: takes the text only when the editor says it changed.
    void AutoSaveNoteFile();

    // Pin: turns the note into the desktop wallpaper.
    void imgAppToDeskClick(TControl& sender);
    // Puts the editor's text, split into lines, into the settings dialog's NoteLines.
    void CopyNoteToDeskBGSet();
    // The screen's size or DPI may have changed: the pinned note follows.
    void ScreenChanged();

  protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Moves the web panel's browser, which the layout rows do not hold.
    void DpiChanged() override;
    void PaintOver(HDC dc) override;

  private:
    // The keyboard map, one row per shortcut (uMainKeys.cpp): ShortcutKey
    // acts on it, and the skinned controls' tooltips and screen-reader
    // shortcuts show its labels, so the two cannot tell of different keys.
    struct Shortcut {
        WPARAM key;
        unsigned down;        // the modifiers held (kCtrl, kShift, kAlt) ...
        unsigned ignored;     // ... not counting these, held or not
        const wchar_t* label; // as the user reads it
        void (TMainFrm::*action)();
        bool repeats; // acts again at each repeat of the key held down
    };
    static const Shortcut kShortcuts[];
    // The label of the first row that runs `action`.
    static std::wstring ShortcutLabel(void (TMainFrm::*action)());
    // The actions of the rows.
    void FocusNextControl();
    void FocusPreviousControl();
    void PressPin();
    void OpenHelp();
    void OpenOptions();

    enum class ButtonState { Normal, Hover, Pressed };
    // Shows exactly one image of each caption button.
    void ShowCaptionButtons(ButtonState close, ButtonState mini);
    void BindControls();
    void BindCaptionButtons();
    void BuildSystemMenu();
    void BindPinButton();
    void WriteDateLine();
    void BindNoteEditor();
    void BindMessageHook();
    void BindKeyboard();
    void DateLineWritten();
    void NavigateWebPanel();
    void OpenLink(const std::wstring& address);
    void LoadNoteFile();

    std::wstring NoteFilePath;
    void TellSaved(NoteFile::Saved saved);
    // Tells once that a version of the note could not be kept.
    void TellHistoryError();
    // Puts a version of the history in the editor (the history window's button).
    void RestoreVersion(const std::wstring& versionPath);
    void TellNoteSetAside();
    // After the error box of a failed save on leaving: keeps the text aside
    // and leaves (true), or stays (false), as the user chooses.
    bool LeaveAfterFailedSave(std::exception_ptr error);

    NoteFile noteFile_;
    std::unique_ptr<HistoryWindow> historyWindow_;
    // The settings file, read at creation; the pin takes the choice from here.
    SettingsFile settingsFile_{L""};
    ProgramSettings settings_;
    void LoadSettings();
    void PrepareUserPicture();
    SingleErrorBox autoSaveErrors_;
    PassingLockFilter autoSaveLocks_;
    bool toldSetAside_ = false;
    // A kRecomposeMessage posted to ourselves and not yet handled.
    bool recomposePosted_ = false;
};

extern TMainFrm* MainFrm;

} // namespace tabulon
