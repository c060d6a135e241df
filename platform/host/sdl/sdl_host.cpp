// The SDL host's lifecycle: SDL's lazy start-up and shutdown, the clock, the
// main window and its icon, and the cursor. Input lives in sdl_input.cpp and
// sdl_pads.cpp, the window's state in sdl_window.cpp, the display in
// sdl_display.cpp.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "host.h"
#include "host_core.h"
#include "native_host.h"
#include "sdl_demo.h"
#include "sdl_host.h"
#include "sdl_icon.h"

namespace {

enum class Video { NotStarted, Ready, Unavailable };

struct HostState {
    Video video = Video::NotStarted;
    bool windowExists = false; // recorded even when no SDL window could be made
    SDL_Window* window = nullptr;
    bool cursorVisible = true;
};

HostState& S() {
    static HostState state;
    return state;
}

// At exit: SDL gives the desktop back (and X11 its resources) only when quit.
void Shutdown() {
    HostState& s = S();
    sdlhost::CloseControllers();
    sdlhost::DestroyDisplay();
    if (s.window) SDL_DestroyWindow(s.window);
    s.window = nullptr;
    SDL_Quit();
    s.video = Video::Unavailable;
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

// The keys the input core reserves for the host.
void CarryOut(hostcommon::HostCommand command) {
    switch (command) {
    case hostcommon::HostCommand::ToggleFullScreen: sdlhost::ToggleWindowed(); break;
    case hostcommon::HostCommand::SaveDemo: sdlhost::SaveDemoOnKey(); break;
    case hostcommon::HostCommand::Screenshot: sdlhost::SaveScreenshotOfDisplay(); break;
    }
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
    InstallEndings();
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
        std::fprintf(stderr, "sdl: no display (only SDL's %s video driver)\n", SDL_GetCurrentVideoDriver());
        SDL_Quit();
        s.video = Video::Unavailable;
        return false;
    }
    s.video = Video::Ready;
    WatchDisplayConnection();
    StartControllers();
    hostcommon::Input().SetCommandHandler(CarryOut);
    SDL_StopTextInput(); // key events only; no text input or IME
    SDL_ShowCursor(s.cursorVisible ? SDL_ENABLE : SDL_DISABLE);
    std::atexit(Shutdown);
    return true;
}

bool VideoReady() {
    return S().video == Video::Ready;
}

SDL_Window* MainWindow() {
    return S().window;
}

bool MainWindowExists() {
    return S().windowExists;
}

uint32_t ClockMs() {
    static const auto origin = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - origin;
    // Truncation to 32 bits is the wrap at 2^32 that GetTickCount has.
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

bool MainWindowIsUp() {
    SDL_Window* window = S().window;
    if (!window) return false;
    Uint32 flags = SDL_GetWindowFlags(window);
    return (flags & SDL_WINDOW_SHOWN) && !(flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
}

bool MainWindowHasFocus() {
    return S().window && (SDL_GetWindowFlags(S().window) & SDL_WINDOW_INPUT_FOCUS);
}

} // namespace sdlhost

namespace native {

// The program's reads of the clock go through the demo layer, which records
// them; the host's own (the minimize verdict) use sdlhost::ClockMs.
uint32_t TickCount() {
    return sdlhost::ClockMs();
}

// A person plays: every game is recorded, for F9 and QV_DEMO.
bool RecordsDemos() {
    return true;
}

} // namespace native

namespace host {

void CreateMainWindow(const char* title, int width, int height) {
    HostState& s = S();
    if (s.windowExists) DestroyMainWindow();
    s.windowExists = true;
    hostcommon::Input().WindowReset();
    if (!sdlhost::EnsureVideo()) return;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        width = 640; // CW_USEDEFAULT and the like: the emulated display's size
        height = 480;
    }
    s.window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
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
    hostcommon::Input().WindowReset();
}

void SetCursorVisible(bool visible) {
    HostState& s = S();
    s.cursorVisible = visible;
    if (s.video == Video::Ready) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace host
