// TMainFrm: the window without the mouse. The skinned controls as keyboard
// stops, tooltips and accessible children, and the shortcuts that work
// wherever the focus is, the note included.
#include "app/uMain.h"

#include "base/Texts.h"
#include "ui/Application.h"
#include "ui/SkinAccessible.h"

namespace tabulon {

namespace {

bool KeyIsDown(int key) {
    return ::GetKeyState(key) < 0;
}

} // namespace

void TMainFrm::BindKeyboard() {
    // The caption buttons show one of three pictures; the normal one gives
    // the place, the hover one takes the click, and the button is there
    // whichever shows.
    auto captionStates = [](const TImage* hover, const TImage* down) {
        return [hover, down] {
            return (hover->Visible() ? long(STATE_SYSTEM_HOTTRACKED) : 0L) |
                   (down->Visible() ? long(STATE_SYSTEM_PRESSED) : 0L);
        };
    };
    auto speedStates = [](const TSpeedButton* b) {
        return [b] {
            return (b->Hot() ? long(STATE_SYSTEM_HOTTRACKED) : 0L) |
                   (b->Down() ? long(STATE_SYSTEM_PRESSED) : 0L);
        };
    };
    // Tab order: the mark buttons by the note, the options, the pin button,
    // then the caption buttons; the date line is read, never focused.
    using R = TSkinRole;
    skinButtons.Add({.place = btn3,
                     .target = btn3,
                     .name = kCheckMarkName,
                     .tip = kCheckMarkTip,
                     .shownStates = speedStates(btn3)});
    skinButtons.Add({.place = btn4,
                     .target = btn4,
                     .name = kCrossMarkName,
                     .tip = kCrossMarkTip,
                     .shownStates = speedStates(btn4)});
    skinButtons.Add({.place = lblSet,
                     .target = lblSet,
                     .name = kOptionsName,
                     .tip = WithShortcutText(kOptionsName, L"Alt+O"),
                     .shortcut = L"Alt+O",
                     .role = R::MenuButton});
    skinButtons.Add({.place = imgAppToDesk,
                     .target = imgAppToDesk,
                     .name = kPinName,
                     .tip = WithShortcutText(kPinTip, L"Ctrl+Enter"),
                     .shortcut = L"Ctrl+Enter"});
    skinButtons.Add({.place = img_mini_normal,
                     .faces = {img_mini_highlight, img_mini_down},
                     .target = img_mini_highlight,
                     .name = kMinimizeName,
                     .tip = kMinimizeName,
                     .shownStates = captionStates(img_mini_highlight, img_mini_down)});
    skinButtons.Add({.place = img_close_normal,
                     .faces = {img_close_highlight, img_close_down},
                     .target = img_close_highlight,
                     .name = kCloseName,
                     .tip = kCloseName,
                     .shownStates = captionStates(img_close_highlight, img_close_down)});
    // Named once the date is written (DateLineWritten).
    skinButtons.Add({.place = lblDateTime, .role = R::Text});
    skinButtons.ActionNames = {.press = kPressAction, .open = kOpenAction};
    skinButtons.OnLeave = [this](bool) { rdtMain->SetFocus(); };
    // Typing right after the start goes into the note, as in any editor.
    SetActiveControl(rdtMain);
    // Tooltips and the note's name load comctl32's tooltip class and oleacc:
    // nobody needs them before the window shows.
    Application.WhenIdle([this] {
        skinButtons.CreateTooltips();
        SetAccessibleName(rdtMain->Handle(), kNoteEditorName);
    });
}

void TMainFrm::DateLineWritten() {
    // A screen reader reads the date line as it shows (the last item).
    skinButtons.SetName(skinButtons.Count() - 1, lblDateTime->Caption());
}

bool TMainFrm::ShortcutKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (msg.hwnd != Handle() && !::IsChild(Handle(), msg.hwnd)) return false;
    const bool control = KeyIsDown(VK_CONTROL), shift = KeyIsDown(VK_SHIFT),
               alt = KeyIsDown(VK_MENU);
    std::function<void()> action;
    switch (msg.wParam) {
    case VK_TAB:
        // Tab belongs to the note; Ctrl+Tab leaves it (and steps like Tab
        // among the skinned controls).
        if (!control || alt) return false;
        if (skinButtons.HasFocus())
            action = [this, shift] { skinButtons.Step(!shift); };
        else if (shift)
            action = [this] { skinButtons.FocusLast(); };
        else
            action = [this] { skinButtons.FocusFirst(); };
        break;
    case VK_RETURN:
        if (!control || alt || shift) return false;
        action = [this] { imgAppToDesk->Click(); };
        break;
    case VK_F1:
        if (control || alt || shift) return false;
        action = [this] { N_helpClick(*popSysset.Find("N_help")); };
        break;
    case 'S':
        if (!control || alt || shift) return false;
        action = [this] { WriteNoteFile(); };
        break;
    case 'O':
        if (!alt || control || shift) return false;
        action = [this] { lblSet->Click(); };
        break;
    case VK_F10:
        // Shift+F10 stays the context menu's key.
        if (shift || control) return false;
        action = [this] { lblSet->Click(); };
        break;
    default:
        return false;
    }
    // Held down, a command would run again at every repeat of the key (a pin,
    // a help page each time): it acts once per press, and the repeats are
    // taken too. Ctrl+Tab steps on while held, as Tab does.
    const bool repeat = (msg.lParam & (1 << 30)) != 0;
    if (repeat && msg.wParam != VK_TAB) return true;
    // Taken either way: a failing action must not let the key reach the note.
    Guarded(action);
    return true;
}

void TMainFrm::PaintOver(HDC dc) {
    skinButtons.PaintFocusRing(dc);
}

} // namespace tabulon
