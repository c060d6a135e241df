// Letterboxing, windowed size and flip pacing of the SDL host's display.
#include "sdl_frame.h"

#include <algorithm>

namespace sdlhost {

Rect LetterboxRect(int frameW, int frameH, int outW, int outH) {
    if (frameW <= 0 || frameH <= 0 || outW <= 0 || outH <= 0) return {};
    int scale = std::min(outW / frameW, outH / frameH);
    int w = frameW * scale;
    int h = frameH * scale;
    if (scale == 0) {
        // Shrink to fit: the limiting side fills the output, the other keeps the aspect.
        int64_t byWidth = static_cast<int64_t>(frameH) * outW / frameW;
        if (byWidth <= outH) {
            w = outW;
            h = static_cast<int>(byWidth);
        } else {
            w = static_cast<int>(static_cast<int64_t>(frameW) * outH / frameH);
            h = outH;
        }
    }
    return {(outW - w) / 2, (outH - h) / 2, w, h};
}

int WindowedScale(int frameW, int frameH, int usableW, int usableH) {
    if (frameW <= 0 || frameH <= 0) return 1;
    return std::max(1, std::min(usableW / frameW, usableH / frameH));
}

int64_t FramePacer::Schedule(int64_t nowNs) {
    if (!started_) {
        started_ = true;
        anchorNs_ = nowNs;
        frame_ = 0;
        return nowNs;
    }
    frame_++;
    // Multiply before dividing: 1/60 s is not a whole number of nanoseconds.
    int64_t deadline = anchorNs_ + frame_ * kSecondNs / kRate;
    if (nowNs - deadline > kPeriodNs) {
        anchorNs_ = nowNs;
        frame_ = 0;
        return nowNs;
    }
    return std::max(deadline, nowNs);
}

} // namespace sdlhost
