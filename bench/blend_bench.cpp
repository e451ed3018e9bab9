// The row mix of the blend against memcpy of the same number of bytes, on the
// note picture's size and on a 4K background's size.
#include "compose/BlendRows.h"
#include "codec/BmpCodec.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

struct Pictures {
    explicit Pictures(int width, int height)
        : stride(tabulon::BmpStride24(width)), first(stride * size_t(height)), second(first.size()),
          copy(first.size()) {
        for (size_t i = 0; i < first.size(); ++i) {
            first[i] = uint8_t(i * 31 + 7);
            second[i] = uint8_t(i * 17 + 3);
        }
    }
    size_t stride;
    std::vector<uint8_t> first, second, copy;
};

void BM_BlendPixelRows(benchmark::State& state) {
    const int width = int(state.range(0)), height = int(state.range(1));
    Pictures p(width, height);
    for (auto _ : state) {
        tabulon::BlendPixelRows(p.first.data(), p.second.data(), width, height, p.stride, 2);
        benchmark::DoNotOptimize(p.first.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(p.first.size()));
}

void BM_Memcpy(benchmark::State& state) {
    const int width = int(state.range(0)), height = int(state.range(1));
    Pictures p(width, height);
    for (auto _ : state) {
        std::memcpy(p.copy.data(), p.first.data(), p.first.size());
        benchmark::DoNotOptimize(p.copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(p.first.size()));
}

BENCHMARK(BM_BlendPixelRows)->Args({350, 300})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy)->Args({350, 300})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
