// The page's input turned into calls on the input core: keys, focus,
// visibility and clicks as the browser reports them, the game controllers
// sampled through the Gamepad API at each pass, and the page's on-screen
// pad (web/touch.js), which calls qv_touch_hold and qv_touch_press. During
// a playback the core keeps all of it from the program.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <vector>

#include "host_core.h"
#include "web_host.h"
#include "web_keys.h"
#include "web_pads.h"

namespace {

using hostcommon::InputCore;

struct InputState {
    bool listening = false;
    bool boxOpen = false;
    webhost::WebPads pads;
};

InputState& S() {
    static InputState state;
    return state;
}

EM_JS(int, qv_web_page_focused, (), {
    return (typeof document != "undefined" && document.hasFocus()) ? 1 : 0;
});

EM_JS(int, qv_web_page_visible, (), {
    return (typeof document == "undefined" || document.visibilityState != "hidden") ? 1 : 0;
});

// Runs a page event's handling; what it queued for the program is taken at
// once (a wait of the program ends), and the page shows the game's state.
template <typename Handle> auto Handled(Handle handle) {
    size_t before = hostcommon::Input().Pending();
    auto result = handle();
    webhost::ShowState();
    if (hostcommon::Input().Pending() != before) webhost::Wake();
    return result;
}

// A key of the keyboard. Returns true to keep the page from acting on it:
// the host's keys, and the game's own while the game takes them.
bool TranslateKey(bool down, const EmscriptenKeyboardEvent& e) {
    if (S().boxOpen) return false; // the box's own keys
    InputCore& input = hostcommon::Input();
    hostcommon::VirtualKey key = webhost::VirtualKeyFromDom(e.code, e.key);
    // A minimized game is covered by the page's "Click to resume".
    InputCore::KeyFate fate = Handled([&] {
        return down ? input.KeyDown(key, e.repeat != 0, e.altKey != 0, InputCore::Reach::CoveredWindow)
                    : input.KeyUp(key, e.altKey != 0);
    });
    if (fate == InputCore::KeyFate::Host) return true;
    return fate == InputCore::KeyFate::Program && webhost::IsGameKey(key.vk);
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    return TranslateKey(type == EMSCRIPTEN_EVENT_KEYDOWN, *e) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
    InputCore& input = hostcommon::Input();
    return Handled([&] {
        input.Queue(input.State().OnFocus(type == EMSCRIPTEN_EVENT_FOCUS));
        return EM_FALSE;
    });
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    InputCore& input = hostcommon::Input();
    return Handled([&] {
        input.Queue(input.State().OnVisible(!e->hidden));
        return EM_FALSE;
    });
}

EM_BOOL OnMouseDown(int, const EmscriptenMouseEvent*, void*) {
    return Handled([] {
        if (!S().boxOpen) hostcommon::Input().UserInput(InputCore::Reach::CoveredWindow);
        return EM_FALSE;
    });
}

webhost::PadSample Sample(const EmscriptenGamepadEvent& g) {
    webhost::PadSample sample;
    sample.connected = g.connected != 0;
    for (int b = 0; b < g.numButtons && b < 32; b++)
        if (g.digitalButton[b]) sample.buttons |= uint32_t{1} << b;
    if (g.numAxes > 0) sample.axisX = g.axis[0];
    if (g.numAxes > 1) sample.axisY = g.axis[1];
    return sample;
}

} // namespace

// The page's on-screen pad, called from the page's script (plain integers:
// the program may be waiting meanwhile). It lies in the window, under the
// "Click to resume" that covers a minimized game. While a box is open the
// pad lets go but presses nothing, as the keys are the box's.

// The pad now holds `held` (hostcommon::touch bits: 1 left, 2 up, 4 right,
// 8 down, 16 fire). Returns what the core takes it to hold.
extern "C" EMSCRIPTEN_KEEPALIVE int qv_touch_hold(int held) {
    InputCore& input = hostcommon::Input();
    unsigned mask = static_cast<unsigned>(held) & hostcommon::touch::kAll;
    if (S().boxOpen) mask &= input.TouchHeld();
    Handled([&] {
        input.TouchHold(mask, InputCore::Reach::CoveredWindow);
        return 0;
    });
    return static_cast<int>(input.TouchHeld());
}

// A command button pressed `vk` (P, VK_ESCAPE, VK_F9). Returns 0 when the
// program got the key, 1 when the host took it (F9 saves the demo), 2 when
// it went nowhere.
extern "C" EMSCRIPTEN_KEEPALIVE int qv_touch_press(int vk) {
    if (S().boxOpen) return 2;
    InputCore& input = hostcommon::Input();
    InputCore::KeyFate fate = Handled([&] { return input.TouchPress(vk, InputCore::Reach::CoveredWindow); });
    switch (fate) {
    case InputCore::KeyFate::Program: return 0;
    case InputCore::KeyFate::Host: return 1;
    default: return 2;
    }
}

namespace webhost {

void EnsureListening() {
    InputState& s = S();
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
    hostcommon::Activation& activation = hostcommon::Input().State();
    activation.OnFocus(qv_web_page_focused() != 0);
    activation.OnVisible(qv_web_page_visible() != 0);
}

void SetMessageBoxOpen(bool open) {
    S().boxOpen = open;
}

// The Gamepad API is polled: each pass samples every pad, and what changed
// goes to the core's pad mapping. Only the active game samples them.
void SamplePads() {
    InputCore& input = hostcommon::Input();
    if (!input.State().Active() || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    int count = emscripten_get_num_gamepads();
    std::vector<int> commands;
    for (int i = 0; i < WebPads::kMaxPads; i++) {
        EmscriptenGamepadEvent g{};
        PadSample sample;
        if (i < count && emscripten_get_gamepad_status(i, &g) == EMSCRIPTEN_RESULT_SUCCESS) sample = Sample(g);
        S().pads.Update(i, sample, input.Pads(), commands);
    }
    input.PadsChanged(commands);
}

} // namespace webhost
