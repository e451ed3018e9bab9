#pragma once
// The three pages that ship inside Tabulon.exe as HTML resources: the tips
// page of the web panel, help and feedback. The panel shows its page straight
// from the executable (as bytes); help and feedback open in the user's browser,
// which cannot read our resources, so they are written out as files first.
#include <string>
#include <string_view>

namespace tabulon {

// Resource names (type RT_HTML). They are also the file names the pages have
// in site/ and when written out, so a relative link between two pages works
// in the panel, in site/ and in the written copies alike.
inline constexpr std::wstring_view kPanelPage = L"B90D.HTM";
inline constexpr std::wstring_view kHelpPage = L"B90A.HTM";
inline constexpr std::wstring_view kFeedbackPage = L"B90B.HTM";

// Every page, in the order they are written out for the user's browser.
inline constexpr std::wstring_view kBuiltInPages[] = {kPanelPage, kHelpPage, kFeedbackPage};

// Where a link clicked in the panel goes.
enum class LinkKind {
    BuiltInPage, // one of our pages: open the written-out copy
    WebAddress,  // http, https or mailto: hand it to the system as it is
    Ignored,     // anything else (file:, javascript:, about:, unknown names)
};
struct LinkTarget {
    LinkKind kind = LinkKind::Ignored;
    std::wstring page; // the resource name, for BuiltInPage
    bool operator==(const LinkTarget&) const = default;
};
LinkTarget ClassifyLink(std::wstring_view address);

} // namespace tabulon
