#include "base/LongPath.h"

#include <algorithm>

namespace tabulon {

namespace {

bool StartsWith(const std::wstring& s, const wchar_t* prefix) {
    return s.rfind(prefix, 0) == 0;
}

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

std::wstring ExtendedLengthPath(const std::wstring& full) {
    if (full.size() < kClassicPathLimit) return full;
    if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) return full;
    std::wstring path = full;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (path.size() >= 2 && IsSlash(full[0]) && IsSlash(full[1]))
        return L"\\\\?\\UNC\\" + path.substr(2);
    return full; // not a full path: left to the system as it is
}

std::wstring WithoutExtendedPrefix(const std::wstring& path) {
    if (StartsWith(path, L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
    if (StartsWith(path, L"\\\\?\\")) return path.substr(4);
    return path;
}

} // namespace tabulon
