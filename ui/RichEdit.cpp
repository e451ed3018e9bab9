#include "ui/RichEdit.h"

#include "platform/SystemLibrary.h"

#include <ole2.h>

#include <richedit.h>

#include <cstring>
#include <new>
#include <string>

namespace tabulon {

namespace {

struct RichEditKind {
    const wchar_t* library;
    const wchar_t* windowClass;
};

// msftedit's control works with today's input methods and emoji; riched20's
// is the fallback. Both from the system folder only.
constexpr RichEditKind kRichEditKinds[] = {{L"msftedit.dll", L"RICHEDIT50W"},
                                           {L"riched20.dll", L"RichEdit20W"}};

// The control's own window procedure, kept in a property of its window while
// PlainPaste stands in front of it. Subclassed by hand rather than with
// comctl32's SetWindowSubclass: that library's start-up (its classes, the
// theme) would then come before the window shows, for nothing else.
constexpr const wchar_t* kOwnProcProperty = L"Tabulon.RichEditProc";

// The clipboard, open for the life of the object.
class OpenedClipboard {
  public:
    explicit OpenedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

  private:
    bool open_;
};

// A global memory block locked for reading.
class LockedGlobal {
  public:
    explicit LockedGlobal(HANDLE block)
        : block_(block), data_(block ? ::GlobalLock(block) : nullptr) {}
    ~LockedGlobal() {
        if (data_) ::GlobalUnlock(block_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    const void* Data() const { return data_; }
    size_t Size() const { return data_ ? ::GlobalSize(block_) : 0; }

  private:
    HANDLE block_;
    void* data_;
};

// The clipboard's plain text (empty when it holds none).
std::wstring ClipboardText(HWND owner) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen()) return {};
    LockedGlobal text(::GetClipboardData(CF_UNICODETEXT));
    if (!text.Data()) return {};
    const auto* chars = static_cast<const wchar_t*>(text.Data());
    const size_t most = text.Size() / sizeof(wchar_t);
    size_t n = 0;
    while (n < most && chars[n])
        ++n; // ends at its NUL, or at the block's end
    return std::wstring(chars, n);
}

// Every paste takes the clipboard's plain text. A plain-text control still
// reads the formatted kinds a browser or word processor offers (and Wine's
// inserts hidden text from them), so what was pasted could differ from what
// the user was shown as the plain text; the menu's paste (WM_PASTE), Ctrl+V
// and Shift+Insert all come through here, as one step of undo.
LRESULT CALLBACK PlainPaste(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto own = reinterpret_cast<WNDPROC>(::GetPropW(wnd, kOwnProcProperty));
    if (!own) return ::DefWindowProcW(wnd, msg, wp, lp);
    const auto pastePlain = [wnd] {
        const std::wstring text = ClipboardText(wnd);
        if (!text.empty()) ::SendMessageW(wnd, EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
        return LRESULT(0);
    };
    switch (msg) {
    case WM_PASTE:
        return pastePlain();
    case WM_KEYDOWN: {
        const bool ctrl = KeyIsDown(VK_CONTROL), shift = KeyIsDown(VK_SHIFT);
        if ((ctrl && !shift && wp == 'V') || (shift && !ctrl && wp == VK_INSERT))
            return pastePlain();
        break;
    }
    case WM_NCDESTROY:
        // The last message: the control finishes on its own.
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        ::RemovePropW(wnd, kOwnProcProperty);
        break;
    default:
        break;
    }
    return ::CallWindowProcW(own, wnd, msg, wp, lp);
}

} // namespace

TRichEdit::TRichEdit(std::string name, TColor color, const TFontSpec& font)
    : TControl(std::move(name)), color_(color), font_(font) {}

TRichEdit::~TRichEdit() {
    // Text the user copied is handed to the clipboard as an object of the
    // control's library: render it now, while that library is loaded, so the
    // text outlives us and nothing calls into the library once it is gone.
    ::OleFlushClipboard();
    wnd_.Reset(); // before library_ goes
}

void TRichEdit::ParentHandleReady(HWND parentWnd) {
    const wchar_t* windowClass = nullptr;
    for (const RichEditKind& kind : kRichEditKinds) {
        library_ = LoadSystemLibrary(kind.library);
        if (library_) {
            windowClass = kind.windowClass;
            break;
        }
    }
    if (!windowClass) throw Exception(L"Cannot load msftedit.dll or riched20.dll");
    // No WS_VSCROLL / ES_AUTOHSCROLL: lines wrap at the window's width and no
    // scroll bar shows; ES_AUTOVSCROLL still scrolls the view to the caret.
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN |
                        ES_AUTOVSCROLL | ES_NOHIDESEL | (visible_ ? WS_VISIBLE : 0);
    HWND wnd = ::CreateWindowExW(0, windowClass, L"", style, bounds_.left, bounds_.top,
                                 bounds_.Width(), bounds_.Height(), parentWnd, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!wnd) throw Exception(L"Cannot create the rich edit control");
    wnd_.Reset(wnd);
    // Plain text, set while the control is still empty (it refuses later):
    // a paste from a browser or a word processor comes in as the text the
    // note file will hold, in the one font, with multi-level undo.
    ::SendMessageW(wnd, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
    // Dual-font would show Latin letters typed under a Chinese input method
    // in another font than the one the note is drawn with.
    const LRESULT options = ::SendMessageW(wnd, EM_GETLANGOPTIONS, 0, 0);
    ::SendMessageW(wnd, EM_SETLANGOPTIONS, 0, options & ~LPARAM(IMF_DUALFONT));
    ::SetPropW(wnd, kOwnProcProperty,
               reinterpret_cast<HANDLE>(::GetWindowLongPtrW(wnd, GWLP_WNDPROC)));
    ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PlainPaste));
    hfont_ = CreateFontFor(font_);
    ::SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_.Get()), FALSE);
    ApplyColors();
    ::SendMessageW(wnd, EM_SETTARGETDEVICE, 0, 0); // wrap to the window
    ::SendMessageW(wnd, EM_SETEVENTMASK, 0, ENM_CHANGE);
}

void TRichEdit::ApplyColors() {
    // Under a high-contrast theme the note is written in the system's window
    // and text colours, which the user chose to be able to read it.
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    const bool system =
        ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON);
    ::SendMessageW(wnd_.Get(), EM_SETBKGNDCOLOR, system ? 1 : 0,
                   system ? 0 : static_cast<LPARAM>(ColorToRGB(color_)));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.dwEffects = system ? CFE_AUTOCOLOR : 0;
    format.crTextColor = ColorToRGB(font_.color);
    ::SendMessageW(wnd_.Get(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void TRichEdit::Notify(UINT code) {
    if (code == EN_CHANGE) ::SendMessageW(wnd_.Get(), EM_SETMODIFY, TRUE, 0);
}

void TRichEdit::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (wnd_) ::MoveWindow(wnd_.Get(), left, top, width, height, TRUE);
}

void TRichEdit::SetVisible(bool visible) {
    visible_ = visible;
    if (wnd_) ::ShowWindow(wnd_.Get(), visible ? SW_SHOW : SW_HIDE);
}

void TRichEdit::SetFont(const TFontSpec& font) {
    font_ = font;
    if (!wnd_) return;
    // The new font is in use before the old one is freed.
    GdiFont old = std::move(hfont_);
    hfont_ = CreateFontFor(font_);
    ::SendMessageW(wnd_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(hfont_.Get()), TRUE);
}

void TRichEdit::SetFocus() {
    if (wnd_) ::SetFocus(wnd_.Get());
}

std::wstring RichEditText(HWND edit) {
    constexpr const wchar_t* kUnreadable = L"The rich edit control did not hand out its text";
    if (!::IsWindow(edit)) throw ERichEditUnreadable(kUnreadable);
    GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT length = ::SendMessageW(edit, EM_GETTEXTLENGTHEX, WPARAM(&lengthQuery), 0);
    if (length < 0) throw ERichEditUnreadable(kUnreadable);
    if (length == 0) return {};
    std::wstring text;
    try {
        text.resize(size_t(length) + 1);
    } catch (const std::bad_alloc&) {
        throw ERichEditUnreadable(kUnreadable);
    }
    GETTEXTEX query{};
    query.cb = DWORD(text.size() * sizeof(wchar_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;
    const LRESULT got = ::SendMessageW(edit, EM_GETTEXTEX, WPARAM(&query), LPARAM(text.data()));
    // The length is exact (GTL_PRECISE), so fewer characters, or a buffer
    // filled to its end, mean that part of the text did not come out.
    if (got <= 0 || size_t(got) >= text.size() || size_t(got) + 2 < size_t(length))
        throw ERichEditUnreadable(kUnreadable);
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

void SetRichEditPlainText(HWND edit, std::wstring_view text) {
    if (!edit) return;
    StreamSource source{reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
    EDITSTREAM stream{};
    stream.dwCookie = DWORD_PTR(&source);
    stream.pfnCallback = ReadChunk;
    ::SendMessageW(edit, EM_STREAMIN, SF_TEXT | SF_UNICODE, LPARAM(&stream));
}

} // namespace tabulon
