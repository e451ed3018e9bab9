#pragma once
// Files beside the note. The side file: while the note file exists but cannot
// be read or written, the note is never overwritten, and what the user types
// goes to this file instead of being dropped. Kept copies: another program's
// text of the note, when ours is written over it.
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

class NoteSideFile {
  public:
    static constexpr const wchar_t* kName = L"content.unsaved.ini";

    // The side file in the folder of the note file at `notePath`.
    explicit NoteSideFile(const std::wstring& notePath);

    const std::wstring& Path() const { return path_; }
    // The text kept there, or nothing when there is no such file or it
    // cannot be read.
    std::optional<std::u16string> Read() const;
    // Writes `text` as the note file would hold it, the safe way (a
    // temporary file takes its place). Throws EFCreateError.
    void Save(std::u16string_view text) const;
    // Deletes it once its text is safe in the note.
    void Remove() const;

    // Writes `bytes` as a new file content.<yyyyMMdd-HHmmss>.ini (local
    // time) in the note's folder and gives its full path; an existing file
    // of that name is never replaced. Throws EFCreateError.
    std::wstring KeepCopy(std::string_view bytes) const;

  private:
    std::wstring path_;
};

} // namespace tabulon
