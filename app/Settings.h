#pragma once
// The program's settings, "Data\Settings.txt" in the work folder: UTF-8 text,
// a first line naming the format, then one "key=value" line each. Today it
// holds one choice, "pin-on-my-picture" (1: pins go onto the user's own
// wallpaper; 0, or no line: onto the shipped backgrounds). Lines this
// version does not know are kept when the file is written again.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

struct ProgramSettings {
    bool pinOnMyPicture = false;
    std::vector<std::string> otherLines;
};

// The settings `utf8` holds; nothing when it is not a settings file (another
// first line). An empty file holds the defaults.
std::optional<ProgramSettings> ParseSettings(std::string_view utf8);
std::string FormatSettings(const ProgramSettings& settings);

} // namespace tabulon
