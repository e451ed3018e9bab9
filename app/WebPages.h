#pragma once
// The maker's pages: one host for all three addresses.
#include <string>

namespace tabulon {

inline constexpr const wchar_t* kWebHost = L"http://tabulon.example.com";

// The page shown in the web panel.
inline std::wstring PanelPageAddress() {
    return std::wstring(kWebHost) + L"/r/B90d.htm";
}
// Help and feedback, opened in the user's browser.
inline std::wstring HelpPageAddress() {
    return std::wstring(kWebHost) + L"/help4/B90a.htm";
}
inline std::wstring FeedbackPageAddress() {
    return std::wstring(kWebHost) + L"/help4/B90b.htm";
}

} // namespace tabulon
