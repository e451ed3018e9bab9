// The pin's record of the desktop and its restore, against a stand-in of the
// system's wallpaper: every kind of previous desktop pinned twice, then put
// back; our own Mix.bmp known under its short name.
#include "tests/compose/StandInDesktop.h"
#include "compose/PreviousWallpaper.h"
#include "compose/Wallpaper.h"
#include "tests/file/TempFolder.h"
#include "platform/FileIO.h"

#include <gtest/gtest.h>

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
    const char* oldRecord; // written by an older version before the first pin
    bool told;             // the pin says it stopped a slideshow
    std::vector<std::wstring> restored;
    P restoredPosition;
    Outcome outcome;
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

    // clang-format off
    const Case cases[] = {
        {"a picture per monitor, spanned", {L"C:\\a.jpg", L"D:\\b.png"}, P::Span, false, nullptr,
         false, {L"C:\\a.jpg", L"D:\\b.png"}, P::Span, Outcome::Restored},
        {"one plain colour", {L"", L""}, P::Center, false, nullptr,
         false, {L"", L""}, P::Center, Outcome::Restored},
        {"a slideshow", {kTranscoded, kTranscoded}, P::Fit, true, nullptr,
         true, {L"slide", L"slide"}, P::Fit, Outcome::Restored},
        {"Spotlight", {kSpotlight, L"D:\\b.png"}, P::Fill, false, nullptr,
         false, {L"", L"D:\\b.png"}, P::Fill, Outcome::RestoredWithoutSource},
        {"our Mix.bmp by its short name after an older version's pin", {shortName, shortName},
         P::Tile, false, "C:\\old.bmp\r\n",
         false, {L"C:\\old.bmp", L"C:\\old.bmp"}, P::Fill, Outcome::Restored},
        {"the transcoded copy an older version recorded", {shortName, shortName}, P::Fill, false,
         "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\TranscodedWallpaper",
         false, {L"", L""}, P::Fill, Outcome::RestoredWithoutSource},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PreviousWallpaper previous(folder.Path(), mix);
        ::DeleteFileW(previous.Path().c_str());
        if (c.oldRecord) WriteFileReplacing(previous.Path(), c.oldRecord);
        testing::StandInDesktop desktop;
        desktop.monitors = {{L"left", c.pictures[0], true}, {L"right", c.pictures[1], false}};
        desktop.position = c.position;
        desktop.color = 0x203040;
        desktop.slideshow = {c.slideshow, {L"C:\\Pictures\\Holidays"}, 1, 60000};

        for (int pin = 0; pin < 2; ++pin) {
            previous.RecordBeforePin(desktop);
            EXPECT_EQ(PinToPrimaryMonitor(desktop, mix), c.told && pin == 0);
            EXPECT_EQ(desktop.monitors[0].picture, mix);
            EXPECT_EQ(desktop.position, P::Fill);
        }
        // The pin changed the primary monitor alone.
        if (!c.oldRecord) {
            EXPECT_EQ(desktop.monitors[1].picture, c.pictures[1]);
        }
        const std::optional<DesktopRecord> record = previous.Recorded();
        ASSERT_TRUE(record);
        for (const MonitorPicture& m : record->pictures)
            EXPECT_TRUE(c.oldRecord ||
                        !(IsShellWallpaperCache(m.picture) || SameFile(m.picture, mix)));

        desktop.color = 0;
        EXPECT_EQ(previous.Restore(desktop, true), c.outcome);
        std::vector<std::wstring> restored;
        for (const MonitorPicture& m : desktop.monitors)
            restored.push_back(m.picture);
        EXPECT_EQ(restored, c.restored);
        EXPECT_EQ(desktop.position, c.restoredPosition);
        EXPECT_EQ(desktop.color, c.oldRecord ? 0u : 0x203040u);
        if (c.slideshow) {
            EXPECT_EQ(desktop.slideshow.items,
                      std::vector<std::wstring>{L"C:\\Pictures\\Holidays"});
        }
        EXPECT_FALSE(previous.Recorded());
        // The uninstaller's restore finds nothing to do once the user's desktop is back.
        EXPECT_EQ(previous.Restore(desktop, true), Outcome::NotOurs);
    }
}

} // namespace
} // namespace tabulon
