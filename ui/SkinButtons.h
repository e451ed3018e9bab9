#pragma once
// TSkinButtons: the windowless controls of a form (pictures and labels that
// act as buttons) made reachable without the mouse. The form's own window
// holds the keyboard focus while one of them is focused; Tab and Shift+Tab
// walk them in the order they were added, Enter and Space press the focused
// one (Down too, on a menu button). The focused one wears a focus ring drawn
// over the skin while Windows' keyboard cues are on (WM_UPDATEUISTATE). Each
// carries a tooltip, and a screen reader finds them as the children of the
// window's accessible object (WM_GETOBJECT, see SkinAccessible).
#include "platform/ComPtr.h"
#include "platform/Handles.h"
#include "ui/Control.h"

#include <commctrl.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

namespace tabulon {

class TWinControl;
class SkinAccessible;

enum class TSkinRole { PushButton, MenuButton, Text };

struct TSkinButton {
    TControl* place = nullptr; // where it shows: its ring, location and tooltip area
    // Pictures shown in the place's stead (a caption button's hover and
    // pressed images): the item is there while any of them is.
    std::vector<const TControl*> faces{};
    TControl* target = nullptr; // the control whose click presses it (null: text)
    std::wstring name{};        // what a screen reader says
    std::wstring tip{};         // the tooltip; empty for none
    std::wstring shortcut{};    // e.g. L"Ctrl+Enter"; empty for none
    TSkinRole role = TSkinRole::PushButton;
    // Hot-tracked and pressed states (STATE_SYSTEM_*) the skin shows now.
    std::function<long()> shownStates{};
};

// The words a screen reader offers as an item's default action, given by the
// program in its own language.
struct TSkinActionNames {
    std::wstring press{}; // a push button's
    std::wstring open{};  // a menu button's
};

class TSkinButtons {
  public:
    explicit TSkinButtons(TWinControl& owner) : owner_(owner) {}
    ~TSkinButtons();
    TSkinButtons(const TSkinButtons&) = delete;
    TSkinButtons& operator=(const TSkinButtons&) = delete;

    void Add(TSkinButton button) { items_.push_back(std::move(button)); }
    int Count() const { return static_cast<int>(items_.size()); }
    const TSkinButton& At(int i) const { return items_[i]; }
    // A name that changes (a text item's words).
    void SetName(int i, std::wstring name) { items_[i].name = std::move(name); }
    static bool Focusable(const TSkinButton& b) { return b.role != TSkinRole::Text; }

    // The focused item (kept while the window is inactive), or -1.
    int Focused() const { return focused_; }
    // The form's window has the keyboard focus, i.e. Focused() is in use.
    bool HasFocus() const;
    // Gives the form's window the keyboard focus on item `i`, with the cues on.
    void Focus(int i);
    void FocusFirst() { Focus(NextFocusable(-1, true)); }
    void FocusLast() { Focus(NextFocusable(Count(), false)); }
    // One step of Tab (forward) or Shift+Tab; false past either end, where
    // the focus leaves the items (OnLeave).
    bool Step(bool forward);
    // Presses item `i` as a click on it would; PostPress does it from the
    // message loop (a screen reader's call must not wait for a menu).
    void Press(int i);
    void PostPress(int i);

    RECT ScreenRect(int i) const;
    bool Visible(int i) const;
    // STATE_SYSTEM_* flags of item `i`.
    long State(int i) const;

    // Tab past the last or Shift+Tab before the first: where the focus goes.
    std::function<void(bool forward)> OnLeave;
    // Read by the accessible object; empty until the program sets them.
    TSkinActionNames ActionNames;

    // Creates the tooltips (once the items are added) and moves them with the
    // layout (after a change of scale).
    void CreateTooltips();
    void LayoutChanged();
    // Draws the ring of the focused item into the form's paint.
    void PaintFocusRing(HDC dc) const;
    // The form's messages this class answers (keys, focus, cues, the
    // accessible object, posted presses); true when `result` holds the answer.
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // The window's accessible object (OBJID_CLIENT), made on first use.
    ComPtr<IAccessible> Accessible();

  private:
    int NextFocusable(int from, bool forward) const;
    bool KeyDown(WPARAM key);
    void ShowCues();
    bool CuesHidden() const;
    void InvalidateRing() const;
    // Item `i` as a tool of the tooltip: its id and area.
    TTTOOLINFOW ToolOf(int i) const;

    TWinControl& owner_;
    std::vector<TSkinButton> items_;
    int focused_ = -1;
    WindowHandle tooltip_;
    SkinAccessible* accessible_ = nullptr;
};

} // namespace tabulon
