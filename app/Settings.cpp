#include "app/Settings.h"

namespace tabulon {

namespace {

constexpr std::string_view kHeader = "Tabulon settings 1";
constexpr std::string_view kPinOnMyPicture = "pin-on-my-picture=";

std::string_view TrimLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::optional<ProgramSettings> ParseSettings(std::string_view utf8) {
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3); // a BOM an editor added
    ProgramSettings settings;
    if (utf8.empty()) return settings;
    bool first = true;
    while (!utf8.empty()) {
        const size_t end = utf8.find('\n');
        const std::string_view line = TrimLineEnd(utf8.substr(0, end));
        utf8 = end == std::string_view::npos ? "" : utf8.substr(end + 1);
        if (first) {
            if (line != kHeader) return std::nullopt;
            first = false;
        } else if (line.substr(0, kPinOnMyPicture.size()) == kPinOnMyPicture) {
            settings.pinOnMyPicture = line.substr(kPinOnMyPicture.size()) == "1";
        } else if (!line.empty()) {
            settings.otherLines.emplace_back(line);
        }
    }
    return settings;
}

std::string FormatSettings(const ProgramSettings& settings) {
    std::string out(kHeader);
    out += "\r\n";
    out.append(kPinOnMyPicture).append(settings.pinOnMyPicture ? "1" : "0").append("\r\n");
    for (const std::string& line : settings.otherLines)
        out.append(line).append("\r\n");
    return out;
}

} // namespace tabulon
