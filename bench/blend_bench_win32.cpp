// BlendBitmaps under Wine or Windows against memcpy of the same bytes, on the
// note picture's size and on a 4K background's size. Prints one line per case.
#include "compose/BlendRows.h"
#include "codec/BmpCodec.h"
#include "compose/CBmp.h"
#include "platform/DibHeader.h"
#include "platform/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using namespace tabulon;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// Best of `runs` timings of `body`, in seconds: the least disturbed run.
template <class F> double BestOf(int runs, F body) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        body();
        best = std::min(best, Now() - start);
    }
    return best;
}

struct Dib {
    Dib(int width, int height, uint8_t seed) {
        BITMAPINFO info = TopDownHeader24(width, height);
        void* p = nullptr;
        bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
        bytes = BmpStride24(width) * size_t(height);
        bits = static_cast<uint8_t*>(p);
        for (size_t i = 0; i < bytes; ++i)
            bits[i] = uint8_t(i * 31 + seed);
    }
    GdiBitmap bitmap;
    uint8_t* bits = nullptr;
    size_t bytes = 0;
};

void Case(int width, int height, int runs) {
    Dib note(width, height, 7), background(width, height, 3), target(width, height, 0);
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectGuard select(dc.Get(), target.bitmap.Get());
    std::vector<uint8_t> copy(note.bytes);

    const double blend = BestOf(runs, [&] {
        BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), dc.Get(), 2, 0, 0);
        ::GdiFlush();
    });
    const double memcpyTime = BestOf(runs, [&] {
        std::memcpy(copy.data(), note.bits, note.bytes);
        __asm__ volatile("" : : "r"(copy.data()) : "memory");
    });
    std::printf("BlendBitmaps %4dx%-4d  %9.3f ms   memcpy %8.3f ms   ratio %5.1f x\n", width,
                height, blend * 1e3, memcpyTime * 1e3, blend / memcpyTime);
}

} // namespace

int main() {
    Case(350, 300, 200);
    Case(3840, 2160, 15);
    return 0;
}
