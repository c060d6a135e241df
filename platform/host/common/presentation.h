// The arithmetic of showing the emulated 640 x 480 display on a real screen:
// the frame's palette indices turned into 32-bit texels, where the
// integer-scaled, letterboxed frame lands in the window, how big the window
// is in windowed mode, and the fixed 60 Hz flip deadlines. Shared by the SDL
// and web hosts; it touches neither, so it is checked on its own.
#pragma once

#include <cstdint>
#include <span>

namespace hostcommon {

// Converts width x height 8-bit palette indices (rows `srcPitch` bytes
// apart) into `dst` (rows `dstPitchPixels` texels apart): each texel is
// table[index], so the table decides the texel format (ARGB8888 words for
// SDL, RGBA bytes for a canvas). Called by Present for every frame shown. Source and
// destination must not overlap; empty sizes convert nothing. Runs the first
// of ConvertPaths(): on x86-64 vector code chosen for the CPU at run time.
void ConvertToArgb(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitchPixels, int width,
                   int height, const uint32_t table[256]);

// ConvertToArgb without vector instructions: what hosts other than x86-64
// run, and what every other path must match byte for byte.
void ConvertToArgbPortable(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitchPixels,
                           int width, int height, const uint32_t table[256]);

using ConvertFn = void (*)(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitchPixels,
                           int width, int height, const uint32_t table[256]);

// One way of converting: its name ("avx512vbmi", "avx2", "sse2",
// "portable") and the function, with ConvertToArgb's contract.
struct ConvertPath {
    const char* name;
    ConvertFn convert;
};

// Every conversion this CPU can run, fastest first, the portable one last.
// For the tests and benchmarks, which run each of them.
std::span<const ConvertPath> ConvertPaths();

// The name of the path ConvertToArgb runs on this CPU.
const char* ConvertToArgbPath();

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

} // namespace hostcommon
