// Test controls of the headless host. Only tests and tools that link
// platform_headless use these; the game never does.
#pragma once

#include <cstdint>

namespace headless {

// Stops the clock at `ms`: every GetTickCount returns it until changed.
void SetTickCount(uint32_t ms);
// Moves a stopped clock forward by `ms` (wrapping at 2^32).
void AdvanceTickCount(uint32_t ms);
// Lets the clock follow real time again, continuing from its current value.
void FollowRealTime();

// Holds a key down or lets it up in the asynchronous key table only;
// no window message is generated.
void SetKeyDown(int vk, bool down);
// Lets every key up and forgets pending presses.
void ReleaseAllKeys();

} // namespace headless
