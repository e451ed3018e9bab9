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
// checked on a stand-in document. Run from a folder with Chinese characters
// and a space, as a user's profile folder may be named.
TEST(BuiltInPages, ThePanelPageGoesIntoTheDocumentAsItsBytes) {
    DocumentStandIn document;
    ASSERT_EQ(LoadPageIntoDocument(&document, PageResource(kPanelPage)), S_OK);
    EXPECT_TRUE(document.initialised);
    EXPECT_EQ(document.loaded, SiteFile(kPanelPage));
}

TEST(BuiltInPages, ThePanelPageIsFoundFromAFolderOfAnyName) {
    wchar_t self[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_GT(n, 0u);
    if (std::wstring(self, n).find(L"\\张 三\\") != std::wstring::npos) return; // the copy
    const std::wstring folder = BrowserPageFolder() + L"用户\\张 三\\Tabulon\\";
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    const std::wstring copy = folder + L"test.exe";
    ASSERT_TRUE(::CopyFileW(self, copy.c_str(), FALSE));
    std::wstring command =
        L"\"" + copy + L"\" --gtest_filter=BuiltInPages.ThePanelPageGoesIntoTheDocumentAsItsBytes";
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &start, &process));
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::DeleteFileW(copy.c_str());
    EXPECT_EQ(code, 0u);
}

} // namespace
} // namespace tabulon
