// XXH3-64 over the screen's indices and its palette.
#include "screen_hash.h"

#include <array>
#include <cstddef>
#include <cstdio>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace hostcommon {

std::string ScreenHash(const uint8_t* pixels, int pitch, const host::PaletteEntry* palette) {
    // XXH3's streaming state wants its own alignment.
    alignas(64) XXH3_state_t state;
    XXH3_64bits_reset(&state);
    if (pixels && pitch == kScreenWidth) {
        XXH3_64bits_update(&state, pixels, static_cast<size_t>(kScreenWidth) * kScreenHeight);
    } else {
        static const std::array<uint8_t, kScreenWidth> blank{};
        for (int y = 0; y < kScreenHeight; y++)
            XXH3_64bits_update(&state, pixels ? pixels + static_cast<ptrdiff_t>(y) * pitch : blank.data(),
                               kScreenWidth);
    }
    std::array<uint8_t, 256 * 3> rgb{};
    for (int i = 0; palette && i < 256; i++) {
        rgb[3 * i] = palette[i].red;
        rgb[3 * i + 1] = palette[i].green;
        rgb[3 * i + 2] = palette[i].blue;
    }
    XXH3_64bits_update(&state, rgb.data(), rgb.size());
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(XXH3_64bits_digest(&state)));
    return text;
}

} // namespace hostcommon
