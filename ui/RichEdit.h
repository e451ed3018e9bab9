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
#include <string_view>

namespace tabulon {

// The control did not hand out all of its text.
TABULON_EXCEPTION_CLASS(ERichEditUnreadable);

// The whole text of a rich edit control, paragraphs separated by CR LF.
// Throws ERichEditUnreadable when the control does not give all of it: an
// empty or shortened string in its place could be saved over the real text.
std::wstring RichEditText(HWND edit);

// Replaces the whole text of a rich edit control, read as plain text even
// when it starts like RTF ("{\rtf"), which WM_SETTEXT would parse.
void SetRichEditPlainText(HWND edit, std::wstring_view text);

class TRichEdit : public TControl {
  public:
    TRichEdit(std::string name, TColor color, const TFontSpec& font);
    ~TRichEdit() override;

    HWND Handle() const override { return wnd_.Get(); }
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;

    // The whole text, paragraphs separated by CR LF (see RichEditText).
    std::wstring Text() const { return RichEditText(wnd_.Get()); }
    // Replaces the whole text, as plain text (see SetRichEditPlainText).
    void SetText(std::wstring_view text) { SetRichEditPlainText(wnd_.Get(), text); }
    void SetFocus();
    // A new font for the whole text (a change of display scale).
    void SetFont(const TFontSpec& font);
    // The note's colours, or the system's window and text colours while a
    // high-contrast theme is on; again after the theme changes.
    void ApplyColors();

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
