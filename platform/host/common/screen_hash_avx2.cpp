// The screen hash built for AVX2 (this file alone is compiled with
// -mavx2): screen_hash.cpp calls it where the CPU has AVX2. Nothing with
// external linkage but the entry point below may come from here, or code
// for AVX2 could end up on CPUs without it: no C++ library headers.
#include <stddef.h>
#include <stdint.h>

#include "screen_hash_xxh3.inc"

namespace hostcommon {

uint64_t ScreenHashAvx2(const uint8_t* pixels, int pitch, const uint8_t* rgb, int width, int height) {
    return HashScreenBytes(pixels, pitch, rgb, width, height);
}

} // namespace hostcommon
