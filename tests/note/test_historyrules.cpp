// When the note's history keeps a version, which versions thinning leaves,
// and how versions are named: every expected value worked out by hand.
#include <gtest/gtest.h>

#include "app/NoteHistoryRules.h"

namespace tabulon {
namespace {

constexpr int64_t kMinute = 60, kHour = 3600;
constexpr uint64_t kMB = 1024 * 1024;
const int64_t kNow = SecondsOf({2026, 12, 10, 12, 0, 0});

int64_t At(int month, int day, int hour) {
    return SecondsOf({2026, month, day, hour, 0, 0});
}

TEST(NoteHistoryRules, WhenAWriteKeepsAVersion) {
    std::string chinese400, chinese301, chinese300;
    for (int i = 0; i < 400; ++i)
        chinese400 += "\xD6\xD0"; // 中
    chinese301 = chinese400.substr(0, 602);
    chinese300 = chinese400.substr(0, 600);
    struct Row {
        const char* what;
        std::optional<int64_t> newest;
        std::string before, after;
        bool keeps;
    } rows[] = {
        {"no version yet", std::nullopt, "abc\r\n", "abcd\r\n", true},
        {"a blank note on disk", std::nullopt, " \r\n", "abc\r\n", false},
        {"unchanged", std::nullopt, "abc\r\n", "abc\r\n", false},
        {"newest 5 min old, small edit", kNow - 5 * kMinute, "abc\r\n", "abcd\r\n", false},
        {"newest exactly 10 min old", kNow - 10 * kMinute, "abc\r\n", "abcd\r\n", false},
        {"newest 10 min 1 s old", kNow - 10 * kMinute - 1, "abc\r\n", "abcd\r\n", true},
        {"clock turned back", kNow + kHour, "abc\r\n", "abcd\r\n", false},
        {"select-all and a key", kNow - kMinute, std::string(1000, 'a'), "x", true},
        {"25 of 100 removed", kNow - kMinute, std::string(100, 'a'), std::string(75, 'a'), true},
        {"24 of 100 removed", kNow - kMinute, std::string(100, 'a'), std::string(76, 'a'), false},
        {"25 of 100 replaced in the middle", kNow - kMinute,
         std::string(40, 'a') + std::string(25, 'b') + std::string(35, 'c'),
         std::string(40, 'a') + "X" + std::string(35, 'c'), true},
        {"500 of 3000 removed", kNow - kMinute, std::string(3000, 'x'), std::string(2500, 'x'),
         false},
        {"501 of 3000 removed", kNow - kMinute, std::string(3000, 'x'), std::string(2499, 'x'),
         true},
        {"100 of 400 Chinese characters", kNow - kMinute, chinese400, chinese300, true},
        {"99 of 400 Chinese characters", kNow - kMinute, chinese400, chinese301, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WriteKeepsVersion(row.newest, kNow, row.before, row.after), row.keeps)
            << row.what;
}

TEST(NoteHistoryRules, WhatThinningLeaves) {
    struct Row {
        const char* what;
        std::vector<VersionEntry> versions; // oldest first
        std::vector<size_t> dropped;
    } rows[] = {
        {"last of each day past 2 days",
         {{At(12, 1, 9), 1},  // 9 days old, not the last of 1 Dec
          {At(12, 1, 18), 1}, // the last of 1 Dec
          {At(12, 7, 10), 1}, // the last of 7 Dec
          {At(12, 8, 11), 1}, // 2 days 1 hour old, 8 Dec goes on below
          {At(12, 8, 13), 1}, // 47 hours old: every version stays
          {At(12, 10, 11), 1}},
         {0, 3}},
        {"up to 60 days",
         {{At(10, 10, 11), 1}, // 61 days 1 hour
          {At(10, 11, 13), 1}, // 59 days 23 hours
          {At(12, 10, 11), 1}},
         {0}},
        {"the newest stays at any age", {{At(9, 1, 12), 1}}, {}},
        {"past 20 MB the oldest go",
         {{At(12, 10, 1), 8 * kMB}, {At(12, 10, 2), 8 * kMB}, {At(12, 10, 3), 8 * kMB}},
         {0}},
        {"exactly 20 MB after thinning stays",
         {{At(12, 5, 1), 15 * kMB}, {At(12, 5, 2), 10 * kMB}, {At(12, 10, 3), 10 * kMB}},
         {0}},
        {"the newest stays even when it alone is larger",
         {{At(12, 10, 1), 1 * kMB}, {At(12, 10, 2), 2 * kMB}, {At(12, 10, 3), 25 * kMB}},
         {0, 1}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(VersionsToThin(row.versions, kNow), row.dropped) << row.what;
}

TEST(NoteHistoryRules, VersionNames) {
    EXPECT_EQ(VersionName({2026, 1, 2, 3, 4, 5}), L"content.20260102-030405.ini");
    EXPECT_EQ(VersionName({2026, 1, 2, 3, 4, 5}, 3), L"content.20260102-030405-3.ini");
    const auto plain = ParseVersionName(L"content.20261210-035300.ini");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->time, SecondsOf({2026, 12, 10, 3, 53, 0}));
    EXPECT_EQ(plain->n, 1);
    const auto second = ParseVersionName(L"content.20261210-035300-2.ini");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->n, 2);
    EXPECT_EQ(SecondsOf({2026, 12, 10, 0, 0, 0}) - SecondsOf({1970, 1, 1, 0, 0, 0}),
              int64_t(20797) * 24 * kHour);
    for (const wchar_t* other :
         {L"content.ini", L"content.unsaved.ini", L"content.20261310-000000.ini",
          L"content.20261210-035300-.ini", L"content.20261210x035300.ini"})
        EXPECT_FALSE(ParseVersionName(other)) << other;
}

} // namespace
} // namespace tabulon
