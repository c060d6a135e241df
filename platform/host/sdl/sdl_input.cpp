// SDL's events turned into calls on the input core: keys, clicks, the main
// window's focus and state, the close request and the controllers; the
// minimize verdict; and the waits of an idle message loop.
#include <chrono>
#include <optional>
#include <thread>

#include "host.h"
#include "host_core.h"
#include "native_host.h"
#include "sdl_host.h"
#include "sdl_keys.h"

namespace {

using hostcommon::InputCore;

// An event that a wait took off SDL's queue, translated first by the next pump.
std::optional<SDL_Event>& Pending() {
    static std::optional<SDL_Event> pending;
    return pending;
}

bool IsMainWindow(uint32_t windowId) {
    SDL_Window* window = sdlhost::MainWindow();
    return window && windowId == SDL_GetWindowID(window);
}

// Where input for `windowId` (0: the window with the keyboard focus) lands.
InputCore::Reach ReachOf(uint32_t windowId) {
    bool main = windowId == 0 || IsMainWindow(windowId);
    return main && sdlhost::MainWindowIsUp() ? InputCore::Reach::ShownWindow : InputCore::Reach::Elsewhere;
}

void TranslateKey(const SDL_KeyboardEvent& k) {
    InputCore& input = hostcommon::Input();
    sdlhost::VirtualKey key = sdlhost::VirtualKeyFromSdl(k.keysym.sym, k.keysym.scancode);
    bool alt = (k.keysym.mod & KMOD_ALT) != 0;
    if (k.type == SDL_KEYDOWN)
        input.KeyDown(key, k.repeat != 0, alt, ReachOf(k.windowID));
    else
        input.KeyUp(key, alt); // SDL has already cleared Alt when Alt itself goes up
}

void TranslateWindowEvent(const SDL_WindowEvent& w) {
    if (!IsMainWindow(w.windowID)) return;
    InputCore& input = hostcommon::Input();
    hostcommon::Activation& activation = input.State();
    switch (w.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: input.Queue(activation.OnFocus(true)); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: input.Queue(activation.OnFocus(false)); break;
    case SDL_WINDOWEVENT_RESTORED: input.Queue(activation.OnPlatformRestored()); break;
    case SDL_WINDOWEVENT_MINIMIZED: input.Queue(activation.OnPlatformMinimized()); break;
    case SDL_WINDOWEVENT_CLOSE: input.Queue({host::EventKind::Close}); break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: sdlhost::Redraw(); break;
    default: break;
    }
}

void Translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: TranslateKey(e.key); break;
    case SDL_MOUSEBUTTONDOWN:
        if (IsMainWindow(e.button.windowID)) hostcommon::Input().UserInput(ReachOf(e.button.windowID));
        break;
    case SDL_WINDOWEVENT: TranslateWindowEvent(e.window); break;
    case SDL_QUIT:
        // With quit-on-last-window-close off and SDL's signal handlers off
        // (the host has its own), only the system asking the program to quit
        // lands here.
        hostcommon::Input().Queue({host::EventKind::Close});
        break;
    default: sdlhost::TranslatePadEvent(e); break;
    }
}

// Once the window manager has had its time to carry out a minimize request:
// a window still shown with the input focus was not minimized, and the
// application comes back to the front. A window that lost the focus
// instead comes back when it gets it again.
void LookAtMinimizeVerdict() {
    hostcommon::Activation& activation = hostcommon::Input().State();
    if (!activation.TakeMinimizeVerdict(sdlhost::ClockMs())) return;
    if (!sdlhost::MainWindowIsUp() || !sdlhost::MainWindowHasFocus()) return;
    hostcommon::Activation::Change change = activation.OnMinimizeIgnored();
    if (change == hostcommon::Activation::Change::Activate) sdlhost::CoverDesktopAgain();
    hostcommon::Input().Queue(change);
}

} // namespace

namespace native {

void PumpEvents() {
    if (!sdlhost::EnsureVideo()) return;
    if (Pending()) {
        Translate(*Pending());
        Pending().reset();
    }
    SDL_Event e;
    while (SDL_PollEvent(&e) == 1) Translate(e);
    LookAtMinimizeVerdict();
}

// Waits no longer than until the minimize verdict is due.
void WaitEvent() {
    if (Pending()) return;
    if (sdlhost::EnsureVideo()) {
        SDL_Event e;
        int limit = hostcommon::Input().State().MillisecondsToVerdict(sdlhost::ClockMs());
        int got = limit < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, limit);
        if (got == 1) {
            Pending() = e;
            return;
        }
        if (limit >= 0) return; // the verdict is due: the caller pumps again
    }
    // Without a display nothing can ever arrive; sleeping keeps the caller's loop from spinning.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void BeforeEvents() {}

} // namespace native

namespace host {

// A running game flips between peeks and never waits here. A loop that
// only peeks (paused, say) waits up to a millisecond for an event, which
// the next pump translates first; the wait ends as soon as one arrives.
bool OnIdlePeek() {
    if (!hostcommon::Idle().OnEmptyPeek() || Pending() || !sdlhost::VideoReady()) return false;
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, 1) == 1) Pending() = e;
    return false;
}

} // namespace host
