// TMainFrm: the note editor and its menu, the note file and the auto-save
// timer, the web panel and its right-button filter, help and feedback.
#include "app/uMain.h"

#include "app/BuiltInPages.h"
#include "app/BuiltInPagesWin32.h"
#include "app/RichNoteEditor.h"
#include "base/DisplayScale.h"
#include "base/Texts.h"
#include "ui/Application.h"
#include "platform/FileIO.h"
#include "platform/WorkFolder.h"
#include "ui/DisplayDpi.h"

namespace tabulon {

namespace {

constexpr UINT kAutoSaveIntervalMs = 10000;
constexpr const wchar_t* kCheckMark = L"\u221A"; // √, GBK A1 CC
constexpr const wchar_t* kCrossMark = L"\u00D7"; // ×, GBK A1 C1

// Where the browser sits in pnlWeb at `dpi`: shifted and oversized so that
// only the page's content shows, never its margin or scroll bars.
RECT WebLinkBounds(int dpi) {
    return RECT{ScaleLength(-11, dpi), ScaleLength(-16, dpi), ScaleLength(-11 + 2000, dpi),
                ScaleLength(-16 + 841, dpi)};
}

} // namespace

// ---------------------------------------------------------------------------
// Editor

void TMainFrm::BindNoteEditor() {
    // The control's default limit of 32,767 characters would cut long notes.
    LiftTextLimit(rdtMain->Handle());

    pmDeskTopMonCal.Add("N1", kCopyItem, [this](TMenuItem& s) { N1Click(s); });
    pmDeskTopMonCal.Add("N2", kPasteItem, [this](TMenuItem& s) { N2Click(s); });
    pmDeskTopMonCal.Add("CtrlZ1", kUndoItem, [this](TMenuItem& s) { CtrlZ1Click(s); });
    pmDeskTopMonCal.Add("N9", kDeleteItem, [this](TMenuItem& s) { N9Click(s); });
    pmDeskTopMonCal.Add("N3", kCutItem, [this](TMenuItem& s) { N3Click(s); });
    pmDeskTopMonCal.Add("V1", kCheckMarkItem, [this](TMenuItem& s) { V1Click(s); });
    pmDeskTopMonCal.Add("X1", kCrossMarkItem, [this](TMenuItem& s) { X1Click(s); });
    rdtMain->SetPopupMenu(&pmDeskTopMonCal);

    // Speed buttons have no window, so clicking them leaves the editor's
    // caret and selection where they are.
    btn3->OnClick = [this](TControl& s) { btn3Click(s); };
    btn4->OnClick = [this](TControl& s) { btn4Click(s); };

    tmrAutoSave = std::make_unique<TTimer>(*this, kAutoSaveTimerId, kAutoSaveIntervalMs,
                                           [this](TTimer& s) { tmrAutoSaveTimer(s); });
}

void TMainFrm::N1Click(TMenuItem&) {
    ::SendMessageW(rdtMain->Handle(), WM_COPY, 0, 0);
}
void TMainFrm::N2Click(TMenuItem&) {
    SendEditCommand(rdtMain->Handle(), WM_PASTE);
}
void TMainFrm::CtrlZ1Click(TMenuItem&) {
    SendEditCommand(rdtMain->Handle(), WM_UNDO);
}
void TMainFrm::N9Click(TMenuItem&) {
    SendEditCommand(rdtMain->Handle(), WM_CLEAR);
}
void TMainFrm::N3Click(TMenuItem&) {
    SendEditCommand(rdtMain->Handle(), WM_CUT);
}
// The menu items and the speed buttons do the same.
void TMainFrm::V1Click(TMenuItem&) {
    InsertMark(kCheckMark);
}
void TMainFrm::X1Click(TMenuItem&) {
    InsertMark(kCrossMark);
}
void TMainFrm::btn3Click(TControl&) {
    InsertMark(kCheckMark);
}
void TMainFrm::btn4Click(TControl&) {
    InsertMark(kCrossMark);
}
void TMainFrm::InsertMark(const wchar_t* mark) {
    ReplaceSelection(rdtMain->Handle(), mark);
}

// ---------------------------------------------------------------------------
// Note file

void TMainFrm::LoadNoteFile() {
    NoteFilePath = NoteFile::PathIn(WorkFolder());
    RichNoteEditor editor(rdtMain->Handle());
    // Told once the window shows the text (also when the load below fails).
    Application.WhenIdle([this] {
        if (noteFile_.RestoredAside()) {
            const NoteHistory* history = noteFile_.History();
            Application.ShowNotice(NoteBackFromAsideText(history ? &history->Folder() : nullptr));
        }
        TellHistoryError();
    });
    noteFile_.Load(NoteFilePath, editor);
}

void TMainFrm::TellHistoryError() {
    if (const auto error = noteFile_.TakeHistoryError())
        Application.ShowNotice(HistoryNotKeptText(*error));
}

void TMainFrm::N_HistoryClick(TMenuItem&) {
    NoteHistory* history = noteFile_.History();
    if (!history) return;
    if (!historyWindow_)
        historyWindow_ = std::make_unique<HistoryWindow>(
            Handle(), [this](const std::wstring& path) { RestoreVersion(path); });
    historyWindow_->Show(*history);
}

void TMainFrm::RestoreVersion(const std::wstring& versionPath) {
    RichNoteEditor editor(rdtMain->Handle());
    noteFile_.RestoreVersion(editor, versionPath);
}

void TMainFrm::WriteNoteFile() {
    RichNoteEditor editor(rdtMain->Handle());
    TellSaved(noteFile_.Write(editor, SaveReason::Exit));
}

void TMainFrm::AutoSaveNoteFile() {
    RichNoteEditor editor(rdtMain->Handle());
    TellSaved(noteFile_.Write(editor, SaveReason::Tick));
}

void TMainFrm::TellSaved(NoteFile::Saved saved) {
    TellHistoryError();
    if (saved == NoteFile::Saved::Aside) TellNoteSetAside();
    if (saved == NoteFile::Saved::Kept)
        Application.ShowNotice(NoteChangedOutsideText(noteFile_.KeptCopyPath()));
}

void TMainFrm::TellNoteSetAside() {
    if (toldSetAside_) return;
    toldSetAside_ = true;
    Application.ShowNotice(
        NoteUnreadableText(FullFilePath(noteFile_.Path()), noteFile_.SidePath()));
}

void TMainFrm::FormCloseQuery(bool& canClose) {
    // Keys pressed from here on would reach the editor only after its text
    // was taken, and be lost: it takes none until the user chooses to stay.
    ::SendMessageW(rdtMain->Handle(), EM_SETREADONLY, TRUE, 0);
    canClose = false;
    // One box at a time: ticks inside the boxes below report nothing.
    autoSaveErrors_.Run(
        [&] {
            WriteNoteFile();
            canClose = true;
        },
        [&](std::exception_ptr error) { canClose = LeaveAfterFailedSave(error); });
    if (!canClose) ::SendMessageW(rdtMain->Handle(), EM_SETREADONLY, FALSE, 0);
}

bool TMainFrm::LeaveAfterFailedSave(std::exception_ptr error) {
    Guarded([&] { std::rethrow_exception(error); }); // the error box, as for any handler
    if (!Application.Ask(kLeaveAfterFailedSaveQuestion)) return false;
    try {
        RichNoteEditor editor(rdtMain->Handle());
        noteFile_.SetAside(editor);
        return true;
    } catch (const Exception& e) {
        Application.ShowException(SetAsideFailedText(e.Message()));
    } catch (const std::exception&) {
        Application.ShowException(kSetAsideFailedText);
    }
    return false;
}

void TMainFrm::FormEndSession() noexcept {
    RichNoteEditor editor(rdtMain->Handle());
    noteFile_.WriteOrSetAside(editor);
}

void TMainFrm::tmrAutoSaveTimer(TTimer&) {
    // The error box runs its own message loop and ticks go on inside it; a
    // note that cannot be written would otherwise stack a box every 10 s.
    // Another program's lock that outlasts one tick's retries is reported
    // only when it is still there at the next tick.
    autoSaveErrors_.Run(
        [this] {
            AutoSaveNoteFile();
            autoSaveLocks_.Succeeded();
        },
        [this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const Exception& e) {
                if (autoSaveLocks_.ShouldReport(e.SystemCode()))
                    Application.ShowException(e.Message());
            }
        });
}

// ---------------------------------------------------------------------------
// Web panel

void TMainFrm::NavigateWebPanel() {
    // Decoration only: without a browser control, or when it refuses the
    // page, the panel stays white and the rest of the start goes on. The page
    // is our own, inside this program, and goes in as bytes: an address of it
    // would spell out the program's folder, which may hold any characters.
    // Links on it open in the user's browser.
    if (!webLink.Create(pnlWeb->Handle(), WebLinkBounds(Dpi()))) return;
    webLink.SetLinkHandler([this](const std::wstring& address) { OpenLink(address); });
    webLink.SetZoom(PageZoomPercent(Dpi(), SystemDpi()));
    webLink.ShowPage(std::string(PageResource(kPanelPage)));
}

void TMainFrm::OpenLink(const std::wstring& address) {
    // Called from inside the browser's event: report here, throw nothing.
    try {
        OpenLinkInBrowser(Handle(), address);
    } catch (const Exception& e) {
        Application.ShowException(e.Message());
    }
}

void TMainFrm::DpiChanged() {
    // The browser draws the page at the system's scale; on a monitor of
    // another scale the zoom makes up the difference.
    webLink.SetBounds(WebLinkBounds(Dpi()));
    webLink.SetZoom(PageZoomPercent(Dpi(), SystemDpi()));
    skinButtons.LayoutChanged();
}

void TMainFrm::AppEvent1Message(MSG& msg, bool& handled) {
    handled = historyWindow_ && historyWindow_->TakeKey(msg);
    if (handled) return;
    handled = ShortcutKey(msg);
    if (handled) return;
    if (IsBrowserRightButton(webLink.Window(), msg)) {
        handled = true;
        POINT at{};
        ::GetCursorPos(&at);
        pmEmpty.Popup(at.x, at.y);
    }
}

void TMainFrm::BindMessageHook() {
    Application.OnMessage = [this](MSG& msg) {
        bool handled = false;
        AppEvent1Message(msg, handled);
        return handled;
    };
}

// ---------------------------------------------------------------------------
// Help and feedback

void TMainFrm::N_helpClick(TMenuItem&) {
    // The user's browser cannot read our resources: it gets a written-out copy.
    OpenPageInBrowser(Handle(), kHelpPage);
}

void TMainFrm::N_SubmitClick(TMenuItem&) {
    OpenPageInBrowser(Handle(), kFeedbackPage);
}

} // namespace tabulon
