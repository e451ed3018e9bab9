// Throughput of the portable codecs on inputs the program meets: a 10 MB note
// (mostly Chinese, some ASCII and line ends) and wallpaper-sized bitmaps.
#include "codec/BmpCodec.h"
#include "codec/Gbk.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr size_t kNoteBytes = 10 * 1000 * 1000;

const std::u16string& NoteText() {
    static const std::u16string text = [] {
        const std::u16string line =
            u"今天开会：讨论桌面便签的新版本 v1.2，记得带√和×。Meeting at 10:30\r\n";
        std::u16string t;
        while (t.size() * 2 < kNoteBytes)
            t += line;
        return t;
    }();
    return text;
}

const std::string& NoteBytes() {
    static const std::string bytes = tabulon::Utf16ToGbk(NoteText());
    return bytes;
}

void BM_GbkDecode10MB(benchmark::State& state) {
    const std::string& bytes = NoteBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(tabulon::GbkToUtf16(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_GbkDecode10MB)->Unit(benchmark::kMillisecond);

void BM_GbkEncode10MB(benchmark::State& state) {
    const std::u16string& text = NoteText();
    const size_t bytes = NoteBytes().size();
    for (auto _ : state)
        benchmark::DoNotOptimize(tabulon::Utf16ToGbk(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_GbkEncode10MB)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> Wallpaper24() {
    const int32_t w = 1920, h = 1080;
    std::vector<uint8_t> rows(tabulon::BmpStride24(w) * h);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = uint8_t(i * 7);
    return tabulon::EncodeBmp24(w, h, rows.data(), tabulon::BmpStride24(w));
}

void BM_BmpDecode24(benchmark::State& state) {
    const std::vector<uint8_t> file = Wallpaper24();
    for (auto _ : state)
        benchmark::DoNotOptimize(tabulon::DecodeBmp(file.data(), file.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_BmpDecode24)->Unit(benchmark::kMillisecond);

void BM_BmpEncode24(benchmark::State& state) {
    const tabulon::BmpImage img = [] {
        const std::vector<uint8_t> file = Wallpaper24();
        return tabulon::DecodeBmp(file.data(), file.size());
    }();
    for (auto _ : state)
        benchmark::DoNotOptimize(tabulon::EncodeBmp24(img.width, img.height, img.pixels.data(),
                                                      tabulon::BmpStride24(img.width)));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(img.pixels.size()));
}
BENCHMARK(BM_BmpEncode24)->Unit(benchmark::kMillisecond);

void BM_BmpDecode8(benchmark::State& state) {
    // 1920 x 1080, 8 bits per pixel with a full palette.
    const int32_t w = 1920, h = 1080;
    std::vector<uint8_t> file(54 + 1024 + size_t(w) * h);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put32(2, uint32_t(file.size())), put32(10, 54 + 1024), put32(14, 40), put32(18, w),
        put32(22, h);
    file[26] = 1, file[28] = 8;
    for (size_t i = 54 + 1024; i < file.size(); ++i)
        file[i] = uint8_t(i);
    for (auto _ : state)
        benchmark::DoNotOptimize(tabulon::DecodeBmp(file.data(), file.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_BmpDecode8)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
