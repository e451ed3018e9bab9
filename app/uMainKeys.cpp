// TMainFrm: the window without the mouse. The skinned controls as keyboard
// stops, tooltips and accessible children, and the shortcuts that work
// wherever the focus is, the note included.
#include "app/uMain.h"

#include "base/Texts.h"
#include "ui/Application.h"
#include "ui/SkinAccessible.h"

#include <algorithm>
#include <iterator>

namespace tabulon {

namespace {

// Modifiers of a shortcut.
constexpr unsigned kCtrl = 1, kShift = 2, kAlt = 4;

} // namespace

const TMainFrm::Shortcut TMainFrm::kShortcuts[] = {
    // Tab belongs to the note; Ctrl+Tab leaves it (and steps like Tab among
    // the skinned controls, on while held, as Tab does).
    {VK_TAB, kCtrl, 0, L"Ctrl+Tab", &TMainFrm::FocusNextControl, true},
    {VK_TAB, kCtrl | kShift, 0, L"Ctrl+Shift+Tab", &TMainFrm::FocusPreviousControl, true},
    {VK_RETURN, kCtrl, 0, L"Ctrl+Enter", &TMainFrm::PressPin, false},
    {VK_F1, 0, 0, L"F1", &TMainFrm::OpenHelp, false},
    {'S', kCtrl, 0, L"Ctrl+S", &TMainFrm::WriteNoteFile, false},
    {'O', kAlt, 0, L"Alt+O", &TMainFrm::OpenOptions, false},
    // Shift+F10 stays the context menu's key.
    {VK_F10, 0, kAlt, L"F10", &TMainFrm::OpenOptions, false},
};

std::wstring TMainFrm::ShortcutLabel(void (TMainFrm::*action)()) {
    for (const Shortcut& s : kShortcuts)
        if (s.action == action) return s.label;
    return {};
}

void TMainFrm::FocusNextControl() {
    if (skinButtons.HasFocus())
        skinButtons.Step(true);
    else
        skinButtons.FocusFirst();
}

void TMainFrm::FocusPreviousControl() {
    if (skinButtons.HasFocus())
        skinButtons.Step(false);
    else
        skinButtons.FocusLast();
}

void TMainFrm::PressPin() {
    imgAppToDesk->Click();
}

void TMainFrm::OpenHelp() {
    N_helpClick(*popSysset.Find("N_help"));
}

void TMainFrm::OpenOptions() {
    lblSet->Click();
}

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
                     .tip = WithShortcutText(kOptionsName, ShortcutLabel(&TMainFrm::OpenOptions)),
                     .shortcut = ShortcutLabel(&TMainFrm::OpenOptions),
                     .role = R::MenuButton});
    skinButtons.Add({.place = imgAppToDesk,
                     .target = imgAppToDesk,
                     .name = kPinName,
                     .tip = WithShortcutText(kPinTip, ShortcutLabel(&TMainFrm::PressPin)),
                     .shortcut = ShortcutLabel(&TMainFrm::PressPin)});
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
    const unsigned held = (KeyIsDown(VK_CONTROL) ? kCtrl : 0) | (KeyIsDown(VK_SHIFT) ? kShift : 0) |
                          (KeyIsDown(VK_MENU) ? kAlt : 0);
    const auto row = std::ranges::find_if(kShortcuts, [&](const Shortcut& s) {
        return s.key == msg.wParam && (held & ~s.ignored) == s.down;
    });
    if (row == std::end(kShortcuts)) return false;
    // Held down, a command would run again at every repeat of the key (a pin,
    // a help page each time): it acts once per press, and the repeats are
    // taken too.
    const bool repeat = (msg.lParam & (1 << 30)) != 0;
    if (repeat && !row->repeats) return true;
    // Taken either way: a failing action must not let the key reach the note.
    Guarded([this, row] { (this->*row->action)(); });
    return true;
}

void TMainFrm::PaintOver(HDC dc) {
    skinButtons.PaintFocusRing(dc);
}

} // namespace tabulon
