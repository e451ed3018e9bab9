#include "app/NoteHistoryRules.h"

#include <algorithm>
#include <cstdio>

namespace tabulon {

namespace {

constexpr int64_t kDay = 24 * 60 * 60;
constexpr int64_t kQuietSpan = 10 * 60; // a version older than this lets a write keep one
constexpr size_t kBigRemoval = 500;     // characters a write may remove without a version
constexpr int64_t kEveryVersionFor = 2 * kDay;
constexpr int64_t kDailyVersionsFor = 60 * kDay;
constexpr uint64_t kHistoryBytes = 20ull * 1024 * 1024;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t DayOf(int64_t seconds) {
    return seconds >= 0 ? seconds / kDay : -((-seconds + kDay - 1) / kDay);
}

// Characters in GBK bytes: a byte from 0x81 on leads a two-byte character
// (GB18030's four-byte ones count as two, which is near enough here).
size_t CountCharacters(std::string_view bytes) {
    size_t n = 0;
    for (size_t i = 0; i < bytes.size(); ++n)
        i += static_cast<unsigned char>(bytes[i]) >= 0x81 && i + 1 < bytes.size() ? 2 : 1;
    return n;
}

bool ParseDigits(std::wstring_view s, size_t at, size_t count, int& value) {
    value = 0;
    if (at + count > s.size()) return false;
    for (size_t i = at; i < at + count; ++i) {
        if (s[i] < L'0' || s[i] > L'9') return false;
        value = value * 10 + (s[i] - L'0');
    }
    return true;
}

} // namespace

int64_t SecondsOf(const CivilTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * kDay + t.hour * 3600 + t.minute * 60 + t.second;
}

std::wstring VersionName(const CivilTime& t, int n) {
    wchar_t name[64];
    std::swprintf(name, 64, L"content.%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    std::wstring result = name;
    if (n > 1) result += L"-" + std::to_wstring(n);
    return result + L".ini";
}

std::optional<VersionId> ParseVersionName(std::wstring_view name) {
    constexpr std::wstring_view kStart = L"content.", kEnd = L".ini";
    if (name.size() < kStart.size() + 15 + kEnd.size() || !name.starts_with(kStart) ||
        !name.ends_with(kEnd))
        return std::nullopt;
    const std::wstring_view stamp =
        name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
    CivilTime t;
    if (!ParseDigits(stamp, 0, 4, t.year) || !ParseDigits(stamp, 4, 2, t.month) ||
        !ParseDigits(stamp, 6, 2, t.day) || stamp[8] != L'-' || !ParseDigits(stamp, 9, 2, t.hour) ||
        !ParseDigits(stamp, 11, 2, t.minute) || !ParseDigits(stamp, 13, 2, t.second))
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
        t.second > 60)
        return std::nullopt;
    VersionId id{SecondsOf(t), 1};
    if (stamp.size() > 15) {
        const size_t digits = stamp.size() - 16;
        if (stamp[15] != L'-' || digits == 0 || digits > 6 ||
            !ParseDigits(stamp, 16, digits, id.n) || id.n < 2)
            return std::nullopt;
    }
    return id;
}

size_t RemovedCharacters(std::string_view before, std::string_view after) {
    const size_t shorter = std::min(before.size(), after.size());
    const size_t start =
        std::mismatch(before.begin(), before.begin() + shorter, after.begin()).first -
        before.begin();
    const size_t end =
        std::mismatch(before.rbegin(), before.rbegin() + (shorter - start), after.rbegin()).first -
        before.rbegin();
    return CountCharacters(before.substr(start, before.size() - start - end));
}

bool WriteKeepsVersion(std::optional<int64_t> newest, int64_t now, std::string_view before,
                       std::string_view after) {
    // A blank note holds nothing worth a version.
    if (before.find_first_not_of(" \r\n") == std::string_view::npos || before == after)
        return false;
    if (!newest || now - *newest > kQuietSpan) return true;
    const size_t removed = RemovedCharacters(before, after);
    if (removed > kBigRemoval) return true;
    if (removed == 0) return false;
    // A text holds at least half as many characters as bytes: most ticks
    // settle here without counting the whole note.
    if (removed * 4 < before.size() / 2) return false;
    return removed * 4 >= CountCharacters(before);
}

std::vector<size_t> VersionsToThin(std::span<const VersionEntry> oldestFirst, int64_t now) {
    const size_t count = oldestFirst.size();
    std::vector<bool> drop(count, false);
    for (size_t i = 0; i + 1 < count; ++i) {
        const int64_t age = now - oldestFirst[i].time;
        if (age <= kEveryVersionFor) continue;
        drop[i] =
            age > kDailyVersionsFor || DayOf(oldestFirst[i + 1].time) == DayOf(oldestFirst[i].time);
    }
    uint64_t total = 0;
    for (size_t i = 0; i < count; ++i)
        if (!drop[i]) total += oldestFirst[i].size;
    for (size_t i = 0; i + 1 < count && total > kHistoryBytes; ++i)
        if (!drop[i]) {
            drop[i] = true;
            total -= oldestFirst[i].size;
        }
    std::vector<size_t> result;
    for (size_t i = 0; i < count; ++i)
        if (drop[i]) result.push_back(i);
    return result;
}

} // namespace tabulon
