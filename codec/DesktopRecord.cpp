#include "codec/DesktopRecord.h"

#include "codec/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>

namespace tabulon {

namespace {

constexpr std::string_view kHeader = "Tabulon desktop record 2";

std::string_view TrimLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// A decimal number of 32 bits, nothing else.
std::optional<uint32_t> Number(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    uint64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + uint64_t(c - '0');
    }
    if (n > UINT32_MAX) return std::nullopt;
    return uint32_t(n);
}

} // namespace

std::string FormatDesktopRecord(const DesktopRecord& record) {
    std::string out(kHeader);
    out += "\r\n";
    auto line = [&out](std::string_view key, const std::string& value) {
        out.append(key).append("=").append(value).append("\r\n");
    };
    if (record.position) line("position", std::to_string(int(*record.position)));
    if (record.color) line("color", std::to_string(*record.color));
    for (const MonitorPicture& m : record.pictures)
        line(m.primary ? "primary" : "monitor",
             Utf8FromWide(m.monitor) + "\t" + Utf8FromWide(m.picture));
    for (const std::wstring& monitor : record.unknownPictures)
        line("unknown", Utf8FromWide(monitor));
    for (const std::wstring& monitor : record.unreadPictures)
        line("unread", Utf8FromWide(monitor));
    if (record.slideshow.running) {
        line("slideshow", std::to_string(record.slideshow.options) + " " +
                              std::to_string(record.slideshow.tickMs));
        for (const std::wstring& item : record.slideshow.items)
            line("slide", Utf8FromWide(item));
    }
    return out;
}

DesktopRecord ParseDesktopRecord(std::string_view utf8) {
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3); // a BOM an editor added
    DesktopRecord record;
    const size_t firstEnd = utf8.find('\n');
    if (TrimLineEnd(utf8.substr(0, firstEnd)) != kHeader) {
        // An older version's record: the path of the one wallpaper, on its first line.
        record.pictures.push_back({L"", WideFromUtf8(TrimLineEnd(utf8.substr(0, firstEnd))), true});
        return record;
    }
    std::string_view rest = firstEnd == std::string_view::npos ? "" : utf8.substr(firstEnd + 1);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = TrimLineEnd(rest.substr(0, end));
        rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "position") {
            const std::optional<uint32_t> n = Number(value);
            if (n && *n <= uint32_t(WallpaperPosition::Span))
                record.position = WallpaperPosition(*n);
        } else if (key == "color") {
            const std::optional<uint32_t> n = Number(value);
            if (n && *n <= 0xFFFFFF) record.color = *n;
        } else if (key == "primary" || key == "monitor") {
            const size_t tab = value.find('\t');
            if (tab == std::string_view::npos) continue;
            record.pictures.push_back({WideFromUtf8(value.substr(0, tab)),
                                       WideFromUtf8(value.substr(tab + 1)), key == "primary"});
        } else if (key == "unknown")
            record.unknownPictures.push_back(WideFromUtf8(value));
        else if (key == "unread")
            record.unreadPictures.push_back(WideFromUtf8(value));
        else if (key == "slideshow") {
            const size_t space = value.find(' ');
            const std::optional<uint32_t> options = Number(value.substr(0, space));
            const std::optional<uint32_t> tick =
                space == std::string_view::npos ? 0u : Number(value.substr(space + 1));
            if (!options || !tick) continue;
            record.slideshow.running = true;
            record.slideshow.options = *options;
            record.slideshow.tickMs = *tick;
        } else if (key == "slide")
            record.slideshow.items.push_back(WideFromUtf8(value));
        // Keys of later versions are passed over.
    }
    return record;
}

bool IsShellWallpaperCache(const std::wstring& path) {
    std::wstring lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return wchar_t(std::towlower(c)); });
    for (const wchar_t* part : {L"\\microsoft\\windows\\themes\\transcodedwallpaper",
                                L"\\microsoft\\windows\\themes\\cachedfiles\\",
                                L"\\microsoft.windows.contentdeliverymanager_", L"\\irisservice\\"})
        if (lower.find(part) != std::wstring::npos) return true;
    return false;
}

} // namespace tabulon
