// The web host: the clock, the waits of an idle message loop (waiting gives
// the page back the control through Asyncify: the program's loop stays as
// it is, and the browser runs between its frames), the main window's state
// and the page's picture of it, and the reserved keys' commands. The page's
// input lives in web_input.cpp, the display in web_display.cpp, message
// boxes in web_message_box.cpp, demos in web_demo.cpp.
#include <emscripten.h>

#include "host.h"
#include "host_core.h"
#include "native_host.h"
#include "web_demo.h"
#include "web_host.h"

namespace {

struct HostState {
    bool windowExists = false;
    bool commandsSet = false;
    int shownActive = -1, shownMinimized = -1; // what the page last heard
};

HostState& S() {
    static HostState state;
    return state;
}

// The page shows the state: playing, or paused with "Click to resume".
EM_JS(void, qv_web_state, (int active, int minimized), {
    if (Module.qvOnState) Module.qvOnState(!!active, !!minimized);
});

EM_JS(void, qv_web_toggle_fullscreen, (), {
    if (Module.qvToggleFullscreen) Module.qvToggleFullscreen();
});

// ShowCursor(FALSE) hides the pointer over the game's picture.
EM_JS(void, qv_web_cursor, (int visible), {
    var canvas = Module.canvas;
    if (canvas) canvas.style.cursor = visible ? "" : "none";
});

EM_JS(void, qv_web_wake, (), {
    var wake = Module.qvWake;
    Module.qvWake = null;
    if (wake) wake();
});

EM_ASYNC_JS(void, qv_web_sleep, (int ms), {
    await new Promise(function(resolve) {
        var timer = 0;
        Module.qvWake = function() {
            if (timer) clearTimeout(timer);
            resolve();
        };
        if (ms >= 0) timer = setTimeout(function() {
            Module.qvWake = null;
            resolve();
        }, ms);
    });
});

// The keys the input core reserves for the host. The page has no
// screenshot of its own: the browser's are the player's.
void CarryOut(hostcommon::HostCommand command) {
    if (command == hostcommon::HostCommand::ToggleFullScreen) qv_web_toggle_fullscreen();
    if (command == hostcommon::HostCommand::SaveDemo) webhost::SaveDemo();
}

void Start() {
    HostState& s = S();
    webhost::EnsureListening();
    if (s.commandsSet) return;
    s.commandsSet = true;
    hostcommon::Input().SetCommandHandler(CarryOut);
}

} // namespace

namespace webhost {

void Sleep(int ms) {
    qv_web_sleep(ms);
}

void Wake() {
    qv_web_wake();
}

void ShowState() {
    HostState& s = S();
    if (hostcommon::Demos().Playing()) return; // the page shows the playback instead
    const hostcommon::Activation& activation = hostcommon::Input().State();
    int active = s.windowExists && activation.Active(), minimized = s.windowExists && activation.Minimized();
    if (active == s.shownActive && minimized == s.shownMinimized) return;
    s.shownActive = active;
    s.shownMinimized = minimized;
    qv_web_state(active, minimized);
}

} // namespace webhost

namespace native {

uint32_t TickCount() {
    // Truncation to 32 bits is the wrap at 2^32 that GetTickCount has.
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

// The page's events reach the input core as they happen (web_input.cpp).
void PumpEvents() {
    Start();
}

void WaitEvent() {
    Start();
    webhost::ForgetFrameStart();
    webhost::Sleep(-1);
}

// A pass begins: a paused playback holds here; a live game samples its pads.
void BeforeEvents() {
    Start();
    if (hostcommon::Demos().Playing())
        webhost::HoldPausedPlayback();
    else
        webhost::SamplePads();
}

bool SetMainWindowState(host::WindowState state) {
    if (!S().windowExists) return false;
    if (hostcommon::Demos().Playing()) return state == host::WindowState::Shown;
    hostcommon::Activation& activation = hostcommon::Input().State();
    bool active = false;
    switch (state) {
    case host::WindowState::Shown: active = activation.OnWindowShown(false); break;
    case host::WindowState::Minimized: activation.OnWindowMinimized(); break;
    case host::WindowState::Hidden: activation.OnWindowHidden(); break;
    }
    webhost::ShowState();
    return active;
}

bool FocusMainWindow() {
    return S().windowExists && hostcommon::Input().State().OnFocusRequest(false);
}

// A person plays: every live game is recorded, for F9.
bool RecordsDemos() {
    return true;
}

} // namespace native

namespace host {

// A running game flips between peeks and never waits here. A loop that
// only peeks (paused, say) gives the page the control until an event
// arrives or a frame's time has passed; a playback's paused game waits
// the same frame's time. Never true: what arrived meanwhile is the next
// pass's, as a demo has it.
bool OnIdlePeek() {
    if (!hostcommon::Idle().OnEmptyPeek() || hostcommon::Input().HasEvent()) return false;
    webhost::ForgetFrameStart();
    webhost::Sleep(16);
    return false;
}

void CreateMainWindow(const char*, int, int) {
    Start();
    S().windowExists = true;
    hostcommon::Input().WindowReset();
}

void DestroyMainWindow() {
    S().windowExists = false;
    hostcommon::Input().WindowReset();
    webhost::ShowState();
}

void SetCursorVisible(bool visible) {
    qv_web_cursor(visible);
}

} // namespace host
