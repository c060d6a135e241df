// The main window's state as the program asks for it: shown (brought to the
// front), minimized (the window manager may ignore that), hidden, focused.
// What that means for activation is the core's (activation.h).
#include "host_core.h"
#include "native_host.h"
#include "sdl_host.h"

namespace native {

bool SetMainWindowState(host::WindowState state) {
    if (!sdlhost::MainWindowExists()) return false;
    hostcommon::Activation& activation = hostcommon::Input().State();
    SDL_Window* w = sdlhost::MainWindow();
    switch (state) {
    case host::WindowState::Shown:
        // As on a desktop, the newly shown window comes to the foreground.
        if (w && (SDL_GetWindowFlags(w) & SDL_WINDOW_MINIMIZED)) SDL_RestoreWindow(w);
        if (w) SDL_ShowWindow(w);
        if (w) SDL_RaiseWindow(w);
        return activation.OnWindowShown(true);
    case host::WindowState::Minimized:
        if (w) SDL_MinimizeWindow(w);
        // Some window managers never carry it out (tiling ones, a bare X
        // server): the core has the host look again after a while.
        activation.OnWindowMinimized(w ? std::optional<uint32_t>(sdlhost::ClockMs()) : std::nullopt);
        return false;
    case host::WindowState::Hidden:
        if (w) SDL_HideWindow(w);
        activation.OnWindowHidden();
        return false;
    }
    return false;
}

bool FocusMainWindow() {
    if (!sdlhost::MainWindowExists()) return false;
    SDL_Window* w = sdlhost::MainWindow();
    // Without an SDL window (no display) the request is granted as asked.
    bool canTakeFocus = !w || sdlhost::MainWindowIsUp();
    hostcommon::Activation& activation = hostcommon::Input().State();
    if (!activation.OnFocusRequest(canTakeFocus)) return false;
    if (w) {
        SDL_RaiseWindow(w);
        SDL_SetWindowInputFocus(w);
    }
    return true;
}

} // namespace native
