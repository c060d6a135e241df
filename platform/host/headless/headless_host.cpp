// The headless host: no screen and no input devices. Its clock follows real
// time unless a test stops it; keys change only through the test controls.
#include <chrono>

#include "headless.h"
#include "host.h"

namespace {

struct Clock {
    bool stopped = false;
    uint32_t stoppedAt = 0;
    // Real-time mode: TickCount = elapsed milliseconds since `origin` + `base`.
    std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
    uint32_t base = 0;

    uint32_t RealNow() const {
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - origin)
                           .count();
        return base + static_cast<uint32_t>(elapsed);
    }
};

Clock& TheClock() {
    static Clock clock;
    return clock;
}

} // namespace

namespace host {

uint32_t TickCount() {
    Clock& c = TheClock();
    return c.stopped ? c.stoppedAt : c.RealNow();
}

KeyTable& Keys() {
    static KeyTable keys;
    return keys;
}

} // namespace host

namespace headless {

void SetTickCount(uint32_t ms) {
    Clock& c = TheClock();
    c.stopped = true;
    c.stoppedAt = ms;
}

void AdvanceTickCount(uint32_t ms) {
    Clock& c = TheClock();
    if (!c.stopped) SetTickCount(c.RealNow());
    c.stoppedAt += ms;
}

void FollowRealTime() {
    Clock& c = TheClock();
    if (!c.stopped) return;
    c.origin = std::chrono::steady_clock::now();
    c.base = c.stoppedAt;
    c.stopped = false;
}

void SetKeyDown(int vk, bool down) {
    if (down)
        host::Keys().Press(vk);
    else
        host::Keys().Release(vk);
}

void ReleaseAllKeys() { host::Keys().ReleaseAll(); }

} // namespace headless
