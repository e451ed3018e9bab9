#pragma once
// Files beside the note. The side files: while the note file exists but
// cannot be read or written, the note is never overwritten, and what the user
// types goes to one of them instead of being dropped. Kept copies: another
// program's text of the note, when ours is written over it.
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

// What a side file holds, told by its name: a user who opens it in Notepad
// sees an ordinary text either way.
enum class SideFileKind {
    Typed, // written while the note could not be read: what was typed meanwhile, to go after it
    Whole, // written from the loaded note (a save that failed): the whole text, to take its place
};

class NoteSideFile {
  public:
    static constexpr const wchar_t* kTypedName = L"content.unsaved.ini";
    static constexpr const wchar_t* kWholeName = L"content.unsaved-whole.ini";

    // The side file of that kind in the folder of the note file at `notePath`.
    NoteSideFile(const std::wstring& notePath, SideFileKind kind);

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
    std::wstring folder_; // ends in a backslash
    std::wstring path_;
};

} // namespace tabulon
