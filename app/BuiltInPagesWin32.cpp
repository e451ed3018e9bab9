#include "app/BuiltInPagesWin32.h"

#include <shellapi.h>

#include "app/BuiltInPages.h"
#include "platform/FileIO.h"

namespace tabulon {

std::string_view PageResource(std::wstring_view page) {
    const std::wstring name(page);
    // Resources live as long as the module: nothing here is freed.
    HRSRC found = ::FindResourceW(nullptr, name.c_str(), RT_HTML);
    if (!found) return {};
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const char*>(bytes), ::SizeofResource(nullptr, found)};
}

std::wstring BrowserPageFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring folder = (n > 0 && n <= MAX_PATH) ? std::wstring(temp, n) : ProgramFolder();
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder + L"Tabulon\\";
}

std::wstring WritePageForBrowser(std::wstring_view page) {
    const std::wstring folder = BrowserPageFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr); // an existing folder is fine
    std::wstring wanted;
    for (std::wstring_view name : kBuiltInPages) {
        const std::wstring path = folder + std::wstring(name);
        WriteFileReplacing(path, PageResource(name));
        if (name == page) wanted = path;
    }
    return wanted;
}

void OpenPageInBrowser(HWND owner, std::wstring_view page) {
    const std::wstring path = WritePageForBrowser(page);
    if (path.empty()) return;
    ::ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenLinkInBrowser(HWND owner, const std::wstring& address) {
    const LinkTarget target = ClassifyLink(address);
    switch (target.kind) {
    case LinkKind::BuiltInPage:
        OpenPageInBrowser(owner, target.page);
        break;
    case LinkKind::WebAddress:
        ::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case LinkKind::Ignored:
        break;
    }
}

} // namespace tabulon
