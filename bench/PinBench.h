// What the two pin benchmarks share: a clock and the shipped backgrounds.
#pragma once

#include <windows.h>

#include <string>

namespace tabulon::bench {

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / frequency;
}

inline void CopyShipped(const wchar_t* name, const std::wstring& to) {
    // Under Wine the source tree is on drive Z:.
    const std::string source = "Z:" TABULON_SOURCE_DIR "/resources/DeskTopBG/";
    const std::wstring from(source.begin(), source.end());
    ::CopyFileW((from + name).c_str(), to.c_str(), FALSE);
}

} // namespace tabulon::bench
