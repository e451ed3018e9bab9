// The pin's record of the desktop and its restore, against a stand-in of the
// system's wallpaper: every kind of previous desktop pinned twice, then put
// back as far as it can be; our own Mix.bmp known under its short name.
#include "tests/desktop/StandInDesktop.h"
#include "desktop/PreviousWallpaper.h"
#include "desktop/SystemWallpaper.h"
#include "tests/platform/TempFolder.h"
#include "platform/FileIO.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tabulon {
namespace {

using Outcome = PreviousWallpaper::Outcome;
using P = WallpaperPosition;
const wchar_t kTranscoded[] =
    L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\TranscodedWallpaper";
const wchar_t kSpotlight[] =
    L"C:\\Users\\u\\AppData\\Local\\Packages\\Microsoft.Windows.ContentDeliveryManager_"
    L"cw5n1h2txyewy\\LocalState\\Assets\\5f1e";

struct Case {
    const char* name;
    std::vector<std::wstring> pictures; // left monitor (primary), right monitor
    P position;
    bool slideshow;
    std::wstring oldRecord; // written by an older version before the first pin
    bool told;              // the pin says it stopped a slideshow
    // What each monitor shows after the restore; none: the resumed slideshow's own.
    std::vector<std::wstring> restored;
    P restoredPosition;
    Outcome outcome;
    std::vector<std::wstring> skipped; // pictures that did not come back; "" unread
};

TEST(DesktopRecord, EveryKindOfDesktopComesBack) {
    testing::TempFolder folder;
    // Mix.bmp in a folder whose name is no 8.3 name: it has a short one too.
    const std::wstring deep = folder / L"A folder with a long name";
    ::CreateDirectoryW(deep.c_str(), nullptr);
    const std::wstring mix = deep + L"\\Mix.bmp";
    WriteFileReplacing(mix, "BM");
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(mix.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortName), mix);
    ::CreateDirectoryW((folder / L"Data").c_str(), nullptr);
    // The user's pictures; `gone` was deleted after the pin, `refused` a policy blocks.
    const std::wstring a = folder / L"a.jpg", b = folder / L"b.png", old = folder / L"old.bmp",
                       refused = folder / L"refused.jpg", gone = folder / L"gone.jpg";
    for (const std::wstring& picture : {a, b, old, refused})
        WriteFileReplacing(picture, "picture");
    const std::wstring unread = L"?"; // a monitor whose picture the system would not tell

    // clang-format off
    const Case cases[] = {
        {"a picture per monitor, spanned", {a, b}, P::Span, false, L"",
         false, {a, b}, P::Span, Outcome::Restored, {}},
        {"one plain colour", {L"", L""}, P::Center, false, L"",
         false, {L"", L""}, P::Center, Outcome::Restored, {}},
        {"a slideshow", {kTranscoded, kTranscoded}, P::Fit, true, L"",
         true, {}, P::Fit, Outcome::Restored, {}},
        {"Spotlight", {kSpotlight, b}, P::Fill, false, L"",
         false, {L"", b}, P::Fill, Outcome::RestoredWithoutSource, {}},
        {"our Mix.bmp by its short name after an older version's pin", {shortName, shortName},
         P::Tile, false, old + L"\r\n",
         false, {old, old}, P::Fill, Outcome::Restored, {}},
        {"the transcoded copy an older version recorded", {shortName, shortName}, P::Fill, false,
         L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\TranscodedWallpaper",
         false, {L"", L""}, P::Fill, Outcome::RestoredWithoutSource, {}},
        {"the primary monitor's picture deleted since", {gone, b}, P::Span, false, L"",
         false, {L"", b}, P::Span, Outcome::Restored, {gone}},
        {"the other monitor's picture deleted since", {a, gone}, P::Span, false, L"",
         false, {a, gone}, P::Span, Outcome::Restored, {gone}},
        {"the primary monitor's picture refused", {refused, b}, P::Fit, false, L"",
         false, {L"", b}, P::Fit, Outcome::Restored, {refused}},
        {"the primary monitor's picture unread at the pin", {unread, b}, P::Span, false, L"",
         false, {L"", b}, P::Span, Outcome::Restored, {L""}},
        {"an unread primary monitor keeps the record there is", {unread, b}, P::Span, false,
         old, false, {old, old}, P::Fill, Outcome::Restored, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PreviousWallpaper previous(folder.Path(), mix);
        ::DeleteFileW(previous.Path().c_str());
        if (!c.oldRecord.empty()) {
            const std::u8string bytes = std::filesystem::path(c.oldRecord).u8string();
            WriteFileReplacing(previous.Path(), std::string(bytes.begin(), bytes.end()));
        }
        testing::StandInDesktop desktop;
        desktop.monitors = {{L"left", c.pictures[0], true}, {L"right", c.pictures[1], false}};
        for (MonitorPicture& m : desktop.monitors)
            if (m.picture == unread) m = {m.monitor, L"", m.primary, true};
        desktop.position = c.position;
        desktop.color = 0x203040;
        desktop.slideshow = {c.slideshow, {L"C:\\Pictures\\Holidays"}, 1, 60000};
        desktop.refusedPicture = refused;
        if (c.pictures[0] == gone || c.pictures[1] == gone) WriteFileReplacing(gone, "picture");

        for (int pin = 0; pin < 2; ++pin) {
            previous.RecordBeforePin(desktop);
            EXPECT_EQ(PinToPrimaryMonitor(desktop, mix) == PinOutcome::PinnedStoppingSlideshow,
                      c.told && pin == 0);
            EXPECT_EQ(desktop.monitors[0].picture, mix);
            EXPECT_EQ(desktop.position, P::Fill);
        }
        ::DeleteFileW(gone.c_str());
        // The pin changed the primary monitor alone.
        if (c.oldRecord.empty()) {
            EXPECT_EQ(desktop.monitors[1].picture, c.pictures[1]);
        }
        const std::optional<DesktopRecord> record = previous.Recorded();
        ASSERT_TRUE(record);
        for (const MonitorPicture& m : record->pictures)
            EXPECT_TRUE(!c.oldRecord.empty() ||
                        !(IsShellWallpaperCache(m.picture) || SameFile(m.picture, mix)));

        desktop.color = 0;
        const PreviousWallpaper::Restoration done = previous.Restore(desktop, true);
        EXPECT_EQ(done.outcome, c.outcome);
        std::vector<std::wstring> skipped;
        for (const PreviousWallpaper::Skipped& s : done.skipped)
            skipped.push_back(s.recorded.picture);
        EXPECT_EQ(skipped, c.skipped);
        std::vector<std::wstring> restored;
        for (const MonitorPicture& m : desktop.monitors)
            restored.push_back(m.picture);
        if (c.restored.empty()) {
            // The slideshow runs again as it was; its first slide is its own affair.
            EXPECT_TRUE(desktop.slideshow.running);
            EXPECT_EQ(desktop.slideshow.items,
                      std::vector<std::wstring>{L"C:\\Pictures\\Holidays"});
            EXPECT_EQ(desktop.slideshow.tickMs, 60000u);
            for (const std::wstring& picture : restored)
                EXPECT_FALSE(SameFile(picture, mix));
        } else {
            EXPECT_EQ(restored, c.restored);
        }
        EXPECT_EQ(desktop.position, c.restoredPosition);
        EXPECT_EQ(desktop.color, c.oldRecord.empty() ? 0x203040u : 0u);
        // One message names every picture that did not come back.
        const std::wstring told = RestorationText(done);
        EXPECT_EQ(told.empty(), !done.Partial());
        for (const std::wstring& picture : c.skipped)
            EXPECT_NE(told.find(picture.empty() ? L"未能读出" : picture), std::wstring::npos);
        EXPECT_FALSE(previous.Recorded());
        // The uninstaller's restore finds nothing to do once the user's desktop is back.
        EXPECT_EQ(previous.Restore(desktop, true).outcome, Outcome::NotOurs);
    }
}

// The system will not take our note off the desktop: the record stays for
// another try. And a record damaged by hand or by a disk: what does not read
// is passed over.
TEST(DesktopRecord, StaysWhileOurNoteStaysAndSurvivesDamage) {
    testing::TempFolder folder;
    ::CreateDirectoryW((folder / L"Data").c_str(), nullptr);
    const PreviousWallpaper previous(folder.Path(), folder / L"Mix.bmp");
    testing::StandInDesktop desktop;
    desktop.monitors = {{L"left", folder / L"gone.jpg", true}};
    previous.RecordBeforePin(desktop);
    PinToPrimaryMonitor(desktop, previous.MixFile());
    desktop.refusal = 5;
    EXPECT_THROW(previous.Restore(desktop, true), EWallpaperError);
    EXPECT_TRUE(previous.Recorded());

    const DesktopRecord record = ParseDesktopRecord(
        "Tabulon desktop record 2\r\nposition=abc\r\ncolor=99999999999\r\nprimary=no tab\r\n"
        "slideshow=1 x\r\nlater=key\r\ngarbage\r\nmonitor=right\tD:\\b.png\r\nunread=left\r\n");
    EXPECT_FALSE(record.position || record.color || record.slideshow.running);
    ASSERT_EQ(record.pictures.size(), 1u);
    EXPECT_EQ(record.pictures[0].picture, L"D:\\b.png");
    EXPECT_EQ(record.unreadPictures, std::vector<std::wstring>{L"left"});
    // An older version's record is its first line.
    EXPECT_EQ(ParseDesktopRecord("C:\\old.bmp\r\nstray\r\n").pictures[0].picture, L"C:\\old.bmp");
}

} // namespace
} // namespace tabulon
