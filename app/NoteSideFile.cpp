#include "app/NoteSideFile.h"

#include <windows.h>

#include "app/NoteText.h"
#include "base/LongPath.h"
#include "platform/FileIO.h"

namespace tabulon {

NoteSideFile::NoteSideFile(const std::wstring& notePath) {
    const std::wstring full = FullFilePath(notePath);
    const size_t slash = full.find_last_of(L"\\/");
    path_ = (slash == std::wstring::npos ? std::wstring() : full.substr(0, slash + 1)) + kName;
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

void NoteSideFile::Remove() const {
    DeleteFileW(ExtendedLengthPath(FullFilePath(path_)).c_str());
}

} // namespace tabulon
