// The web host: the clock, the page's keys, focus, visibility and clicks
// and the game controllers translated into the host's key and
// window-manager events, the main window's state, and the waits of an idle
// message loop. Waiting gives the page back the control (Asyncify): the
// program's loop stays as it is, and the browser runs between its frames.
// Everything the program learns here goes into the demo's record as it is
// handed over; in a playback the record answers instead of the page.
// The display lives in web_display.cpp, message boxes in web_message_box.cpp,
// demos in web_demo.cpp.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <deque>
#include <vector>

#include "demo_recorder.h"
#include "host.h"
#include "idle_gate.h"
#include "virtual_keys.h"
#include "web_activation.h"
#include "web_demo.h"
#include "web_host.h"
#include "web_keys.h"
#include "web_pads.h"
#include "web_playback.h"

namespace {

using hostcommon::KeySource;
using hostcommon::VirtualKey;
using webhost::Activation;
namespace vk = hostcommon::vk;

constexpr int kVkF9 = vk::kF1 + 8;

// An event for the program and what it does to the key table once taken.
struct Queued {
    host::Event event;
    VirtualKey key;
    KeySource source = KeySource::Keyboard;
};

struct HostState {
    bool listening = false;
    host::KeyTable keys;
    hostcommon::KeySources sources;
    hostcommon::Gamepads pads;
    webhost::WebPads webPads;
    std::deque<Queued> events;
    hostcommon::IdleGate idle;
    Activation activation;
    bool windowExists = false;
    bool boxOpen = false;
    // The Enter of an Alt+Enter goes up unseen, like its going down.
    bool swallowReturnUp = false;
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

EM_JS(int, qv_web_page_focused, (), {
    return (typeof document != "undefined" && document.hasFocus()) ? 1 : 0;
});

EM_JS(int, qv_web_page_visible, (), {
    return (typeof document == "undefined" || document.visibilityState != "hidden") ? 1 : 0;
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

void Queue(Queued queued) {
    S().events.push_back(queued);
    webhost::Wake();
}

// The page's own focus and visibility changes are the game's only in a
// live game; a playback has the recorded ones.
void QueueChange(Activation::Change change) {
    if (webhost::Playing()) return;
    if (change == Activation::Change::Activate) Queue({{host::EventKind::Activate}, {}});
    if (change == Activation::Change::Deactivate) Queue({{host::EventKind::Deactivate}, {}});
    if (change != Activation::Change::None) qv_web_state(S().activation.Active(), S().activation.Minimized());
}

// During a playback the keys are the page's, Alt+Enter the host's.
bool PlaybackKey(bool down, const EmscriptenKeyboardEvent& e) {
    VirtualKey key = webhost::VirtualKeyFromDom(e.code, e.key);
    if (key.vk != vk::kReturn || !e.altKey) return false;
    if (down && !e.repeat) qv_web_toggle_fullscreen();
    return true;
}

// A key of the keyboard. Returns true to keep the page from acting on it.
bool TranslateKey(bool down, const EmscriptenKeyboardEvent& e) {
    HostState& s = S();
    if (webhost::Playing()) return PlaybackKey(down, e);
    if (s.boxOpen) return false; // the box's own keys
    Activation::Change change;
    if (down && s.activation.OnUserInput(change)) {
        QueueChange(change);
        return true; // a key that restores the game is not the game's
    }
    VirtualKey key = webhost::VirtualKeyFromDom(e.code, e.key);
    if (key.vk == 0) return false;
    if (!s.activation.Active()) return false; // keys go to the active application only
    bool alt = e.altKey != 0;
    if (key.vk == kVkF9) {
        // F9 saves the demo: the host's, like Alt+Enter, going down and up.
        if (down && !e.repeat) webhost::SaveDemo();
        return true;
    }
    if (down) {
        if (key.vk == vk::kReturn && alt) {
            // Alt+Enter belongs to the host: it never reaches the program.
            if (!e.repeat) qv_web_toggle_fullscreen();
            s.swallowReturnUp = true;
            return true;
        }
        Queue({{host::EventKind::KeyDown, key.vk, e.repeat != 0, alt}, key});
    } else {
        if (key.vk == vk::kReturn && s.swallowReturnUp) {
            s.swallowReturnUp = false;
            return true;
        }
        // Windows reports the release of Alt itself as WM_SYSKEYUP.
        Queue({{host::EventKind::KeyUp, key.vk, false, alt || key.vk == vk::kMenu}, key});
    }
    return webhost::IsGameKey(key.vk);
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    return TranslateKey(type == EMSCRIPTEN_EVENT_KEYDOWN, *e) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
    QueueChange(S().activation.OnPageFocus(type == EMSCRIPTEN_EVENT_FOCUS));
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    QueueChange(S().activation.OnPageVisible(!e->hidden));
    return EM_FALSE;
}

EM_BOOL OnMouseDown(int, const EmscriptenMouseEvent*, void*) {
    Activation::Change change;
    if (!webhost::Playing() && !S().boxOpen && S().activation.OnUserInput(change)) QueueChange(change);
    return EM_FALSE;
}

// ---- Game controllers ---------------------------------------------------------------

webhost::PadSample Sample(const EmscriptenGamepadEvent& g) {
    webhost::PadSample sample;
    sample.connected = g.connected != 0;
    for (int b = 0; b < g.numButtons && b < 32; b++)
        if (g.digitalButton[b]) sample.buttons |= uint32_t{1} << b;
    if (g.numAxes > 0) sample.axisX = g.axis[0];
    if (g.numAxes > 1) sample.axisY = g.axis[1];
    return sample;
}

// The arrows and Ctrl a pad holds go straight into the key table, with no
// key messages: the game polls them. Start and Back become a key press and
// release, queued for the program like the keyboard's.
void SamplePads() {
    HostState& s = S();
    if (!s.activation.Active() || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    int count = emscripten_get_num_gamepads();
    std::vector<int> commands;
    for (int i = 0; i < webhost::WebPads::kMaxPads; i++) {
        EmscriptenGamepadEvent g{};
        webhost::PadSample sample;
        if (i < count && emscripten_get_gamepad_status(i, &g) == EMSCRIPTEN_RESULT_SUCCESS)
            sample = Sample(g);
        s.webPads.Update(i, sample, s.pads, commands);
    }
    hostcommon::SyncPadKeys(s.pads, s.sources, s.keys);
    for (int command : commands) {
        s.events.push_back({{host::EventKind::KeyDown, command}, {command}, KeySource::Pad});
        s.events.push_back({{host::EventKind::KeyUp, command}, {command}, KeySource::Pad});
    }
}

// The key table follows an event as it is handed to the program.
void ApplyToKeys(const Queued& q) {
    HostState& s = S();
    switch (q.event.kind) {
    case host::EventKind::KeyDown:
        if (q.source == KeySource::Pad)
            s.sources.Press(KeySource::Pad, q.event.vk, s.keys);
        else
            hostcommon::PressKeyboardKey(q.key, s.sources, s.keys);
        break;
    case host::EventKind::KeyUp:
        if (q.source == KeySource::Pad)
            s.sources.Release(KeySource::Pad, q.event.vk, s.keys);
        else
            hostcommon::ReleaseKeyboardKey(q.key, s.sources, s.keys);
        break;
    case host::EventKind::Deactivate:
        // Held keys are forgotten when the application loses the foreground.
        s.sources.ReleaseAll(s.keys);
        s.pads.Clear();
        break;
    default:
        break;
    }
}

// An event waits to be handed to the program.
bool EventPending() {
    webhost::Playback* playback = webhost::Playing();
    return playback ? playback->HasEvent() : !S().events.empty();
}

} // namespace

namespace webhost {

void EnsureListening() {
    HostState& s = S();
    if (s.listening) return;
    s.listening = true;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_FALSE, OnKey);
    emscripten_set_keyup_callback(window, nullptr, EM_FALSE, OnKey);
    // Not captured: only the page's own focus changes, not those of its buttons.
    emscripten_set_focus_callback(window, nullptr, EM_FALSE, OnFocus);
    emscripten_set_blur_callback(window, nullptr, EM_FALSE, OnFocus);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibility);
    emscripten_set_mousedown_callback(window, nullptr, EM_FALSE, OnMouseDown);
    s.activation.OnPageFocus(qv_web_page_focused() != 0);
    s.activation.OnPageVisible(qv_web_page_visible() != 0);
}

void Sleep(int ms) {
    qv_web_sleep(ms);
}

void Wake() {
    qv_web_wake();
}

void NoteFlip() {
    S().idle.OnActivity();
}

void SetMessageBoxOpen(bool open) {
    S().boxOpen = open;
}

} // namespace webhost

namespace host {

uint32_t TickCount() {
    // Truncation to 32 bits is the wrap at 2^32 that GetTickCount has.
    return webhost::Tick(static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())));
}

KeyTable& Keys() {
    return S().keys;
}

// The key table's changes reach the record (its observer) before the
// event they come with, and the event follows.
bool PollEvent(Event& event) {
    webhost::EnsureListening();
    HostState& s = S();
    if (webhost::Playback* playback = webhost::Playing()) {
        if (!playback->Poll(event, s.keys)) return false;
    } else {
        if (s.events.empty()) return false;
        Queued q = s.events.front();
        s.events.pop_front();
        ApplyToKeys(q);
        event = q.event;
        webhost::Recording()->Event(event);
    }
    s.idle.OnActivity();
    return true;
}

void WaitEvent() {
    webhost::EnsureListening();
    if (EventPending()) return;
    if (webhost::Playing()) {
        webhost::PlaybackWait();
        return;
    }
    webhost::ForgetFrameStart();
    webhost::Sleep(-1);
}

// A running game flips between peeks and never waits here. A loop that
// only peeks (paused, say) gives the page the control until an event
// arrives or a frame's time has passed; a playback's paused game waits
// the same frame's time. Never true: what arrived meanwhile is the next
// pass's, as a demo has it.
bool OnIdlePeek() {
    HostState& s = S();
    if (!s.idle.OnEmptyPeek() || EventPending()) return false;
    webhost::ForgetFrameStart();
    webhost::Sleep(16);
    return false;
}

// A pass begins: that is recorded first, then the pads' key changes.
void BeforeEvents() {
    webhost::EnsureListening();
    if (webhost::Playing()) {
        webhost::PlaybackPump();
        return;
    }
    webhost::Recording()->Pump();
    SamplePads();
}

void CreateMainWindow(const char*, int, int) {
    HostState& s = S();
    webhost::EnsureListening();
    s.windowExists = true;
    s.activation.OnWindowHidden();
    s.swallowReturnUp = false;
}

void DestroyMainWindow() {
    HostState& s = S();
    s.windowExists = false;
    s.activation.OnWindowHidden();
    qv_web_state(0, 0);
}

bool SetMainWindowState(WindowState state) {
    HostState& s = S();
    if (!s.windowExists) return webhost::Answer(false);
    if (webhost::Playing()) return webhost::Answer(state == WindowState::Shown);
    bool active = false;
    switch (state) {
    case WindowState::Shown:
        active = s.activation.OnWindowShown();
        break;
    case WindowState::Minimized:
        s.activation.OnWindowMinimized();
        break;
    case WindowState::Hidden:
        s.activation.OnWindowHidden();
        break;
    }
    qv_web_state(s.activation.Active(), s.activation.Minimized());
    return webhost::Answer(active);
}

bool FocusMainWindow() {
    HostState& s = S();
    return webhost::Answer(s.windowExists && s.activation.Active());
}

void SetCursorVisible(bool visible) {
    qv_web_cursor(visible);
}

// The web host injects no faults: DirectDraw sees real conditions only.
bool TakeInjectedFailure(const char*, int32_t*) {
    return false;
}
bool TakeStillDrawing() {
    return false;
}
// Surfaces are lost here through deactivation, never on a count.
uint32_t SurfaceLossCount() {
    return 0;
}

} // namespace host
