// The SDL host: SDL's lazy start-up and shutdown, the clock, the main
// window and its icon, SDL's keyboard, controller and window events
// translated into the host's key and window-manager events, the foreground
// given back when a window manager does not minimize, and the wait of an
// idle message loop. The display lives in sdl_display.cpp.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host.h"
#include "idle_gate.h"
#include "gamepad.h"
#include "sdl_demo.h"
#include "sdl_host.h"
#include "sdl_icon.h"
#include "sdl_keys.h"

namespace {

enum class Video { NotStarted, Ready, Unavailable };

constexpr int kVkReturn = 0x0D;
constexpr int kVkMenu = 0x12;
// How long a window manager has to carry out a minimize request before the
// host looks whether it did. Window managers answer within milliseconds.
constexpr uint32_t kMinimizeVerdictMs = 500;

struct HostState {
    Video video = Video::NotStarted;
    host::KeyTable keys;
    hostcommon::KeySources sources; // what the keyboard and the pads hold
    hostcommon::Gamepads pads;
    std::vector<SDL_GameController*> controllers;
    // Key events made by the host itself (a pad's Start and Back), handed
    // out before SDL's next events.
    std::deque<host::Event> made;
    hostcommon::IdleGate idle;

    bool windowExists = false; // recorded even when no SDL window could be made
    SDL_Window* window = nullptr;
    host::WindowState windowState = host::WindowState::Hidden;
    bool cursorVisible = true;

    // What the host last told the API layer: the application is in front.
    bool granted = false;
    // After a minimize request, the tick at which the host looks whether the
    // window manager carried it out. Some never do (tiling ones, a bare X
    // server); the application must not stay in the background while its
    // window is still shown with the focus, where nothing else would ever
    // bring it back.
    std::optional<uint32_t> minimizeVerdictAt;

    // An event that WaitEvent took off SDL's queue, handed out first by PollEvent.
    std::optional<SDL_Event> pending;
    // The Enter of an Alt+Enter goes up unseen, like its going down.
    bool swallowReturnUp = false;
};

HostState& S() {
    static HostState state;
    return state;
}

// At exit: SDL gives the desktop back (and X11 its resources) only when quit.
void Shutdown() {
    HostState& s = S();
    for (SDL_GameController* controller : s.controllers) SDL_GameControllerClose(controller);
    s.controllers.clear();
    sdlhost::DestroyDisplay();
    if (s.window) SDL_DestroyWindow(s.window);
    s.window = nullptr;
    SDL_Quit();
    s.video = Video::Unavailable;
}

// The host's own clock, in GetTickCount's milliseconds. The program's reads
// go through host::TickCount, which a demo records; the host's own must not.
uint32_t ClockMs() {
    static const auto origin = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - origin;
    // Truncation to 32 bits is the wrap at 2^32 that GetTickCount has.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

bool IsMainWindow(uint32_t windowId) {
    return S().window && windowId == SDL_GetWindowID(S().window);
}

// The main window is on screen as SDL last saw it: shown, neither hidden
// nor minimized.
bool MainWindowIsUp() {
    SDL_Window* window = S().window;
    if (!window) return false;
    Uint32 flags = SDL_GetWindowFlags(window);
    return (flags & SDL_WINDOW_SHOWN) && !(flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
}

void PressKey(sdlhost::VirtualKey key) {
    HostState& s = S();
    s.sources.Press(hostcommon::KeySource::Keyboard, key.vk, s.keys);
    if (key.sided) s.sources.Press(hostcommon::KeySource::Keyboard, key.sided, s.keys);
}

void ReleaseKey(sdlhost::VirtualKey key) {
    HostState& s = S();
    constexpr auto kKeyboard = hostcommon::KeySource::Keyboard;
    if (key.sided) {
        s.sources.Release(kKeyboard, key.sided, s.keys);
        // VK_CONTROL (and VK_SHIFT, VK_MENU) stays down while the other side is held.
        if (s.sources.Holds(kKeyboard, sdlhost::OtherSide(key.sided))) return;
    }
    s.sources.Release(kKeyboard, key.vk, s.keys);
}

bool TranslateKeyDown(const SDL_KeyboardEvent& k, host::Event& out) {
    if (k.keysym.scancode == SDL_SCANCODE_PRINTSCREEN) {
        // PrintScreen belongs to the host: a screenshot, never a key for the program.
        if (!k.repeat) sdlhost::SaveScreenshotOfDisplay();
        return false;
    }
    if (k.keysym.scancode == SDL_SCANCODE_F9) {
        // So does F9: it saves the game so far as a demo.
        if (!k.repeat) sdlhost::SaveDemoOnKey();
        return false;
    }
    sdlhost::VirtualKey key = sdlhost::VirtualKeyFromSdl(k.keysym.sym, k.keysym.scancode);
    if (key.vk == 0) return false;
    bool alt = (k.keysym.mod & KMOD_ALT) != 0;
    if (key.vk == kVkReturn && alt) {
        // Alt+Enter belongs to the host: it never reaches the program.
        if (!k.repeat) sdlhost::ToggleWindowed();
        S().swallowReturnUp = true;
        return false;
    }
    PressKey(key);
    out = host::Event{host::EventKind::KeyDown, key.vk, k.repeat != 0, alt};
    return true;
}

bool TranslateKeyUp(const SDL_KeyboardEvent& k, host::Event& out) {
    if (k.keysym.scancode == SDL_SCANCODE_PRINTSCREEN || k.keysym.scancode == SDL_SCANCODE_F9) return false;
    sdlhost::VirtualKey key = sdlhost::VirtualKeyFromSdl(k.keysym.sym, k.keysym.scancode);
    if (key.vk == 0) return false;
    if (key.vk == kVkReturn && S().swallowReturnUp) {
        S().swallowReturnUp = false;
        return false;
    }
    ReleaseKey(key);
    // SDL has already cleared Alt from the modifiers when Alt itself goes up;
    // Windows reports that release as WM_SYSKEYUP.
    bool alt = (k.keysym.mod & KMOD_ALT) != 0 || key.vk == kVkMenu;
    out = host::Event{host::EventKind::KeyUp, key.vk, false, alt};
    return true;
}

bool Deactivated(host::Event& out) {
    // Held keys are forgotten when the application loses the foreground,
    // the pads' included.
    HostState& s = S();
    s.sources.ReleaseAll(s.keys);
    s.pads.Clear();
    out = host::Event{host::EventKind::Deactivate};
    return true;
}

bool TranslateWindowEvent(const SDL_WindowEvent& w, host::Event& out) {
    if (!IsMainWindow(w.windowID)) return false;
    HostState& s = S();
    switch (w.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        out = host::Event{host::EventKind::Activate};
        return true;
    case SDL_WINDOWEVENT_RESTORED:
        s.windowState = host::WindowState::Shown;
        // Restoring activates only with the focus; otherwise FOCUS_GAINED follows.
        if (!(SDL_GetWindowFlags(s.window) & SDL_WINDOW_INPUT_FOCUS)) return false;
        out = host::Event{host::EventKind::Activate};
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        return Deactivated(out);
    case SDL_WINDOWEVENT_MINIMIZED:
        s.windowState = host::WindowState::Minimized;
        s.minimizeVerdictAt.reset(); // carried out
        return Deactivated(out);
    case SDL_WINDOWEVENT_CLOSE:
        out = host::Event{host::EventKind::Close};
        return true;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        sdlhost::Redraw();
        return false;
    default:
        return false;
    }
}

// ---- Game controllers -------------------------------------------------------------

// Face buttons by position (the hint set at start-up keeps SDL from
// relabelling them on pads that print other letters there).
hostcommon::PadButton PadButtonFromSdl(Uint8 button) {
    using hostcommon::PadButton;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::South;
    case SDL_CONTROLLER_BUTTON_X: return PadButton::West;
    case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::DpadRight;
    default: return PadButton::Other;
    }
}

hostcommon::PadAxis PadAxisFromSdl(Uint8 axis) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) return hostcommon::PadAxis::LeftX;
    if (axis == SDL_CONTROLLER_AXIS_LEFTY) return hostcommon::PadAxis::LeftY;
    return hostcommon::PadAxis::Other;
}

SDL_JoystickID InstanceId(SDL_GameController* controller) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

// A controller was plugged in (or was there at start-up): `index` is its
// device index. Opening it is what makes SDL report its buttons.
void OpenController(int index) {
    HostState& s = S();
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    for (SDL_GameController* open : s.controllers)
        if (InstanceId(open) == id) return;
    SDL_GameController* controller = SDL_GameControllerOpen(index);
    if (!controller) {
        std::fprintf(stderr, "sdl: cannot open game controller %d: %s\n", index, SDL_GetError());
        return;
    }
    s.controllers.push_back(controller);
}

// A controller went away: `id` is its instance id. What it held is let go.
void CloseController(SDL_JoystickID id) {
    HostState& s = S();
    auto it = std::find_if(s.controllers.begin(), s.controllers.end(),
                           [id](SDL_GameController* c) { return InstanceId(c) == id; });
    if (it != s.controllers.end()) {
        SDL_GameControllerClose(*it);
        s.controllers.erase(it);
    }
    s.pads.Remove(id);
    hostcommon::SyncPadKeys(s.pads, s.sources, s.keys);
}

// The arrows and Ctrl a pad holds go straight into the key table, with no
// key messages: the game polls them. Start and Back become a key press
// and release, queued for the program like the keyboard's.
void TranslateControllerButton(const SDL_ControllerButtonEvent& b) {
    HostState& s = S();
    int command = s.pads.Button(b.which, PadButtonFromSdl(b.button), b.state == SDL_PRESSED);
    hostcommon::SyncPadKeys(s.pads, s.sources, s.keys);
    if (command == 0) return;
    s.made.push_back(host::Event{host::EventKind::KeyDown, command});
    s.made.push_back(host::Event{host::EventKind::KeyUp, command});
}

void TranslateControllerAxis(const SDL_ControllerAxisEvent& a) {
    HostState& s = S();
    s.pads.Axis(a.which, PadAxisFromSdl(a.axis), a.value);
    hostcommon::SyncPadKeys(s.pads, s.sources, s.keys);
}

// Hands out the next key event the host made, updating the key table the
// way a key of the keyboard does.
bool TakeMadeEvent(host::Event& out) {
    HostState& s = S();
    if (s.made.empty()) return false;
    out = s.made.front();
    s.made.pop_front();
    if (out.kind == host::EventKind::KeyDown)
        s.sources.Press(hostcommon::KeySource::Pad, out.vk, s.keys);
    else
        s.sources.Release(hostcommon::KeySource::Pad, out.vk, s.keys);
    return true;
}

// ---- Events -------------------------------------------------------------------------

bool Translate(const SDL_Event& e, host::Event& out) {
    switch (e.type) {
    case SDL_KEYDOWN:
        return TranslateKeyDown(e.key, out);
    case SDL_KEYUP:
        return TranslateKeyUp(e.key, out);
    case SDL_WINDOWEVENT:
        return TranslateWindowEvent(e.window, out);
    case SDL_CONTROLLERDEVICEADDED:
        OpenController(e.cdevice.which);
        return false;
    case SDL_CONTROLLERDEVICEREMOVED:
        CloseController(e.cdevice.which);
        return false;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        TranslateControllerButton(e.cbutton);
        return false;
    case SDL_CONTROLLERAXISMOTION:
        TranslateControllerAxis(e.caxis);
        return false;
    case SDL_QUIT:
        // With quit-on-last-window-close off and SDL's signal handlers off
        // (the host has its own), only the system asking the program to quit
        // lands here.
        out = host::Event{host::EventKind::Close};
        return true;
    default:
        return false;
    }
}

// A fresh key press or a click that reaches the main window while the
// application is in the background means the window has the input after
// all: the window manager kept it shown and focused without telling (it
// ignored a minimize request, say). The application comes to the front
// first; the event itself is handed out next.
bool ActivatesFirst(const SDL_Event& e, host::Event& out) {
    HostState& s = S();
    if (s.granted || !MainWindowIsUp()) return false;
    bool press = (e.type == SDL_KEYDOWN && !e.key.repeat &&
                  (e.key.windowID == 0 || IsMainWindow(e.key.windowID))) ||
                 (e.type == SDL_MOUSEBUTTONDOWN && IsMainWindow(e.button.windowID));
    if (!press) return false;
    s.pending = e;
    out = host::Event{host::EventKind::Activate};
    return true;
}

// Once the window manager has had its time to carry out a minimize request:
// a window still shown with the input focus was not minimized, and the
// application comes back to the front. A window that lost the focus
// instead comes back when it gets it again.
bool MinimizeNotCarriedOut(host::Event& out) {
    HostState& s = S();
    if (!s.minimizeVerdictAt) return false;
    if (static_cast<int32_t>(ClockMs() - *s.minimizeVerdictAt) < 0) return false;
    s.minimizeVerdictAt.reset();
    if (s.granted || !MainWindowIsUp()) return false;
    if (!(SDL_GetWindowFlags(s.window) & SDL_WINDOW_INPUT_FOCUS)) return false;
    sdlhost::CoverDesktopAgain();
    out = host::Event{host::EventKind::Activate};
    return true;
}

// Milliseconds until the minimize verdict is due, or -1 (no limit).
int MillisecondsToVerdict() {
    HostState& s = S();
    if (!s.minimizeVerdictAt) return -1;
    int32_t left = static_cast<int32_t>(*s.minimizeVerdictAt - ClockMs());
    return left > 0 ? left : 0;
}

// Keeps the host's record of what it told the API layer.
void NoteHandedOut(const host::Event& event) {
    HostState& s = S();
    if (event.kind == host::EventKind::Activate) {
        s.granted = true;
        s.minimizeVerdictAt.reset();
    } else if (event.kind == host::EventKind::Deactivate) {
        s.granted = false;
    }
}

bool TakeSdlEvent(SDL_Event& e) {
    HostState& s = S();
    if (s.pending) {
        e = *s.pending;
        s.pending.reset();
        return true;
    }
    return SDL_PollEvent(&e) == 1;
}

// SDL falls back to drivers that show nothing and take no input when no
// real display can be opened. Those count as no display unless the user
// asked for them by name.
bool IsInvisibleFallback() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return true;
    std::string name = driver;
    if (name != "offscreen" && name != "dummy") return false;
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    return !requested || name != requested;
}

// Controllers are optional: without them the game still plays from the keyboard.
void StartControllers() {
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "sdl: no game controllers: %s\n", SDL_GetError());
}

// The ship as the window's icon, when the icon file is found; the desktop's
// default icon otherwise.
void SetWindowIcon(SDL_Window* window) {
    std::optional<std::vector<uint8_t>> pixels = sdlhost::FindIcon(sdlhost::ExecutableFolder());
    if (!pixels) return;
    // RGBA32 names the byte order R, G, B, A whatever the machine's endianness.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels->data(), sdlhost::kIconSize, sdlhost::kIconSize, 32, sdlhost::kIconSize * 4,
        SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon); // SDL keeps a copy
    SDL_FreeSurface(icon);
}

} // namespace

namespace sdlhost {

bool EnsureVideo() {
    HostState& s = S();
    if (s.video != Video::NotStarted) return s.video == Video::Ready;
    // Closing the window arrives as a window event only, never twice.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // SIGINT and SIGTERM are the host's (see sdl_signals.cpp).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdlhost::InstallEndings();
    // The emulated display is a desktop-size window: switching away leaves it be.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "sdl: no display: %s\n", SDL_GetError());
        s.video = Video::Unavailable;
        return false;
    }
    if (IsInvisibleFallback()) {
        std::fprintf(stderr, "sdl: no display (only SDL's %s video driver)\n",
                     SDL_GetCurrentVideoDriver());
        SDL_Quit();
        s.video = Video::Unavailable;
        return false;
    }
    s.video = Video::Ready;
    sdlhost::WatchDisplayConnection();
    StartControllers();
    SDL_StopTextInput(); // key events only; no text input or IME
    SDL_ShowCursor(s.cursorVisible ? SDL_ENABLE : SDL_DISABLE);
    std::atexit(Shutdown);
    return true;
}

SDL_Window* MainWindow() {
    return S().window;
}

void NoteFlip() {
    S().idle.OnActivity();
}

} // namespace sdlhost

namespace host {

uint32_t TickCount() {
    uint32_t now = ClockMs();
    sdlhost::DemoRecord().Tick(now);
    return now;
}

KeyTable& Keys() {
    return S().keys;
}

bool PollEvent(Event& event) {
    if (!sdlhost::EnsureVideo()) return false;
    for (;;) {
        if (TakeMadeEvent(event)) break;
        SDL_Event e;
        if (!TakeSdlEvent(e)) {
            if (MinimizeNotCarriedOut(event)) break;
            return false;
        }
        if (ActivatesFirst(e, event) || Translate(e, event)) break;
    }
    NoteHandedOut(event);
    sdlhost::DemoRecord().Event(event);
    S().idle.OnActivity();
    return true;
}

// Waits no longer than until the minimize verdict is due.
void WaitEvent() {
    HostState& s = S();
    if (s.pending) return;
    if (sdlhost::EnsureVideo()) {
        SDL_Event e;
        int limit = MillisecondsToVerdict();
        int got = limit < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, limit);
        if (got == 1) {
            s.pending = e;
            return;
        }
        if (limit >= 0) return; // the verdict is due: the caller pumps again
    }
    // Without a display nothing can ever arrive; sleeping keeps the caller's loop from spinning.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// A running game flips between peeks and never waits here. A loop that
// only peeks (paused, say) waits up to a millisecond for an event, which
// PollEvent then hands out first; the wait ends as soon as one arrives.
bool OnIdlePeek() {
    HostState& s = S();
    if (!s.idle.OnEmptyPeek() || s.pending || s.video != Video::Ready) return false;
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, 1) == 1) s.pending = e;
    return false;
}

// A pass begins: a demo marks it.
void BeforeEvents() {
    sdlhost::DemoRecord().Pump();
}

void CreateMainWindow(const char* title, int width, int height) {
    HostState& s = S();
    if (s.windowExists) DestroyMainWindow();
    s.windowExists = true;
    s.windowState = WindowState::Hidden;
    if (!sdlhost::EnsureVideo()) return;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        width = 640; // CW_USEDEFAULT and the like: the emulated display's size
        height = 480;
    }
    s.window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                width, height, SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!s.window) {
        std::fprintf(stderr, "sdl: cannot create the window: %s\n", SDL_GetError());
        return;
    }
    sdlhost::PrepareDisplay(s.window); // may re-create the window: the icon comes after
    SetWindowIcon(s.window);
}

void DestroyMainWindow() {
    HostState& s = S();
    sdlhost::DestroyDisplay();
    if (s.window) SDL_DestroyWindow(s.window);
    s.window = nullptr;
    s.windowExists = false;
    s.windowState = WindowState::Hidden;
    s.swallowReturnUp = false;
    s.granted = false;
    s.minimizeVerdictAt.reset();
}

bool SetMainWindowState(WindowState state) {
    bool granted = sdlhost::ChangeMainWindowState(state);
    sdlhost::DemoRecord().Answer(granted);
    return granted;
}

bool FocusMainWindow() {
    bool granted = sdlhost::FocusMainWindowNow();
    sdlhost::DemoRecord().Answer(granted);
    return granted;
}

} // namespace host

namespace sdlhost {

bool ChangeMainWindowState(host::WindowState state) {
    using host::WindowState;
    HostState& s = S();
    if (!s.windowExists) return false;
    s.windowState = state;
    s.granted = state == WindowState::Shown;
    s.minimizeVerdictAt.reset();
    SDL_Window* w = s.window;
    switch (state) {
    case WindowState::Shown:
        // As on a desktop, the newly shown window comes to the foreground.
        if (w && (SDL_GetWindowFlags(w) & SDL_WINDOW_MINIMIZED)) SDL_RestoreWindow(w);
        if (w) SDL_ShowWindow(w);
        if (w) SDL_RaiseWindow(w);
        return true;
    case WindowState::Minimized:
        if (w) {
            SDL_MinimizeWindow(w);
            s.minimizeVerdictAt = ClockMs() + kMinimizeVerdictMs;
        }
        return false;
    case WindowState::Hidden:
        if (w) SDL_HideWindow(w);
        return false;
    }
    return false;
}

bool FocusMainWindowNow() {
    HostState& s = S();
    if (!s.windowExists || s.windowState != host::WindowState::Shown) return false;
    if (!s.window) return true;
    Uint32 flags = SDL_GetWindowFlags(s.window);
    if (!(flags & SDL_WINDOW_SHOWN) || (flags & SDL_WINDOW_MINIMIZED)) return false;
    SDL_RaiseWindow(s.window);
    SDL_SetWindowInputFocus(s.window);
    s.granted = true;
    return true;
}

} // namespace sdlhost

namespace host {

void SetCursorVisible(bool visible) {
    HostState& s = S();
    s.cursorVisible = visible;
    if (s.video == Video::Ready) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

// The SDL host injects no faults: DirectDraw sees real conditions only.
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
