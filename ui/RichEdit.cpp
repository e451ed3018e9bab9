#include "ui/RichEdit.h"

#include <richedit.h>

#include <vector>

namespace tabulon {

namespace {

// riched20.dll stays loaded for the life of the process: the window class
// lives in it, and a control may exist until the very end.
void LoadRichEditLibrary() {
    static ModuleHandle library(::LoadLibraryW(L"riched20.dll"));
    if (!library) throw Exception(L"Cannot load riched20.dll");
}

} // namespace

TRichEdit::TRichEdit(std::string name, TColor color, const TFontSpec& font)
    : TControl(std::move(name)), color_(color), font_(font) {}

void TRichEdit::ParentHandleReady(HWND parentWnd) {
    LoadRichEditLibrary();
    // No WS_HSCROLL / ES_AUTOHSCROLL: lines wrap at the window's width.
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN |
                        ES_NOHIDESEL | (visible_ ? WS_VISIBLE : 0);
    HWND wnd = ::CreateWindowExW(0, L"RichEdit20W", L"", style, bounds_.left, bounds_.top,
                                 bounds_.Width(), bounds_.Height(), parentWnd, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!wnd) throw Exception(L"Cannot create the rich edit control");
    wnd_.Reset(wnd);
    hfont_ = CreateFontFor(font_);
    ::SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_.Get()), FALSE);
    ::SendMessageW(wnd, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = ColorToRGB(font_.color);
    ::SendMessageW(wnd, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(wnd, EM_SETTARGETDEVICE, 0, 0); // wrap to the window
    ::SendMessageW(wnd, EM_SETEVENTMASK, 0, ENM_CHANGE);
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

std::wstring TRichEdit::Text() const {
    if (!wnd_) return {};
    GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LRESULT length =
        ::SendMessageW(wnd_.Get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    GETTEXTEX query{};
    query.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;
    const LRESULT got = ::SendMessageW(wnd_.Get(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                       reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void TRichEdit::SetText(const std::wstring& text) {
    if (wnd_) ::SetWindowTextW(wnd_.Get(), text.c_str());
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

} // namespace tabulon
