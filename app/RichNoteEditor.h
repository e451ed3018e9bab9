#pragma once
// The note editor's plain text through a rich edit control (RichEdit20W).
#include <windows.h>

#include "base/Exception.h"

#include "app/NoteFile.h"

namespace tabulon {

// The editor did not hand out its text.
TABULON_EXCEPTION_CLASS(ENoteEditorUnreadable);

// Lifts the control's text limit (32,767 characters by default) so that a
// note of any size loads and saves whole.
void LiftTextLimit(HWND edit);

// Replaces the selection by `text` without recording it for undo, and
// raises the modification flag.
void ReplaceSelection(HWND edit, const wchar_t* text);

// Sends an edit command (WM_PASTE, WM_CUT, WM_CLEAR, WM_UNDO) and raises the
// modification flag: the control raises it itself for what the user does,
// but the auto-save must not depend on how every command is counted.
void SendEditCommand(HWND edit, UINT command);

class RichNoteEditor : public NoteEditor {
  public:
    explicit RichNoteEditor(HWND edit) : edit_(edit) {}

    // The whole text, paragraphs separated by CR LF. Throws
    // ENoteEditorUnreadable when the control does not give all of it.
    std::u16string Text() const override;
    // Replaces the whole text, read as plain text even when it looks like
    // RTF; the caret goes to the start and the undo history is emptied.
    void SetText(std::u16string_view text) override;
    // The control's own modification flag (EM_GETMODIFY, EM_SETMODIFY).
    bool Modified() const override;
    void SetModified(bool modified) override;

  private:
    HWND edit_;
};

} // namespace tabulon
