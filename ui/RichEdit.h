#pragma once
// TRichEdit: the system's current rich edit control ("RICHEDIT50W" from
// msftedit.dll, else "RichEdit20W" from riched20.dll) as a child window in
// plain-text mode: no border, word wrap, no scroll bars (the view follows the
// caret), one font and one background colour.
#include "ui/Control.h"
#include "base/Exception.h"
#include "ui/Font.h"
#include "platform/Handles.h"

#include <string>

namespace tabulon {

class TRichEdit : public TControl {
  public:
    TRichEdit(std::string name, TColor color, const TFontSpec& font);
    ~TRichEdit() override;

    HWND Handle() const override { return wnd_.Get(); }
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;

    // The whole text, paragraphs separated by CR LF.
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    void SetFocus();
    // A new font for the whole text (a change of display scale).
    void SetFont(const TFontSpec& font);

  protected:
    void ParentHandleReady(HWND parentWnd) override;
    // EN_CHANGE raises the modification flag (EM_GETMODIFY). The control
    // raises it itself for most edits, but Wine's does not for cut, delete
    // and undo; the note's auto-save relies on the flag.
    void Notify(UINT code) override;

  private:
    TColor color_;
    TFontSpec font_;
    GdiFont hfont_;
    // The library that holds the control's window class: declared before the
    // window, so that the window is always destroyed before it is unloaded.
    ModuleHandle library_;
    WindowHandle wnd_;
};

} // namespace tabulon
