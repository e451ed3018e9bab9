#include "app/RichNoteEditor.h"

#include <richedit.h>

#include <climits>
#include <cstring>

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
    // Every failure here raises: an empty string would be saved as an empty
    // note over the real one.
    if (!IsWindow(edit_)) throw ENoteEditorUnreadable(kEditorUnreadable);
    GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT length = SendMessageW(edit_, EM_GETTEXTLENGTHEX, WPARAM(&lengthQuery), 0);
    if (length < 0) throw ENoteEditorUnreadable(kEditorUnreadable);
    if (length == 0) return {};
    std::u16string text;
    try {
        text.resize(size_t(length) + 1);
    } catch (const std::bad_alloc&) {
        throw ENoteEditorUnreadable(kEditorUnreadable);
    }
    GETTEXTEX query{};
    query.cb = DWORD(text.size() * sizeof(char16_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;
    const LRESULT got = SendMessageW(edit_, EM_GETTEXTEX, WPARAM(&query), LPARAM(text.data()));
    // The length is exact (GTL_PRECISE), so fewer characters, or a buffer
    // filled to its end, mean that part of the text did not come out.
    if (got <= 0 || size_t(got) >= text.size() || size_t(got) + 2 < size_t(length))
        throw ENoteEditorUnreadable(kEditorUnreadable);
    text.resize(size_t(got));
    return text;
}

namespace {

struct StreamSource {
    const char* data;
    size_t left;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG want, LONG* got) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    size_t n = source->left < size_t(want) ? source->left : size_t(want);
    n &= ~size_t(1); // whole UTF-16 units only
    // A CR LF split between two chunks is read as two line ends; keep the
    // pair together by ending this chunk before the CR.
    if (n >= 2 && n < source->left && source->data[n - 2] == '\r' && source->data[n - 1] == 0)
        n -= 2;
    std::memcpy(buffer, source->data, n);
    source->data += n;
    source->left -= n;
    *got = LONG(n);
    return 0;
}

} // namespace

void RichNoteEditor::SetText(std::u16string_view text) {
    // Streaming in as plain text: WM_SETTEXT would parse a note that starts
    // with "{\rtf" as formatted text and change it.
    StreamSource source{reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
    EDITSTREAM stream{};
    stream.dwCookie = DWORD_PTR(&source);
    stream.pfnCallback = ReadChunk;
    SendMessageW(edit_, EM_STREAMIN, SF_TEXT | SF_UNICODE, LPARAM(&stream));
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(edit_, EM_SETMODIFY, TRUE, 0);
}

} // namespace tabulon
