#include "app/BuiltInPages.h"

namespace tabulon {
namespace {

wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

bool StartsNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

// The scheme of an absolute address ("http" of "http://…"), empty for a
// relative one. A drive letter ("C:\…") is not a scheme.
std::wstring_view SchemeOf(std::wstring_view address) {
    const size_t colon = address.find(L':');
    if (colon == std::wstring_view::npos || colon < 2) return {};
    for (size_t i = 0; i < colon; ++i) {
        const wchar_t c = address[i];
        const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
        const bool other = (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.';
        if (!letter && !(i > 0 && other)) return {};
    }
    return address.substr(0, colon);
}

// The last component of an address's path, without query or fragment.
std::wstring_view LastComponent(std::wstring_view address) {
    const size_t end = address.find_first_of(L"?#");
    if (end != std::wstring_view::npos) address = address.substr(0, end);
    const size_t slash = address.find_last_of(L"/\\");
    return slash == std::wstring_view::npos ? address : address.substr(slash + 1);
}

} // namespace

LinkTarget ClassifyLink(std::wstring_view address) {
    const std::wstring_view scheme = SchemeOf(address);
    if (EqualNoCase(scheme, L"http") || EqualNoCase(scheme, L"https") ||
        EqualNoCase(scheme, L"mailto"))
        return {LinkKind::WebAddress, {}};
    // Our pages are reached from the panel's page, which has no address of
    // its own (a relative name then comes as "about:B90a.htm"), from a res://
    // page, or by a relative name; the same name at any other kind of place
    // is not ours.
    if (EqualNoCase(scheme, L"about")) {
        std::wstring_view name = address.substr(scheme.size() + 1);
        if (StartsNoCase(name, L"blank")) name.remove_prefix(5);
        if (name.find_first_of(L"/\\:") != std::wstring_view::npos) return {};
        for (std::wstring_view page : kBuiltInPages)
            if (EqualNoCase(LastComponent(name), page))
                return {LinkKind::BuiltInPage, std::wstring(page)};
        return {};
    }
    if (!scheme.empty() && !EqualNoCase(scheme, L"res")) return {};
    if (scheme.empty()) {
        // A host without a scheme, a network share or a drive: not a link
        // between our pages.
        if (StartsNoCase(address, L"//") || StartsNoCase(address, L"\\\\")) return {};
        if (address.size() >= 2 && address[1] == L':') return {};
    }
    const std::wstring_view name = LastComponent(address);
    for (std::wstring_view page : kBuiltInPages)
        if (EqualNoCase(name, page)) return {LinkKind::BuiltInPage, std::wstring(page)};
    return {};
}

} // namespace tabulon
