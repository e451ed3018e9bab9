// Loading DLLs from the system folder only: a DLL beside the program (as in a
// download folder) is never taken. tabulon_planted.dll lies beside this test.
#include "platform/SystemLibrary.h"

#include <gtest/gtest.h>

#include <string>

namespace tabulon {
namespace {

std::wstring FolderOf(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring s(path);
    return s.substr(0, s.find_last_of(L"\\/"));
}

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

bool SameFolder(std::wstring a, std::wstring b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// One test, in this order: the restriction is for the rest of the process.
TEST(SystemLibrary, ADllBesideTheProgramIsNeverLoaded) {
    // The set-up: by default Windows does look beside the program.
    HMODULE plain = ::LoadLibraryW(L"tabulon_planted.dll");
    ASSERT_NE(plain, nullptr) << "tabulon_planted.dll should lie beside the test";
    EXPECT_TRUE(SameFolder(FolderOf(plain), FolderOf(nullptr)));
    ::FreeLibrary(plain);

    // Loading from the system folder only does not.
    EXPECT_FALSE(LoadSystemLibrary(L"tabulon_planted.dll"));
    // A system DLL comes from the system folder.
    ModuleHandle richEdit = LoadSystemLibrary(L"msftedit.dll");
    ASSERT_TRUE(richEdit);
    EXPECT_TRUE(SameFolder(FolderOf(richEdit.Get()), SystemFolder()));

    // After the start-up restriction, neither does a plain LoadLibrary, as
    // the system's components call it.
    EXPECT_TRUE(RestrictDllSearchToSystem());
    HMODULE after = ::LoadLibraryW(L"tabulon_planted.dll");
    EXPECT_EQ(after, nullptr);
    if (after) ::FreeLibrary(after);
    HMODULE system = ::LoadLibraryW(L"riched20.dll");
    EXPECT_NE(system, nullptr);
    if (system) ::FreeLibrary(system);
}

} // namespace
} // namespace tabulon
