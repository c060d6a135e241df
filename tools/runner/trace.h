// What the runner writes about each pass: the trace line, the screen hash,
// and a picture of the screen.
#pragma once

#include <cstdint>
#include <string>

#include "headless.h"

// XXH3-64 over the screen's 307 200 palette indices, top row first, then
// the 256 red, green, blue triples of its palette; 16 lower-case hex digits.
std::string ScreenHash(const headless::Frame& screen);

// One JSON line (without newline) describing the world after a pass.
std::string TraceLine(long long frame, int state, uint32_t tick, const std::string* screenHash);

// Writes the screen as a 640 x 480 8-bit paletted PNG. False on failure.
bool WriteScreenPng(const headless::Frame& screen, const std::string& path);
