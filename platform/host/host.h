// The small interface between the Win32/DirectDraw API layer and the host that
// really runs it: SDL2 for play, or the headless host for tests and tools.
// Exactly one host library is linked into an executable.
#pragma once

#include <cstdint>

#include "key_table.h"

namespace host {

// Milliseconds on the host's clock; wraps at 2^32 like GetTickCount.
uint32_t TickCount();

// The asynchronous key table: physical key state as the host last saw it.
KeyTable& Keys();

} // namespace host
