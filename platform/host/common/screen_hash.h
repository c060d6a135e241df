// The hash of what the emulated screen shows: the 640 x 480 palette
// indices, top row first, then the palette's 256 red, green, blue triples;
// XXH3-64 as 16 lower-case hex digits. The headless runner writes it in its
// traces, and a host that saves a demo says it of the frame on screen, so
// that a replay can be checked against the live game.
// Nothing here touches a host library; it is checked on its own.
#pragma once

#include <cstdint>
#include <string>

#include "host.h"

namespace hostcommon {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// `pixels` holds 640 x 480 indices with rows `pitch` bytes apart, or is null
// before anything was shown: the screen is then colour 0 everywhere.
std::string ScreenHash(const uint8_t* pixels, int pitch, const host::PaletteEntry* palette);

} // namespace hostcommon
