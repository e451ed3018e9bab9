#pragma once
// The rules of the note's history, apart from the files: when a text on
// disk is kept as a version before a write replaces it, how versions are
// named, and which of them thinning leaves. Times are local wall-clock
// seconds (the versions' names carry local time), counted from 1970-01-01.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// A local date and time to the second, as a version's name spells it.
struct CivilTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Seconds from 1970-01-01 00:00:00 to `t`, read as one time zone.
int64_t SecondsOf(const CivilTime& t);

// "content.yyyyMMdd-HHmmss.ini"; a second that already holds a version
// gives "content.yyyyMMdd-HHmmss-<n>.ini" for n = 2, 3, ...
std::wstring VersionName(const CivilTime& t, int n = 1);

// The time and number of a version's file name; nothing for any other name.
struct VersionId {
    int64_t time = 0;
    int n = 1;
};
std::optional<VersionId> ParseVersionName(std::wstring_view name);

// About how many characters of `before` (note file bytes, GBK) a write of
// `after` removes: the span between the two texts' common start and common
// end, counted as the characters it holds.
size_t RemovedCharacters(std::string_view before, std::string_view after);

// Whether writing `after` over the note on disk, `before`, keeps `before`
// as a version first. `newest` is the time of the newest version (none when
// the history is empty). Due when the newest is more than 10 minutes old,
// so that an editing session leaves the text as it was before it, and
// whenever the write removes a quarter of the text or more, or more than
// 500 characters. A blank note or an unchanged one is never kept.
bool WriteKeepsVersion(std::optional<int64_t> newest, int64_t now, std::string_view before,
                       std::string_view after);

// One version as thinning sees it.
struct VersionEntry {
    int64_t time = 0;
    uint64_t size = 0;
};

// Which versions thinning removes (their indexes, ascending), for
// `oldestFirst` sorted by time. Every version of the last 2 days stays;
// older ones thin to the last of each day, up to 60 days; past 20 MB in all
// the oldest go first. The newest always stays, whatever its age or size.
std::vector<size_t> VersionsToThin(std::span<const VersionEntry> oldestFirst, int64_t now);

} // namespace tabulon
