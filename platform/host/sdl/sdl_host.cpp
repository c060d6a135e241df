// The SDL host: SDL's lazy start-up and shutdown, the clock, the main
// window, and SDL's events translated into the host's key and
// window-manager events. The display lives in sdl_display.cpp.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "host.h"
#include "sdl_host.h"
#include "sdl_keys.h"

namespace {

enum class Video { NotStarted, Ready, Unavailable };

constexpr int kVkReturn = 0x0D;
constexpr int kVkMenu = 0x12;

struct HostState {
    Video video = Video::NotStarted;
    host::KeyTable keys;

    bool windowExists = false; // recorded even when no SDL window could be made
    SDL_Window* window = nullptr;
    host::WindowState windowState = host::WindowState::Hidden;
    bool cursorVisible = true;

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
    sdlhost::DestroyDisplay();
    if (s.window) SDL_DestroyWindow(s.window);
    s.window = nullptr;
    SDL_Quit();
    s.video = Video::Unavailable;
}

bool IsMainWindow(uint32_t windowId) {
    return S().window && windowId == SDL_GetWindowID(S().window);
}

void PressKey(sdlhost::VirtualKey key) {
    host::KeyTable& keys = S().keys;
    keys.Press(key.vk);
    if (key.sided) keys.Press(key.sided);
}

void ReleaseKey(sdlhost::VirtualKey key) {
    host::KeyTable& keys = S().keys;
    if (key.sided) {
        keys.Release(key.sided);
        // VK_CONTROL (and VK_SHIFT, VK_MENU) stays down while the other side is held.
        if (keys.IsDown(sdlhost::OtherSide(key.sided))) return;
    }
    keys.Release(key.vk);
}

bool TranslateKeyDown(const SDL_KeyboardEvent& k, host::Event& out) {
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
    // Held keys are forgotten when the application loses the foreground.
    S().keys.ReleaseAll();
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

bool Translate(const SDL_Event& e, host::Event& out) {
    switch (e.type) {
    case SDL_KEYDOWN:
        return TranslateKeyDown(e.key, out);
    case SDL_KEYUP:
        return TranslateKeyUp(e.key, out);
    case SDL_WINDOWEVENT:
        return TranslateWindowEvent(e.window, out);
    case SDL_QUIT:
        // With quit-on-last-window-close off, only a signal (Ctrl+C, SIGTERM) lands here.
        out = host::Event{host::EventKind::Close};
        return true;
    default:
        return false;
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

} // namespace

namespace sdlhost {

bool EnsureVideo() {
    HostState& s = S();
    if (s.video != Video::NotStarted) return s.video == Video::Ready;
    // Closing the window arrives as a window event only, never twice.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
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
    SDL_StopTextInput(); // key events only; no text input or IME
    SDL_ShowCursor(s.cursorVisible ? SDL_ENABLE : SDL_DISABLE);
    std::atexit(Shutdown);
    return true;
}

SDL_Window* MainWindow() {
    return S().window;
}

} // namespace sdlhost

namespace host {

uint32_t TickCount() {
    static const auto origin = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - origin;
    // Truncation to 32 bits is the wrap at 2^32 that GetTickCount has.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

KeyTable& Keys() {
    return S().keys;
}

bool PollEvent(Event& event) {
    if (!sdlhost::EnsureVideo()) return false;
    SDL_Event e;
    while (TakeSdlEvent(e))
        if (Translate(e, event)) return true;
    return false;
}

void WaitEvent() {
    HostState& s = S();
    if (s.pending) return;
    if (sdlhost::EnsureVideo()) {
        SDL_Event e;
        if (SDL_WaitEvent(&e) == 1) {
            s.pending = e;
            return;
        }
    }
    // Without a display nothing can ever arrive; sleeping keeps the caller's loop from spinning.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// Presentation is paced inside Present, so going idle needs nothing.
bool OnIdlePeek() { return false; }

void BeforeEvents() {}

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
    sdlhost::PrepareDisplay(s.window);
}

void DestroyMainWindow() {
    HostState& s = S();
    sdlhost::DestroyDisplay();
    if (s.window) SDL_DestroyWindow(s.window);
    s.window = nullptr;
    s.windowExists = false;
    s.windowState = WindowState::Hidden;
    s.swallowReturnUp = false;
}

bool SetMainWindowState(WindowState state) {
    HostState& s = S();
    if (!s.windowExists) return false;
    s.windowState = state;
    SDL_Window* w = s.window;
    switch (state) {
    case WindowState::Shown:
        // As on a desktop, the newly shown window comes to the foreground.
        if (w && (SDL_GetWindowFlags(w) & SDL_WINDOW_MINIMIZED)) SDL_RestoreWindow(w);
        if (w) SDL_ShowWindow(w);
        if (w) SDL_RaiseWindow(w);
        return true;
    case WindowState::Minimized:
        if (w) SDL_MinimizeWindow(w);
        return false;
    case WindowState::Hidden:
        if (w) SDL_HideWindow(w);
        return false;
    }
    return false;
}

bool FocusMainWindow() {
    HostState& s = S();
    if (!s.windowExists || s.windowState != WindowState::Shown) return false;
    if (!s.window) return true;
    Uint32 flags = SDL_GetWindowFlags(s.window);
    if (!(flags & SDL_WINDOW_SHOWN) || (flags & SDL_WINDOW_MINIMIZED)) return false;
    SDL_RaiseWindow(s.window);
    SDL_SetWindowInputFocus(s.window);
    return true;
}

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
