#include "app/RichNoteEditor.h"

#include <richedit.h>

#include "ui/RichEdit.h"

#include <climits>
#include <new>

namespace tabulon {

namespace {
constexpr const wchar_t* kEditorUnreadable =
    L"Cannot read the note from the editor. Nothing was saved, so the note file is unchanged.";
}

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 on both sides");

void LiftTextLimit(HWND edit) {
    SendMessageW(edit, EM_EXLIMITTEXT, 0, LPARAM(INT_MAX - 1));
}

void ReplaceSelection(HWND edit, const wchar_t* text) {
    SendMessageW(edit, EM_REPLACESEL, FALSE, LPARAM(text));
    SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
}

void SendEditCommand(HWND edit, UINT command) {
    SendMessageW(edit, command, 0, 0);
    SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
}

bool RichNoteEditor::Modified() const {
    return SendMessageW(edit_, EM_GETMODIFY, 0, 0) != 0;
}

void RichNoteEditor::SetModified(bool modified) {
    SendMessageW(edit_, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

std::u16string RichNoteEditor::Text() const {
    // Every failure raises: an empty string would be saved as an empty note
    // over the real one.
    std::wstring text;
    try {
        text = RichEditText(edit_);
    } catch (const ERichEditUnreadable&) {
        throw ENoteEditorUnreadable(kEditorUnreadable);
    }
    try {
        return std::u16string(text.begin(), text.end());
    } catch (const std::bad_alloc&) {
        throw ENoteEditorUnreadable(kEditorUnreadable);
    }
}

void RichNoteEditor::SetText(std::u16string_view text) {
    SetRichEditPlainText(edit_, {reinterpret_cast<const wchar_t*>(text.data()), text.size()});
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(edit_, EM_SETMODIFY, TRUE, 0);
}

} // namespace tabulon
