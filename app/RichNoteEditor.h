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

// Replaces the selection by `text` without recording it for undo.
void ReplaceSelection(HWND edit, const wchar_t* text);

class RichNoteEditor : public NoteEditor {
  public:
    explicit RichNoteEditor(HWND edit) : edit_(edit) {}

    // The whole text, paragraphs separated by CR LF. Throws
    // ENoteEditorUnreadable when the control does not give all of it.
    std::u16string Text() const override;
    // Replaces the whole text, read as plain text even when it looks like
    // RTF; the caret goes to the start and the undo history is emptied.
    void SetText(std::u16string_view text) override;

  private:
    HWND edit_;
};

} // namespace tabulon
