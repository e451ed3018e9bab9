#pragma once
// Paths longer than the classic limit of 260 characters. Windows opens them
// only in their extended-length form ("\\?\C:\..." or "\\?\UNC\server\share\..."),
// unless the machine-wide long-path setting is on; the file layer uses that
// form for every full path that needs it.
#include <string>

namespace tabulon {

// Shorter than this, a full path works everywhere as it is (248 leaves room
// for an 8.3 file name in a folder, the tightest of the classic limits).
inline constexpr size_t kClassicPathLimit = 248;

// `full` (a full path as the system's full-path function gives it) in the
// form the system's file functions take at any length: unchanged when it is
// short or already extended; otherwise prefixed, with forward slashes turned
// into backslashes (an extended path is taken literally).
std::wstring ExtendedLengthPath(const std::wstring& full);

// The reverse: the path without its extended-length prefix.
std::wstring WithoutExtendedPrefix(const std::wstring& path);

} // namespace tabulon
