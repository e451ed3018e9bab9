// The settings file's text: what turns the choice on, what is not a settings
// file at all, and what a later version wrote that this one keeps.
#include "app/Settings.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

TEST(Settings, ReadsTheChoiceAndKeepsWhatItDoesNotKnow) {
    struct Case {
        const char* text;
        bool readable, on;
    };
    const Case cases[] = {
        {"", true, false},
        {"Tabulon settings 1\r\npin-on-my-picture=1\r\n", true, true},
        {"\xEF\xBB\xBFTabulon settings 1\npin-on-my-picture=1", true, true},
        {"Tabulon settings 1\r\npin-on-my-picture=0\r\n", true, false},
        {"Tabulon settings 1\r\npin-on-my-picture=yes\r\n", true, false},
        {"pin-on-my-picture=1\r\n", false, false},
        {"\xFF\xFE\x00\x00garbage", false, false},
    };
    for (const Case& c : cases) {
        const std::optional<ProgramSettings> s = ParseSettings(c.text);
        EXPECT_EQ(s.has_value(), c.readable) << c.text;
        EXPECT_EQ(s && s->pinOnMyPicture, c.on) << c.text;
    }
    const std::optional<ProgramSettings> later =
        ParseSettings("Tabulon settings 1\r\ncolour=red\r\npin-on-my-picture=1\r\n");
    ASSERT_TRUE(later);
    EXPECT_EQ(FormatSettings(*later),
              "Tabulon settings 1\r\npin-on-my-picture=1\r\ncolour=red\r\n");
}

} // namespace
} // namespace tabulon
