// The SDL host's own dealings with Xlib, where SDL runs on X11: the end of
// the process when the connection to the X server is lost, and the keyboard
// focus of the message boxes that SDL shows from a child process of its own.
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "sdl_host.h"
#include <SDL_syswm.h>

namespace {

using XErrorHandlerFn = int (*)(Display*, XErrorEvent*);

// The helper thread's own connection while it looks for a box.
std::atomic<Display*> boxDisplay{nullptr};
XErrorHandlerFn previousErrorHandler = nullptr;

// Xlib's default handler for a lost connection calls exit(); the exit-time
// handlers then call SDL, which waits on the dead connection for ever. This
// one says so and ends the process without them. Only async-signal-safe
// calls: it may run in the child of a message box too.
int OnConnectionLost(Display* display) {
    if (!sdlhost::InMessageBoxChild()) {
        const char* name = display ? DisplayString(display) : nullptr;
        sdlhost::WriteToStderr("sdl: lost the connection to the display");
        if (name && *name) {
            sdlhost::WriteToStderr(" ");
            sdlhost::WriteToStderr(name);
        }
        sdlhost::WriteToStderr("\n");
    }
    _exit(1);
}

// The helper looks at other clients' windows, which may go away while it
// looks: those errors on its own connection are expected and dropped. Every
// other error goes where it went before (SDL's handler, then Xlib's).
int OnProtocolError(Display* display, XErrorEvent* error) {
    if (display && display == boxDisplay.load()) return 0;
    return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

bool IsViewableBoxOf(Display* display, Window window, Window owner) {
    Window transientFor = 0;
    if (!XGetTransientForHint(display, window, &transientFor) || transientFor != owner) return false;
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// The box is a top-level window marked transient for the owner: a child of
// the root, or of a window manager's frame one level down.
Window FindBox(Display* display, Window owner) {
    Window root = DefaultRootWindow(display), parent = 0, *tops = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &root, &parent, &tops, &count)) return 0;
    Window found = 0;
    for (unsigned int i = count; i-- > 0 && !found;) { // topmost first
        if (IsViewableBoxOf(display, tops[i], owner)) {
            found = tops[i];
            break;
        }
        Window* inner = nullptr;
        unsigned int innerCount = 0;
        if (!XQueryTree(display, tops[i], &root, &parent, &inner, &innerCount)) continue;
        for (unsigned int j = 0; j < innerCount && !found; j++)
            if (IsViewableBoxOf(display, inner[j], owner)) found = inner[j];
        if (inner) XFree(inner);
    }
    if (tops) XFree(tops);
    return found;
}

struct BoxFocus {
    std::thread watcher;
    std::atomic<bool> stop{false};
    std::atomic<bool> moved{false};
    Window owner = 0;
    SDL_Window* ownerWindow = nullptr;
};

// Never destroyed: a process that ends inside a box must not run a
// thread's destructor.
BoxFocus& Box() {
    static BoxFocus* box = new BoxFocus;
    return *box;
}

// Looks for the box every 20 ms for up to five seconds (it appears within
// milliseconds; a box that never appears must not keep the thread). Where
// a window manager has already handed the focus on, it is left alone.
void WatchForBox(Display* display, Window owner) {
    BoxFocus& box = Box();
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!box.stop && std::chrono::steady_clock::now() < giveUp) {
        if (Window found = FindBox(display, owner)) {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(display, &focus, &revert);
            if (focus == owner) {
                XSetInputFocus(display, found, RevertToParent, CurrentTime);
                XSync(display, False);
                box.moved = true;
            }
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

namespace sdlhost {

void WatchDisplayConnection() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    static bool installed = false;
    if (installed) return;
    installed = true;
    XSetIOErrorHandler(OnConnectionLost);
    previousErrorHandler = XSetErrorHandler(OnProtocolError);
}

void StartBoxFocus(SDL_Window* owner) {
    BoxFocus& box = Box();
    if (!owner || box.watcher.joinable()) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(owner, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // A connection of its own: SDL's is not the helper's to use.
    Display* display = XOpenDisplay(DisplayString(info.info.x11.display));
    if (!display) return;
    boxDisplay = display;
    box.stop = false;
    box.moved = false;
    box.owner = info.info.x11.window;
    box.ownerWindow = owner;
    box.watcher = std::thread(WatchForBox, display, box.owner);
}

void StopBoxFocus() {
    BoxFocus& box = Box();
    if (!box.watcher.joinable()) return;
    box.stop = true;
    box.watcher.join();
    if (Display* display = boxDisplay.load()) XCloseDisplay(display);
    boxDisplay = nullptr;
    // The owner had the focus before its box took it.
    if (box.moved) SDL_SetWindowInputFocus(box.ownerWindow);
    box.moved = false;
    box.ownerWindow = nullptr;
}

} // namespace sdlhost
