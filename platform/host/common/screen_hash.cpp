// XXH3-64 over the screen's indices and its palette.
#include "screen_hash.h"

#include <array>
#include <cstddef>
#include <cstdio>

#if defined(__wasm_simd128__)
#include "screen_hash_wasm_simd.inc"
#else
#include "screen_hash_xxh3.inc"
#endif

namespace hostcommon {

#if defined(QV_SCREEN_HASH_AVX2)
// screen_hash_avx2.cpp: the same hash compiled for AVX2.
uint64_t ScreenHashAvx2(const uint8_t* pixels, int pitch, const uint8_t* rgb, int width, int height);
#endif

std::string ScreenHash(const uint8_t* pixels, int pitch, const host::PaletteEntry* palette) {
    std::array<uint8_t, 256 * 3> rgb{};
    for (int i = 0; palette && i < 256; i++) {
        rgb[3 * i] = palette[i].red;
        rgb[3 * i + 1] = palette[i].green;
        rgb[3 * i + 2] = palette[i].blue;
    }
    uint64_t hash = 0;
#if defined(__wasm_simd128__)
    static_assert(kScreenWidth % Xxh3WasmSimd::kStripe == 0, "a row is whole XXH3 stripes");
    hash = HashScreenBytesWasmSimd(pixels, pitch, rgb.data(), kScreenWidth, kScreenHeight);
#else
#if defined(QV_SCREEN_HASH_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        hash = ScreenHashAvx2(pixels, pitch, rgb.data(), kScreenWidth, kScreenHeight);
    else
#endif
        hash = HashScreenBytes(pixels, pitch, rgb.data(), kScreenWidth, kScreenHeight);
#endif
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace hostcommon
