#include "app/NoteSideFile.h"

#include <windows.h>

#include <cwchar>

#include "app/NoteText.h"
#include "base/LongPath.h"
#include "platform/FileIO.h"

namespace tabulon {

NoteSideFile::NoteSideFile(const std::wstring& notePath, SideFileKind kind) {
    const std::wstring full = FullFilePath(notePath);
    const size_t slash = full.find_last_of(L"\\/");
    folder_ = slash == std::wstring::npos ? std::wstring() : full.substr(0, slash + 1);
    path_ = folder_ + (kind == SideFileKind::Whole ? kWholeName : kTypedName);
}

std::optional<std::u16string> NoteSideFile::Read() const {
    try {
        if (!FileExists(path_)) return std::nullopt;
        return NoteTextFromFile(ReadWholeFile(path_));
    } catch (const Exception&) {
        return std::nullopt; // what it holds stays on disk for the user
    }
}

void NoteSideFile::Save(std::u16string_view text) const {
    WriteFileReplacing(path_, NoteFileBytes(text, true));
}

std::wstring NoteSideFile::KeepCopy(std::string_view bytes) const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    const std::wstring stem = folder_ + L"content." + stamp;
    std::wstring copy = stem + L".ini";
    for (int n = 2; n < 100 && FileExists(copy); ++n)
        copy = stem + L"-" + std::to_wstring(n) + L".ini";
    if (FileExists(copy)) ThrowCreateError(FullFilePath(copy), ERROR_FILE_EXISTS);
    WriteFileReplacing(copy, bytes);
    return copy;
}

void NoteSideFile::Remove() const {
    DeleteFileW(ExtendedLengthPath(FullFilePath(path_)).c_str());
}

} // namespace tabulon
