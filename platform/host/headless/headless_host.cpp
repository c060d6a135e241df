// The headless host: no screen and no input devices. A desktop with a window
// manager is emulated for the one main window; the clock follows real time
// unless a test stops it; input, faults and frames go through the test controls.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "fault_registry.h"
#include "headless.h"
#include "host.h"
#include "host_core.h"
#include "native_host.h"

namespace {

struct Clock {
    bool stopped = false;
    uint32_t stoppedAt = 0;
    // Real-time mode: TickCount = elapsed milliseconds since `origin`.
    std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();

    uint32_t RealNow() const {
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - origin)
                           .count();
        return static_cast<uint32_t>(elapsed);
    }
    uint32_t Now() const { return stopped ? stoppedAt : RealNow(); }
};

struct State {
    Clock clock;
    bool windowExists = false;
    std::string windowTitle;
    bool cursorVisible = true;

    std::vector<headless::MessageBoxRecord> boxes;
    int boxAnswer = 1; // IDOK

    bool modeSet = false;
    int bpp = 0;
    headless::Frame screen;
    int flips = 0;


    std::function<void()> idleHook;
    std::function<void()> waitHook;
    std::function<void()> pumpHook;
};

State& S() {
    static State state;
    return state;
}

hostcommon::Activation& Window() { return hostcommon::Input().State(); }

// Queues an event that moves the key table the plain way: a key down
// presses its code, a key up releases it, a deactivation lets all go.
void Queue(host::Event event) { hostcommon::Input().Queue(event); }

} // namespace

// A desktop with a window manager and no person: showing the window gives
// it the focus, and only the test controls take it away.
namespace native {

uint32_t TickCount() { return S().clock.Now(); }

// The test controls queue their events straight into the input core.
void PumpEvents() {}

void WaitEvent() {
    State& s = S();
    if (s.waitHook) s.waitHook();
    if (!hostcommon::Input().HasEvent()) {
        std::fprintf(stderr, "headless: GetMessageA waits on an empty queue and nothing can wake it\n");
        std::abort();
    }
}

void BeforeEvents() {
    if (S().pumpHook) S().pumpHook();
}

bool SetMainWindowState(host::WindowState state) {
    if (!S().windowExists) return false;
    switch (state) {
    case host::WindowState::Shown: return Window().OnWindowShown(true);
    case host::WindowState::Minimized: Window().OnWindowMinimized(); break;
    case host::WindowState::Hidden: Window().OnWindowHidden(); break;
    }
    return false;
}

bool FocusMainWindow() { return S().windowExists && Window().OnFocusRequest(true); }

bool SetDisplayMode(int width, int height, int bpp) {
    State& s = S();
    if (width != 640 || height != 480 || bpp != 8) return false;
    s.modeSet = true;
    s.bpp = bpp;
    return true;
}

int ShowMessageBox(const void* owner, const char* caption, const char* text, unsigned type) {
    State& s = S();
    s.boxes.push_back({owner, caption ? caption : "", text ? text : "", type});
    return s.boxAnswer;
}

// The runner's scripts and demos are this host's input: it records nothing.
bool RecordsDemos() { return false; }

} // namespace native

namespace host {

bool OnIdlePeek() {
    State& s = S();
    if (!s.idleHook) return false;
    size_t before = hostcommon::Input().Pending();
    s.idleHook();
    return hostcommon::Input().Pending() != before;
}

void CreateMainWindow(const char* title, int, int) {
    State& s = S();
    s.windowExists = true;
    s.windowTitle = title ? title : "";
    hostcommon::Input().WindowReset();
}

void DestroyMainWindow() {
    S().windowExists = false;
    hostcommon::Input().WindowReset();
}

void SetCursorVisible(bool visible) { S().cursorVisible = visible; }

void RestoreDisplayMode() {
    S().modeSet = false;
    S().bpp = 0;
}

void Present(const uint8_t* pixels, int width, int height, int pitch, const PaletteEntry* palette, bool paced) {
    headless::Frame& frame = S().screen;
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(static_cast<size_t>(width) * height);
    if (pitch == width) {
        // Rows without gaps: one copy of the block, the common case of every flip.
        std::memcpy(frame.pixels.data(), pixels, frame.pixels.size());
    } else {
        for (int y = 0; y < height; y++)
            std::memcpy(&frame.pixels[static_cast<size_t>(y) * width], pixels + static_cast<ptrdiff_t>(y) * pitch, width);
    }
    std::memcpy(frame.palette.data(), palette, sizeof(PaletteEntry) * 256);
    if (paced) S().flips++;
}

} // namespace host

namespace headless {

void Reset() {
    State& s = S();
    s = State{};
    hostcommon::faults::Clear();
    hostcommon::Input().Reset();
    hostcommon::Demos().Reset();
}

void SetTickCount(uint32_t ms) {
    Clock& c = S().clock;
    c.stopped = true;
    c.stoppedAt = ms;
}

void AdvanceTickCount(uint32_t ms) {
    Clock& c = S().clock;
    if (!c.stopped) SetTickCount(c.RealNow());
    c.stoppedAt += ms;
}

void SetKeyDown(int vk, bool down) {
    host::KeyTable& keys = hostcommon::Input().Keys();
    if (down)
        keys.Press(vk);
    else
        keys.Release(vk);
}

void ReleaseAllKeys() { hostcommon::Input().Keys().ReleaseAll(); }

void PressKey(int vk, bool alt) {
    QueueKeyDown(vk, false, alt);
    QueueKeyUp(vk, alt);
}

void QueueKeyDown(int vk, bool repeat, bool alt) { Queue({host::EventKind::KeyDown, vk, repeat, alt}); }

void QueueKeyUp(int vk, bool alt) { Queue({host::EventKind::KeyUp, vk, false, alt}); }

// Switching back to a minimized application restores its window.
void Activate() {
    Window().OnPlatformRestored();
    Queue({host::EventKind::Activate});
}

void Deactivate() { Queue({host::EventKind::Deactivate}); }

void Close() { Queue({host::EventKind::Close}); }

bool MainWindowExists() { return S().windowExists; }

std::string MainWindowTitle() { return S().windowTitle; }

host::WindowState MainWindowState() {
    if (!S().windowExists || !Window().Shown()) return host::WindowState::Hidden;
    return Window().Minimized() ? host::WindowState::Minimized : host::WindowState::Shown;
}

bool CursorVisible() { return S().cursorVisible; }

const std::vector<MessageBoxRecord>& MessageBoxes() { return S().boxes; }

void SetMessageBoxAnswer(int button) { S().boxAnswer = button; }

bool DisplayModeSet() { return S().modeSet; }

int DisplayBitsPerPixel() { return S().bpp; }

const Frame& Screen() { return S().screen; }

int FlipCount() { return S().flips; }

void InjectFailure(const std::string& api, int32_t code, int count, int skip) {
    hostcommon::faults::Inject(api, code, count, skip);
}

void SetStillDrawing(int n) { hostcommon::faults::SetStillDrawing(n); }

void LoseAllSurfaces() { hostcommon::faults::LoseAllSurfaces(); }

void SetIdleHook(std::function<void()> hook) { S().idleHook = std::move(hook); }

void SetWaitHook(std::function<void()> hook) { S().waitHook = std::move(hook); }

void SetPumpHook(std::function<void()> hook) { S().pumpHook = std::move(hook); }

} // namespace headless
