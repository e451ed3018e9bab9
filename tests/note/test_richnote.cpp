// The note's text through a real rich edit control (under Wine).
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include "app/NoteText.h"
#include "app/RichNoteEditor.h"

namespace tabulon {
namespace {

// The control's library stays loaded for the whole test run.
const bool kRichEditLoaded = LoadLibraryW(L"riched20.dll") != nullptr;

class RichNote : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(kRichEditLoaded);
        edit_ = CreateWindowExW(0, L"RichEdit20W", L"",
                                WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0, 358,
                                287, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(edit_, nullptr);
        LiftTextLimit(edit_);
    }
    void TearDown() override {
        if (edit_) DestroyWindow(edit_);
    }

    HWND Edit() const { return edit_; }

    HWND edit_ = nullptr;
};

TEST_F(RichNote, TextComesBackWithCrLf) {
    RichNoteEditor editor(Edit());
    editor.SetText(u"abc\r\ndef\r\n");
    EXPECT_EQ(editor.Text(), u"abc\r\ndef\r\n");
    editor.SetText(u"");
    EXPECT_EQ(editor.Text(), u"");
}

TEST_F(RichNote, RtfLookingNoteStaysPlainText) {
    RichNoteEditor editor(Edit());
    const std::u16string note = u"{\\rtf1\\ansi {\\b bold}}\r\n";
    editor.SetText(note);
    EXPECT_EQ(editor.Text(), note);
}

TEST_F(RichNote, NotesOfSeveralMegabytesStayWhole) {
    RichNoteEditor editor(Edit());
    std::u16string note;
    for (int i = 0; note.size() < (3u << 20); ++i) {
        note += u'\u7B2C';
        note += char16_t(u'0' + i % 10);
        note += u" line of the note\r\n";
    }
    editor.SetText(note);
    std::u16string back = editor.Text();
    EXPECT_EQ(back.size(), note.size());
    EXPECT_TRUE(back == note); // (no EXPECT_EQ: its diff of megabytes would not fit)
    // Typing still works past the old 32,767-character limit.
    SendMessageW(Edit(), EM_SETSEL, WPARAM(-1), LPARAM(-1));
    ReplaceSelection(Edit(), L"end");
    back = editor.Text();
    EXPECT_EQ(back.size(), note.size() + 3);
    EXPECT_TRUE(back == note + u"end");
}

TEST_F(RichNote, MarksReplaceTheSelectionWithoutUndo) {
    RichNoteEditor editor(Edit());
    editor.SetText(u"one two\r\n");
    SendMessageW(Edit(), EM_SETSEL, 4, 7);
    ReplaceSelection(Edit(), L"\u221A");
    EXPECT_EQ(editor.Text(), u"one \u221A\r\n");
    SendMessageW(Edit(), EM_SETSEL, 0, 0);
    ReplaceSelection(Edit(), L"\u00D7");
    EXPECT_EQ(editor.Text(), u"\u00D7one \u221A\r\n");
    EXPECT_EQ(NoteFileBytes(editor.Text(), true), "\xA1\xC1one \xA1\xCC\r\n");
    EXPECT_FALSE(SendMessageW(Edit(), EM_CANUNDO, 0, 0));
}

TEST_F(RichNote, LoadedBytesSurviveTheControl) {
    RichNoteEditor editor(Edit());
    const std::string file = "caf\xC3\xA9 \x80\xFF \xA1\xCC \x94\x39\xFC\x36\r\n\r\nend\r\n";
    editor.SetText(NoteTextFromFile(file));
    EXPECT_EQ(NoteFileBytes(editor.Text(), true), file);
}

// A control that fails to hand out its text, as a broken or foreign editor
// might: the length it claims, and what EM_GETTEXTEX then copies.
LRESULT gClaimedLength = 0, gCopied = 0;
LRESULT CALLBACK FailingEdit(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == EM_GETTEXTLENGTHEX) return gClaimedLength;
    if (msg == EM_GETTEXTEX) return gCopied;
    return DefWindowProcW(wnd, msg, wp, lp);
}

TEST(RichNoteFailures, AFailedReadRaisesInsteadOfGivingAnEmptyNote) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FailingEdit;
    wc.lpszClassName = L"FailingEdit";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, L"FailingEdit", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    RichNoteEditor editor(wnd);
    const struct {
        LRESULT length, copied;
    } failures[] = {
        {E_INVALIDARG, 0}, // the length query refused
        {12, 0},           // nothing copied
        {12, 5},           // part of it
    };
    for (const auto& f : failures) {
        gClaimedLength = f.length;
        gCopied = f.copied;
        EXPECT_THROW(editor.Text(), ENoteEditorUnreadable) << f.length << " " << f.copied;
    }
    gClaimedLength = 0; // an empty editor is an empty note
    EXPECT_EQ(editor.Text(), u"");
    DestroyWindow(wnd);
    EXPECT_THROW(editor.Text(), ENoteEditorUnreadable); // the window is gone
}

TEST_F(RichNote, LoadingRaisesTheModificationFlag) {
    RichNoteEditor editor(Edit());
    editor.SetModified(false);
    editor.SetText(u"note\r\n");
    EXPECT_TRUE(editor.Modified());
    editor.SetModified(false);
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(editor.Text(), u"note\r\n"); // taking the text changes nothing
    EXPECT_FALSE(editor.Modified());
}

} // namespace
} // namespace tabulon
