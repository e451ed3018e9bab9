// The built-in pages inside the program: every page is a resource of
// Tabulon.exe with exactly the bytes of site/, the panel's address is the
// page inside the running program, and help and feedback are written out as
// files a browser can open.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>

#include "app/BuiltInPages.h"
#include "app/BuiltInPagesWin32.h"
#include "platform/FileIO.h"
#include "ui/WebBrowser.h"

namespace tabulon {
namespace {

std::string SiteFile(std::wstring_view page) {
    // "B90D.HTM" is site/B90d.htm.
    std::string name;
    for (wchar_t c : page)
        name += char(std::tolower(char(c)));
    name[0] = char(std::toupper(name[0]));
    std::ifstream in(std::string(TABULON_SITE) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

TEST(BuiltInPages, TheProgramCarriesEveryPageAsInSite) {
    // The real executable, opened as data: its resources without running it.
    HMODULE exe = ::LoadLibraryExW(Widen(TABULON_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr) << TABULON_EXE;
    for (std::wstring_view page : kBuiltInPages) {
        const std::wstring name(page);
        HRSRC found = ::FindResourceW(exe, name.c_str(), RT_HTML);
        ASSERT_NE(found, nullptr) << std::string(name.begin(), name.end());
        const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(exe, found)));
        const std::string site = SiteFile(page);
        ASSERT_FALSE(site.empty());
        EXPECT_EQ(std::string(bytes, ::SizeofResource(exe, found)), site);
    }
    ::FreeLibrary(exe);
}

TEST(BuiltInPages, ThePanelPageIsInsideTheRunningProgram) {
    // This test links the program's resources.
    EXPECT_EQ(PageResource(kPanelPage), SiteFile(kPanelPage));
    EXPECT_TRUE(PageResource(L"NOSUCH.HTM").empty());
}

TEST(BuiltInPages, HelpAndFeedbackAreWrittenOutSideBySide) {
    const std::wstring folder = BrowserPageFolder();
    ASSERT_GE(folder.size(), 9u);
    EXPECT_EQ(folder.substr(folder.size() - 9), L"\\Tabulon\\");
    // A stale copy from another version is replaced.
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileReplacing(folder + L"B90A.HTM", "old");
    const std::wstring help = WritePageForBrowser(kHelpPage);
    EXPECT_EQ(help, folder + L"B90A.HTM");
    EXPECT_EQ(ReadWholeFile(help), SiteFile(kHelpPage));
    // The help page links the feedback page by its bare name: it is beside it.
    EXPECT_EQ(ReadWholeFile(folder + L"B90B.HTM"), SiteFile(kFeedbackPage));
    EXPECT_EQ(WritePageForBrowser(kFeedbackPage), folder + L"B90B.HTM");
    EXPECT_EQ(WritePageForBrowser(L"NOSUCH.HTM"), L"");
}

// Stands for the browser's document: keeps what is loaded into it.
class DocumentStandIn final : public IPersistStreamInit {
  public:
    std::string loaded;
    bool initialised = false;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IPersistStreamInit) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream* stream) override {
        char chunk[512];
        ULONG got = 0;
        while (SUCCEEDED(stream->Read(chunk, sizeof(chunk), &got)) && got > 0)
            loaded.append(chunk, got);
        return S_OK;
    }
    STDMETHODIMP Save(IStream*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override {
        initialised = true;
        return S_OK;
    }
};

// Under Wine the browser control is missing: what the panel hands it is
// checked on a stand-in document.
TEST(BuiltInPages, ThePanelPageGoesIntoTheDocumentAsItsBytes) {
    DocumentStandIn document;
    ASSERT_EQ(LoadPageIntoDocument(&document, PageResource(kPanelPage)), S_OK);
    EXPECT_TRUE(document.initialised);
    EXPECT_EQ(document.loaded, SiteFile(kPanelPage));
}

TEST(BuiltInPages, HelpIsWrittenIntoATempFolderUnderAnyUserName) {
    // A profile named in Chinese with a space and a rare character of a
    // personal name outside GBK (𠮷, U+20BB7): the page is
    // written under it, and its path reaches the browser whole, never through
    // the ANSI code page.
    const std::wstring temp = BrowserPageFolder() + L"用户\\张 𠮷\\Temp\\";
    const int made = ::SHCreateDirectoryExW(nullptr, temp.c_str(), nullptr);
    ASSERT_TRUE(made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS);
    wchar_t old[MAX_PATH + 1] = {};
    ::GetEnvironmentVariableW(L"TMP", old, MAX_PATH + 1);
    ::SetEnvironmentVariableW(L"TMP", temp.c_str()); // GetTempPathW reads TMP first
    const std::wstring help = WritePageForBrowser(kHelpPage);
    ::SetEnvironmentVariableW(L"TMP", old[0] ? old : nullptr);
    EXPECT_EQ(help, temp + L"Tabulon\\B90A.HTM");
    EXPECT_EQ(ReadWholeFile(help), SiteFile(kHelpPage));
}

} // namespace
} // namespace tabulon
