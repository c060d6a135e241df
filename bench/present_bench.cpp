// The SDL host's presentation work per frame: 640 x 480 palette indices
// turned into ARGB8888 texels through the 256-entry table, against a plain
// memcpy of the 1 228 800 bytes those texels take. Both write the same
// amount; the conversion reads a quarter of what memcpy reads, but looks
// every pixel up. Source and destination lie apart modulo 4 KB
// (apart_buffers.h), as the surfaces and textures do.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "apart_buffers.h"
#include "presentation.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr size_t kPixels = static_cast<size_t>(kWidth) * kHeight;

// A frame with every index in use and no pattern a cache could exploit.
std::vector<uint8_t> MakeFrame() {
    std::vector<uint8_t> frame(kPixels);
    uint32_t seed = 12345;
    for (uint8_t& p : frame) {
        seed = seed * 1664525u + 1013904223u;
        p = static_cast<uint8_t>(seed >> 24);
    }
    return frame;
}

std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table;
    for (uint32_t i = 0; i < 256; i++)
        table[i] = 0xFF000000u | ((i * 3 % 256) << 16) | ((i * 5 % 256) << 8) | (i * 7 % 256);
    return table;
}

void Convert(benchmark::State& state, hostcommon::ConvertFn convert) {
    const std::vector<uint8_t> made = MakeFrame();
    std::array<uint32_t, 256> table = MakeTable();
    ApartBuffers buffers{kPixels, kPixels * 4};
    auto* frame = buffers.At<uint8_t>(0);
    auto* texels = buffers.At<uint32_t>(1);
    std::memcpy(frame, made.data(), kPixels);
    for (auto _ : state) {
        convert(frame, kWidth, texels, kWidth, kWidth, kHeight, table.data());
        benchmark::DoNotOptimize(texels);
        benchmark::ClobberMemory();
    }
    if (texels[kPixels - 1] != table[frame[kPixels - 1]]) state.SkipWithError("wrong texels");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kPixels * 4));
}

// What the host runs: the path chosen for this CPU, which main() records
// in the run's context as "convert_path".
void BM_ConvertToArgb(benchmark::State& state) {
    Convert(state, &hostcommon::ConvertToArgb);
}

void BM_MemcpyArgbFrame(benchmark::State& state) {
    size_t bytes = kPixels * 4;
    benchmark::DoNotOptimize(bytes); // a call of the C library's memcpy, never expanded inline
    ApartBuffers buffers{kPixels * 4, kPixels * 4};
    auto* from = buffers.At<uint32_t>(0);
    auto* to = buffers.At<uint32_t>(1);
    std::fill(from, from + kPixels, 0xFF102030u);
    for (auto _ : state) {
        std::memcpy(to, from, bytes);
        benchmark::DoNotOptimize(to);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kPixels * 4));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("BM_ConvertToArgb", BM_ConvertToArgb)
        ->Unit(benchmark::kMicrosecond);
    // Every path this CPU has, so each is measured wherever it runs.
    for (const hostcommon::ConvertPath& path : hostcommon::ConvertPaths())
        benchmark::RegisterBenchmark((std::string("BM_ConvertPath/") + path.name).c_str(), Convert,
                                     path.convert)
            ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_MemcpyArgbFrame", BM_MemcpyArgbFrame)
        ->Unit(benchmark::kMicrosecond);
    benchmark::AddCustomContext("convert_path", hostcommon::ConvertToArgbPath());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
