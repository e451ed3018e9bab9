// The desktop record's text form, natively: what each kind of file reads as,
// and, for the files the program writes itself, that it writes them so.
#include "codec/DesktopRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tabulon {
namespace {

void ExpectSameRecord(const DesktopRecord& got, const DesktopRecord& want) {
    ASSERT_EQ(got.pictures.size(), want.pictures.size());
    for (size_t i = 0; i < want.pictures.size(); ++i) {
        EXPECT_EQ(got.pictures[i].monitor, want.pictures[i].monitor) << i;
        EXPECT_EQ(got.pictures[i].picture, want.pictures[i].picture) << i;
        EXPECT_EQ(got.pictures[i].primary, want.pictures[i].primary) << i;
    }
    EXPECT_EQ(got.unknownPictures, want.unknownPictures);
    EXPECT_EQ(got.unreadPictures, want.unreadPictures);
    EXPECT_EQ(got.position, want.position);
    EXPECT_EQ(got.color, want.color);
    EXPECT_EQ(got.slideshow.running, want.slideshow.running);
    EXPECT_EQ(got.slideshow.items, want.slideshow.items);
    EXPECT_EQ(got.slideshow.options, want.slideshow.options);
    EXPECT_EQ(got.slideshow.tickMs, want.slideshow.tickMs);
}

struct RecordCase {
    const char* what;
    std::string bytes;
    DesktopRecord record;
    bool writtenSo = false; // the program writes this record as these bytes
};

TEST(DesktopRecordText, ReadsEveryKindOfFileAndWritesItsOwn) {
    const RecordCase cases[] = {
        {"every key, as the program writes it",
         "Tabulon desktop record 2\r\n"
         "position=4\r\n"
         "color=16777215\r\n"
         "primary=DISPLAY1\tC:\\\xE5\x9B\xBE\\a.jpg\r\n"  // 图
         "monitor=DISPLAY2\tD:\\\xF0\x9F\x98\x80.png\r\n" // U+1F600, beyond 16 bits
         "unknown=DISPLAY3\r\n"
         "unread=DISPLAY4\r\n"
         "slideshow=1 600000\r\n"
         "slide=C:\\Pics\r\n",
         {.pictures = {{L"DISPLAY1", L"C:\\\x56FE\\a.jpg", true},
                       {L"DISPLAY2", L"D:\\\U0001F600.png", false}},
          .unknownPictures = {L"DISPLAY3"},
          .unreadPictures = {L"DISPLAY4"},
          .position = WallpaperPosition::Fill,
          .color = 0xFFFFFF,
          .slideshow = {true, {L"C:\\Pics"}, 1, 600000}},
         true},
        {"a plain colour on one monitor, nothing else",
         "Tabulon desktop record 2\r\nprimary=\t\r\n",
         {.pictures = {{L"", L"", true}}},
         true},
        {"a byte-order mark and LF line ends, the last line without one",
         "\xEF\xBB\xBFTabulon desktop record 2\nposition=2\ncolor=0\nprimary=M\tC:\\b.bmp",
         {.pictures = {{L"M", L"C:\\b.bmp", true}},
          .position = WallpaperPosition::Stretch,
          .color = 0}},
        {"keys of a later version are passed over",
         "Tabulon desktop record 2\r\nmood=calm\r\ncolor=255\r\nposition.v3=1\r\n",
         {.color = 255}},
        {"malformed lines are passed over",
         "Tabulon desktop record 2\r\n"
         "no equals sign\r\n"
         "=\r\n"
         "position=6\r\n" // past Span
         "position=-1\r\n"
         "position=99999999999\r\n" // past 32 bits
         "color=16777216\r\n"       // past 0xFFFFFF
         "color=12a\r\n"
         "color=\r\n"
         "primary=no tab\r\n"
         "slideshow=1 x\r\n"
         "slideshow=\r\n",
         {}},
        {"a slideshow without a tick, and damaged UTF-8 as U+FFFD",
         "Tabulon desktop record 2\r\nslideshow=7\r\nslide=C:\\\xFF\xE4\xB8\r\n",
         {.slideshow = {true, {L"C:\\\xFFFD\xFFFD"}, 7, 0}}},
        {"an older version's file: the one wallpaper's path",
         "C:\\Windows\\Web\\Wallpaper\\img0.jpg\r\n",
         {.pictures = {{L"", L"C:\\Windows\\Web\\Wallpaper\\img0.jpg", true}}}},
        {"an older version's empty file: the plain colour", "", {.pictures = {{L"", L"", true}}}},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectSameRecord(ParseDesktopRecord(c.bytes), c.record);
        if (c.writtenSo) {
            EXPECT_EQ(FormatDesktopRecord(c.record), c.bytes);
        }
    }
}

// What the fuzz target found, and damaged files: each reads as some record,
// and the text the program writes for it reads back as that text again.
TEST(DesktopRecordText, FormerFuzzerFindings) {
    const std::filesystem::path dir =
        std::filesystem::path(TABULON_TESTDATA) / "crashers" / "desktop_record";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        const std::string written = FormatDesktopRecord(ParseDesktopRecord(bytes));
        EXPECT_EQ(FormatDesktopRecord(ParseDesktopRecord(written)), written);
    }
    EXPECT_GT(count, 0);
}

} // namespace
} // namespace tabulon
