// The web host's emulated display: 640 x 480 x 8 drawn into the page's
// canvas (the page scales it by a whole factor with nearest-neighbour
// sampling), the frame converted through its palette row by changed row,
// and page flips paced to fixed 60 Hz deadlines whatever the monitor's rate.
// The time from the end of one flip's wait to the start of the next (one
// frame of the program plus its present) is handed to the page.
#include <emscripten.h>

#include <cstdint>
#include <string>

#include "presentation.h"
#include "host.h"
#include "host_core.h"
#include "native_host.h"
#include "screen_hash.h"
#include "web_canvas.h"
#include "web_demo.h"
#include "web_host.h"

namespace {

constexpr int kModeWidth = 640;
constexpr int kModeHeight = 480;

struct DisplayState {
    bool modeSet = false;
    webhost::CanvasFrame frame;
    hostcommon::FramePacer pacer;
    double resumedMs = -1; // when the last flip's wait ended
};

DisplayState& D() {
    static DisplayState state;
    return state;
}

// The canvas at the mode's size, its 2D context and an ImageData over the
// frame's RGBA bytes in the program's memory (made again whenever that
// memory moves). False when the page has no canvas.
EM_JS(int, qv_web_display_open, (int width, int height), {
    var canvas = Module.canvas;
    if (!canvas || !canvas.getContext) return 0;
    canvas.width = width;
    canvas.height = height;
    var context = canvas.getContext("2d", {alpha: false});
    if (!context) return 0;
    context.fillStyle = "#000";
    context.fillRect(0, 0, width, height);
    Module.qvDisplay = {context: context, image: null, buffer: null, pointer: 0};
    if (Module.qvOnDisplay) Module.qvOnDisplay(true);
    return 1;
});

EM_JS(void, qv_web_display_close, (), {
    Module.qvDisplay = null;
    if (Module.qvOnDisplay) Module.qvOnDisplay(false);
});

// Puts rows first..last-1 of the RGBA frame at `pointer` on the canvas.
EM_JS(void, qv_web_display_put, (const uint8_t* pointer, int width, int height, int first, int last), {
    var d = Module.qvDisplay;
    if (!d) return;
    if (!d.image || d.buffer !== HEAPU8.buffer || d.pointer !== pointer) {
        var bytes = new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4);
        d.image = new ImageData(bytes, width, height);
        d.buffer = HEAPU8.buffer;
        d.pointer = pointer;
    }
    d.context.putImageData(d.image, 0, 0, 0, first, width, last - first);
});

// One flip's work, in milliseconds, for the page's timing.
EM_JS(void, qv_web_frame_done, (double workMs), {
    if (Module.qvOnFrame) Module.qvOnFrame(workMs);
});

// Waits for the next 60 Hz deadline, giving the page the control meanwhile.
// A page event wakes the wait (it wakes every wait of the program), but a
// flip still ends at its deadline: ended early, each key would run a frame
// ahead of time and the schedule would race ahead of the clock, the game
// too fast while keys come and then frozen until the clock catches up. The
// event waits in the queue for the next pass, as on every host.
void WaitForFlipDeadline() {
    DisplayState& d = D();
    int64_t due = d.pacer.Schedule(static_cast<int64_t>(emscripten_get_now() * 1e6));
    double dueMs = static_cast<double>(due) / 1e6;
    double waitMs = dueMs - emscripten_get_now();
    // A wait of 0 still yields, so the page can show the frame and take input.
    do {
        webhost::Sleep(waitMs > 0 ? static_cast<int>(waitMs + 0.5) : 0);
        waitMs = dueMs - emscripten_get_now();
    } while (waitMs >= 1); // the timer's own rounding is no reason to wait again
    d.resumedMs = emscripten_get_now();
}

} // namespace

namespace webhost {

void ForgetFrameStart() {
    D().resumedMs = -1;
}

std::string ShownScreenHash() {
    const CanvasFrame& frame = D().frame;
    bool shown = frame.Indices() && frame.Width() == hostcommon::kScreenWidth &&
                 frame.Height() == hostcommon::kScreenHeight;
    return hostcommon::ScreenHash(shown ? frame.Indices() : nullptr, hostcommon::kScreenWidth, frame.Palette());
}

} // namespace webhost

namespace native {

bool SetDisplayMode(int width, int height, int bpp) {
    bool ok = width == kModeWidth && height == kModeHeight && bpp == 8 && qv_web_display_open(width, height);
    if (ok) {
        DisplayState& d = D();
        d.modeSet = true;
        d.frame.Invalidate();
        d.pacer.Reset();
        d.resumedMs = -1;
    }
    return ok;
}

} // namespace native

namespace host {

void RestoreDisplayMode() {
    DisplayState& d = D();
    if (d.modeSet) qv_web_display_close();
    d.modeSet = false;
}

void Present(const uint8_t* pixels, int width, int height, int pitch, const PaletteEntry* palette,
             bool paced) {
    DisplayState& d = D();
    if (d.modeSet && pixels && palette && width > 0 && height > 0 && width <= 4096 &&
        height <= 4096 && pitch >= width) {
        webhost::RowSpan rows = d.frame.Update(pixels, width, height, pitch, palette);
        if (!rows.Empty())
            qv_web_display_put(d.frame.Rgba(), d.frame.Width(), d.frame.Height(), rows.first, rows.last);
    }
    // Flips keep their 60 Hz pace even when there is nothing to show them on.
    if (!paced) return;
    hostcommon::Idle().OnActivity(); // play is running: the loop is not idle
    if (d.resumedMs >= 0) qv_web_frame_done(emscripten_get_now() - d.resumedMs);
    WaitForFlipDeadline();
}

} // namespace host
