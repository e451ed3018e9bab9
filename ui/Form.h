#pragma once
// TForm: a top-level window built from a layout. Its controls are found by
// name; creation and destruction handlers are virtual.
#include "ui/Font.h"
#include "ui/Layout.h"
#include "ui/WinControl.h"

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace tabulon {

struct TFormSpec {
    const wchar_t* caption = L"";
    int width = 0, height = 0;   // the client size at 96 DPI (and the window's, borderless)
    bool borderless = true;      // no caption bar, no frame
    bool centreOnScreen = false; // first shown centred on the monitor under the pointer
    // The window the taskbar, Alt+Tab and Task View show: unowned, with its own
    // taskbar button. Other forms are owned by the application window.
    bool taskbarWindow = false;
    TColor color = clBtnFace;
    TFontSpec font{};
};

class TForm : public TWinControl {
  public:
    // Creates the window, hidden, at the size the layout gives scaled to the
    // window's DPI; owned by the application window unless it is the taskbar
    // window.
    TForm(std::string name, const TFormSpec& layout);
    ~TForm() override;

    const std::wstring& Caption() const { return caption_; }
    // The form's font as the layout gives it, for 96 DPI.
    const TFontSpec& Font() const { return font_; }

    // The DPI the form and its controls are laid out for.
    int Dpi() const { return dpi_; }
    // Lays the window and every control out again for `dpi`, with one move
    // of the window: into the rectangle `at` (screen coordinates; its size is
    // the layout's), or keeping its top-left corner. Called when the window
    // moves to a monitor of another scale.
    void ChangeDpi(int dpi, const RECT* at = nullptr);
    // Keeps layout rows (static tables) for ChangeDpi; BuildLayout calls it.
    void RememberLayout(std::span<const TControlSpec> specs) { layouts_.push_back(specs); }

    // Creation handler: runs once the form is built (TApplication::CreateForm).
    virtual void FormCreate() {}
    // Destruction handler: runs just before the form is destroyed.
    virtual void FormDestroy() {}
    // Asked before the form closes (a close command, and for the main form
    // every orderly end of the program); clearing `canClose`, or throwing,
    // keeps it open.
    virtual void FormCloseQuery(bool& canClose) { (void)canClose; }
    // The user's session is ending (log off, shut down): the last chance to
    // keep what must be kept. It must not wait for the user, and must not throw.
    virtual void FormEndSession() noexcept {}

    // Closes the form as a close command does: the main form ends the
    // application, another form hides. Does nothing when FormCloseQuery refuses.
    void Close();

    void Show();
    void Hide();
    bool Showing() const;
    // Minimised to its taskbar button (the taskbar window only); Show
    // restores it.
    void Minimize();
    bool Minimized() const;

    // The control that has the keyboard focus when the form is first
    // activated; later activations return it to the one that had it. Without
    // one, the form's own window takes it.
    void SetActiveControl(TControl* control) { activeControl_ = control; }

    // The pointer left the form's own surface (to another program, the
    // desktop or one of the form's child windows).
    std::function<void(TForm&)> OnMouseLeave;

    // Registers a control under its name (layouts do this for every control).
    void RegisterComponent(TControl& control);
    // The control of that name, or null.
    TControl* FindComponent(const std::string& name) const;
    // The control of that name and type; throws when there is none.
    template <class T> T& Find(const std::string& name) const {
        T* c = dynamic_cast<T*>(FindComponent(name));
        if (!c) ThrowMissing(name);
        return *c;
    }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Called after the controls have been laid out for a new DPI, for what
    // the layout rows do not hold.
    virtual void DpiChanged() {}

  private:
    [[noreturn]] static void ThrowMissing(const std::string& name);
    // `window` is the form's own window or one inside it.
    bool Holds(HWND window) const;
    // The window's size for the client size of the layout at `dpi`.
    SIZE WindowSizeAt(int dpi) const;
    SIZE WindowSize() const { return WindowSizeAt(dpi_); }

    std::wstring caption_;
    TFontSpec font_;
    int designWidth_, designHeight_;
    DWORD style_;
    int dpi_ = 96;
    std::vector<std::span<const TControlSpec>> layouts_;
    bool centreOnScreen_;
    bool shownOnce_ = false;
    HWND lastFocus_ = nullptr;
    TControl* activeControl_ = nullptr;
    std::map<std::string, TControl*, std::less<>> components_;
};

} // namespace tabulon
