#include "platform/WorkFolder.h"

#include <windows.h>

#include <shlobj.h>

#include "base/LongPath.h"
#include "platform/Handles.h"
#include "platform/FileIO.h"

namespace tabulon {

namespace {

std::wstring& Chosen() {
    static std::wstring folder;
    return folder;
}

bool FolderExists(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Copies the files of `from` that `to` lacks (one level; both end in a backslash).
void CopyMissingFiles(const std::wstring& from, const std::wstring& to) {
    WIN32_FIND_DATAW data;
    HANDLE first = FindFirstFileW(ExtendedLengthPath(from + L"*").c_str(), &data);
    if (first == INVALID_HANDLE_VALUE) return;
    const FileSearch search(first);
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        CopyFileW(ExtendedLengthPath(from + data.cFileName).c_str(),
                  ExtendedLengthPath(to + data.cFileName).c_str(), TRUE);
    } while (FindNextFileW(search.Get(), &data));
}

} // namespace

std::wstring WorkFolder() {
    return Chosen().empty() ? ProgramFolder() : Chosen();
}

std::wstring BackgroundFolderIn(const std::wstring& programFolder) {
    return programFolder + L"source\\DeskTopBG\\";
}

bool FolderWritable(const std::wstring& folder) {
    const std::wstring probe =
        folder + L"~tabulon-probe-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    // A folder deeper than the classic path limit is probed in its long form.
    FileHandle file(CreateFileW(ExtendedLengthPath(probe).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                nullptr));
    return file.Valid();
}

std::wstring LocalAppDataFolder() {
    std::wstring folder;
    TaskMemory<wchar_t> path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, path.Receive())) && path)
        folder = path.Get();
    if (folder.empty()) {
        wchar_t buffer[MAX_PATH];
        const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
        if (n && n < MAX_PATH) folder.assign(buffer, n);
    }
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

WorkFolderChoice SetUpWorkFolder(const std::wstring& programFolder,
                                 const std::wstring& localAppData,
                                 const std::function<bool(const std::wstring&)>& writable) {
    WorkFolderChoice choice{programFolder};
    // The note is written in the Data folder (which may deny new files where
    // the program folder allows them, or the other way round); without a Data
    // folder the program folder itself is what must take files.
    const std::wstring dataFolder = programFolder + L"Data\\";
    const std::wstring probed = FolderExists(dataFolder) ? dataFolder : programFolder;
    if (localAppData.empty() || writable(probed)) {
        Chosen() = programFolder;
        return choice;
    }
    const std::wstring local = localAppData + L"Tabulon\\";
    for (const wchar_t* sub : {L"", L"Data\\", L"source\\", L"source\\DeskTopBG\\"})
        CreateDirectoryW((local + sub).c_str(), nullptr);
    const std::wstring note = L"Data\\content.ini";
    choice.folder = local;
    choice.moved = true;
    choice.firstMove = !FileExists(local + note);
    if (choice.firstMove && FileExists(programFolder + note)) {
        try {
            WriteFileReplacing(local + note, ReadWholeFile(programFolder + note));
        } catch (const Exception&) {
            // Unreadable: it stays where it is, untouched; the user is told
            // where the note now lives and finds the old one beside the program.
        }
    }
    CopyMissingFiles(programFolder + L"source\\DeskTopBG\\", local + L"source\\DeskTopBG\\");
    Chosen() = local;
    return choice;
}

} // namespace tabulon
