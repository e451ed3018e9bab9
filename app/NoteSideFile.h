#pragma once
// The side file: while the note file exists but cannot be read, the note is
// never overwritten, and what the user types goes to this file beside it
// instead of being dropped.
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

  private:
    std::wstring path_;
};

} // namespace tabulon
