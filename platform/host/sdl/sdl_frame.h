// The arithmetic of showing the emulated 640 x 480 display on a real screen:
// where the integer-scaled, letterboxed frame lands in the window, how big
// the window is in windowed mode, and the fixed 60 Hz flip deadlines.
// Nothing here touches SDL, so it is checked on its own.
#pragma once

#include <cstdint>

namespace sdlhost {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

// Where a frameW x frameH frame is drawn in an outW x outH output: scaled by
// the largest whole factor that fits, centred, the rest left as black bars.
// An output smaller than the frame gets the frame shrunk to fit with its
// aspect kept, since no whole factor fits. Empty sizes give an empty rect.
Rect LetterboxRect(int frameW, int frameH, int outW, int outH);

// The whole factor of the frame size used for the windowed mode: the
// largest that fits in the usable desktop area, at least 1.
int WindowedScale(int frameW, int frameH, int usableW, int usableH);

// Paces page flips to fixed 60 Hz deadlines on a nanosecond clock. The
// deadlines count whole frames from an anchor (the first flip), so they do
// not drift: frame n is due at anchor + n / 60 s exactly. A flip more than a
// frame late re-anchors the schedule at that moment instead of rushing the
// following frames to catch up.
class FramePacer final {
  public:
    static constexpr int64_t kSecondNs = 1'000'000'000;
    static constexpr int64_t kRate = 60;
    static constexpr int64_t kPeriodNs = kSecondNs / kRate;

    // The moment (>= nowNs) at which the flip requested at nowNs is shown.
    int64_t Schedule(int64_t nowNs);
    // Forgets the schedule: the next flip is shown at once and re-anchors.
    void Reset() { started_ = false; }

  private:
    bool started_ = false;
    int64_t anchorNs_ = 0;
    int64_t frame_ = 0;
};

} // namespace sdlhost
