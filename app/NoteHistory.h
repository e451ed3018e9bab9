#pragma once
// The note's history: earlier texts of the note, each a file in the note's
// own format in Data\history\, named content.<yyyyMMdd-HHmmss>.ini (local
// time), so that any text editor opens it. The rules of what is kept and for
// how long are in NoteHistoryRules.h; this is the folder and its files.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class NoteHistory {
  public:
    static constexpr const wchar_t* kFolderName = L"history";

    // The history of the note file at `notePath`: the folder history beside it.
    explicit NoteHistory(const std::wstring& notePath);

    // The folder's full path, ending in a backslash.
    const std::wstring& Folder() const { return folder_; }

    struct Version {
        std::wstring path;
        int64_t time = 0; // local time in seconds, as NoteHistoryRules counts it
        int n = 1;
        uint64_t size = 0;
    };
    // The versions, newest first (none when there is no folder).
    std::vector<Version> List() const;

    // The time of the newest version, looked up once and then kept up to
    // date by Keep (no other program writes the folder).
    std::optional<int64_t> NewestTime();

    // Keeps `bytes` (a note file's content) as a new version, unless the
    // newest version holds the same bytes, and thins the history. True when
    // a version was written. Throws EFCreateError when it cannot be.
    bool Keep(std::string_view bytes);

    // The local time now, as NoteHistoryRules counts it.
    static int64_t Now();

  private:
    void Thin(std::vector<Version> newestFirst) const;

    std::wstring folder_;
    bool newestKnown_ = false;
    std::optional<int64_t> newest_;
};

} // namespace tabulon
