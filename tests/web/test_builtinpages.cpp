// Where a link clicked in the panel goes.
#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>

#include "app/BuiltInPages.h"

namespace tabulon {

void PrintTo(const LinkTarget& t, std::ostream* os) {
    *os << int(t.kind) << " " << std::string(t.page.begin(), t.page.end());
}

namespace {

LinkTarget Page(std::wstring_view name) {
    return {LinkKind::BuiltInPage, std::wstring(name)};
}

TEST(ClassifyLink, OurPagesByNameFromTheResourceOrRelative) {
    EXPECT_EQ(ClassifyLink(L"res://C:\\My Notes\\Tabulon.exe/B90a.htm"), Page(kHelpPage));
    EXPECT_EQ(ClassifyLink(L"RES://c:\\t\\tabulon.exe/b90b.HTM"), Page(kFeedbackPage));
    EXPECT_EQ(ClassifyLink(L"res://C:\\t\\Tabulon.exe/B90D.HTM#top"), Page(kPanelPage));
    EXPECT_EQ(ClassifyLink(L"B90a.htm"), Page(kHelpPage));
    EXPECT_EQ(ClassifyLink(L"B90b.htm?from=panel"), Page(kFeedbackPage));
    EXPECT_EQ(ClassifyLink(L"/help4/B90a.htm"), Page(kHelpPage));
    // Relative to the panel's page, which has no address.
    EXPECT_EQ(ClassifyLink(L"about:B90a.htm"), Page(kHelpPage));
    EXPECT_EQ(ClassifyLink(L"about:blankB90b.htm#x"), Page(kFeedbackPage));
}

TEST(ClassifyLink, WebAndMailAddressesGoOutAsTheyAre) {
    for (const wchar_t* address :
         {L"http://example.org/", L"HTTPS://example.org/B90a.htm", L"mailto:someone@example.org",
          L"MailTo:someone@example.org?subject=x"})
        EXPECT_EQ(ClassifyLink(address).kind, LinkKind::WebAddress) << address;
}

TEST(ClassifyLink, EverythingElseIsIgnored) {
    for (const wchar_t* address :
         {L"", L"about:blank", L"javascript:alert(1)", L"file:///C:/Temp/B90a.htm",
          L"C:\\Temp\\B90a.htm", L"\\\\server\\share\\B90a.htm", L"//evil.example/B90a.htm",
          L"res://C:\\t\\Tabulon.exe/other.htm", L"ftp://example.org/B90a.htm",
          L"res://C:\\t\\Tabulon.exe/B90a.htm.exe", L"shell:startup", L"B90a",
          L"about:/evil/B90a.htm", L"about:res://x/B90a.htm"})
        EXPECT_EQ(ClassifyLink(address).kind, LinkKind::Ignored)
            << std::string(address, address + wcslen(address));
}

} // namespace
} // namespace tabulon
