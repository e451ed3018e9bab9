// The note editor's control as the toolkit creates it, under Wine: the
// current rich edit control in plain-text mode with multi-level undo, a view
// that follows the caret without scroll bars, and input-method characters.
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/RichEdit.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tabulon {
namespace {

const TFormSpec kHostSpec{.caption = L"RichEditHost", .width = 400, .height = 320};
const TFontSpec kNoteFont{.name = L"宋体", .height = 15, .charset = GB2312_CHARSET};

class Host : public TForm {
  public:
    Host() : TForm("Host", kHostSpec) {
        edit = &Add(std::make_unique<TRichEdit>("rdtMain", TColor(0x00DAFFFF), kNoteFont));
        edit->SetBounds(2, 1, 358, 287);
    }
    TRichEdit* edit;
};

class RichEdit : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { Application.Initialize(); }
    void SetUp() override {
        host_ = std::make_unique<Host>();
        host_->Show();
    }
    void TearDown() override { host_.reset(); }

    HWND Edit() const { return host_->edit->Handle(); }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageW(Edit(), msg, wp, lp);
    }
    int FirstVisibleLine() const { return int(Send(EM_GETFIRSTVISIBLELINE)); }
    int CaretLine() const { return int(Send(EM_LINEFROMCHAR, WPARAM(-1))); }
    // The caret's line lies inside the control's window.
    bool CaretLineShows() const {
        const LRESULT start = Send(EM_LINEINDEX, WPARAM(-1));
        POINTL at{};
        Send(EM_POSFROMCHAR, WPARAM(&at), start);
        RECT client;
        ::GetClientRect(Edit(), &client);
        return at.y >= 0 && at.y + 15 <= client.bottom;
    }
    void Type(const wchar_t* text) const {
        for (const wchar_t* c = text; *c; ++c)
            Send(WM_CHAR, *c, 1);
    }
    // A real Enter key: the key-down, then the character it translates to.
    void Enter() const {
        Send(WM_KEYDOWN, VK_RETURN, 1);
        Send(WM_CHAR, L'\r', 1);
    }
    // Dispatches what the control posted to itself.
    static void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    std::wstring ThirtyLines() const {
        std::wstring text;
        for (int i = 1; i <= 30; ++i)
            text += L"第" + std::to_wstring(i) + L"行 line\r\n";
        return text;
    }

    std::unique_ptr<Host> host_;
};

TEST_F(RichEdit, IsTheCurrentControlInPlainTextModeWithoutDualFont) {
    wchar_t cls[64] = {};
    ::GetClassNameW(Edit(), cls, 64);
    EXPECT_EQ(::CompareStringOrdinal(cls, -1, L"RICHEDIT50W", -1, TRUE), CSTR_EQUAL) << cls;
    const LRESULT mode = Send(EM_GETTEXTMODE);
    EXPECT_TRUE(mode & TM_PLAINTEXT);
    EXPECT_TRUE(mode & TM_MULTILEVELUNDO);
    EXPECT_FALSE(Send(EM_GETLANGOPTIONS) & IMF_DUALFONT);
    // The layout wants no scroll bars; the view follows the caret instead.
    const LONG style = ::GetWindowLongW(Edit(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_TRUE(style & ES_AUTOVSCROLL);
}

// The control's text in and out: what goes in comes back as it was, even
// when it reads like RTF; a control that cannot answer raises instead of
// handing out an empty text that could be saved over a real one.
TEST_F(RichEdit, TextRoundTripsAsPlainTextAndAMissingControlRaises) {
    TRichEdit& edit = *host_->edit;
    for (const wchar_t* text : {L"{\\rtf1\\ansi {\\b bold}}\r\n", L"第一行\r\n\r\nthird", L""}) {
        edit.SetText(text);
        EXPECT_EQ(edit.Text(), text);
    }
    HWND gone = Edit();
    host_.reset();
    EXPECT_THROW(RichEditText(gone), ERichEditUnreadable);
    EXPECT_THROW(RichEditText(nullptr), ERichEditUnreadable);
}

TEST_F(RichEdit, APasteOfFormattedTextBringsOnlyThePlainText) {
    // A browser or word processor offers formatted text beside the plain one;
    // here the two differ, so the test sees which one came in.
    const std::wstring plain = L"粘贴的文字 pasted";
    const char rtf[] = "{\\rtf1\\ansi {\\b\\fs48 HIDDEN}{\\v secret}}";
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, (plain.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(text), plain.c_str(), (plain.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(text);
    ::SetClipboardData(CF_UNICODETEXT, text);
    HGLOBAL formatted = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(rtf));
    std::memcpy(::GlobalLock(formatted), rtf, sizeof(rtf));
    ::GlobalUnlock(formatted);
    ::SetClipboardData(::RegisterClipboardFormatW(L"Rich Text Format"), formatted);
    ::CloseClipboard();

    host_->edit->SetFocus();
    Send(WM_PASTE); // the menu's paste
    Type(L" typed ");
    EXPECT_EQ(host_->edit->Text(), plain + L" typed ");
    // One format for the whole text: nothing bold, nothing hidden.
    Send(EM_SETSEL, 0, -1);
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    EXPECT_FALSE((format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD));
    EXPECT_FALSE((format.dwMask & CFM_HIDDEN) && (format.dwEffects & CFE_HIDDEN));
}

TEST_F(RichEdit, UndoGoesBackMoreThanOneStep) {
    host_->edit->SetFocus();
    Send(EM_REPLACESEL, TRUE, LPARAM(L"one "));
    Send(EM_REPLACESEL, TRUE, LPARAM(L"two"));
    ASSERT_EQ(host_->edit->Text(), L"one two");
    Send(EM_UNDO);
    EXPECT_EQ(host_->edit->Text(), L"one ");
    // A single-level undo would bring "two" back here.
    Send(EM_UNDO);
    EXPECT_EQ(host_->edit->Text(), L"");
}

TEST_F(RichEdit, TypingBelowTheLastVisibleLineScrollsTheViewToTheCaret) {
    host_->edit->SetText(ThirtyLines());
    host_->edit->SetFocus();
    ASSERT_EQ(FirstVisibleLine(), 0);
    Send(EM_SETSEL, -1, -1); // the caret at the end, as Ctrl+End leaves it
    Type(L"新的一行");
    EXPECT_GE(CaretLine(), 29);
    EXPECT_GT(FirstVisibleLine(), 10);
    EXPECT_TRUE(CaretLineShows());
    // Enter on the last line keeps the new line in view too.
    const int before = FirstVisibleLine();
    Enter();
    Enter();
    Enter();
    EXPECT_GT(FirstVisibleLine(), before);
    EXPECT_TRUE(CaretLineShows());
}

TEST_F(RichEdit, KeysAndTheWheelScrollWithoutScrollBars) {
    host_->edit->SetText(ThirtyLines());
    host_->edit->SetFocus();
    Send(WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_GT(FirstVisibleLine(), 0) << "Page Down";
    EXPECT_TRUE(CaretLineShows());
    Send(WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(FirstVisibleLine(), 0) << "Page Up";
    for (int i = 0; i < 25; ++i)
        Send(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_GT(FirstVisibleLine(), 0) << "arrow keys";
    EXPECT_TRUE(CaretLineShows());
    Send(EM_SETSEL, 0, 0);
    Send(EM_SCROLLCARET);
    ASSERT_EQ(FirstVisibleLine(), 0);
    RECT r;
    ::GetWindowRect(Edit(), &r);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA * 2)),
         MAKELPARAM(r.left + 50, r.top + 50));
    EXPECT_GT(FirstVisibleLine(), 0) << "mouse wheel";
}

TEST_F(RichEdit, InputMethodCharactersReachTheNote) {
    // What an input method such as Microsoft Pinyin delivers once a
    // candidate is chosen.
    host_->edit->SetFocus();
    for (wchar_t c : std::wstring(L"拼音输入"))
        Send(WM_IME_CHAR, c, 1);
    Pump();
    EXPECT_EQ(host_->edit->Text(), L"拼音输入");
}

bool libraryLoadedAtDestroy = false;
WNDPROC richEditProc = nullptr;

LRESULT CALLBACK WatchDestroy(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY)
        libraryLoadedAtDestroy = ::GetModuleHandleW(L"msftedit.dll") != nullptr;
    return ::CallWindowProcW(richEditProc, wnd, msg, wp, lp);
}

TEST_F(RichEdit, TheWindowIsDestroyedBeforeItsLibraryIsUnloaded) {
    // The control holds the only reference to its library here; a window
    // whose library went first would crash when destroyed (at a failed start,
    // the forms are torn down after everything else).
    richEditProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(Edit(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchDestroy)));
    libraryLoadedAtDestroy = false;
    host_.reset();
    EXPECT_TRUE(libraryLoadedAtDestroy);
    EXPECT_EQ(::GetModuleHandleW(L"msftedit.dll"), nullptr) << "the control released it";
}

} // namespace
} // namespace tabulon
