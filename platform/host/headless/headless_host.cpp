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

// An event for the program, or a change of the key table made on the way.
struct Queued {
    host::Event event;
    bool keyChange = false;
    headless::KeyChange change = headless::KeyChange::Press;
};

struct State {
    Clock clock;
    host::KeyTable keys;
    std::deque<Queued> events;
    bool tableFollowsEvents = true;
    std::function<uint32_t()> tickSource;
    std::function<bool(int32_t*)> answerSource;

    bool windowExists = false;
    std::string windowTitle;
    host::WindowState windowState = host::WindowState::Hidden;
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

void Queue(host::Event event) { S().events.push_back({event}); }

void ApplyKeyChange(const Queued& q) {
    host::KeyTable& keys = S().keys;
    switch (q.change) {
    case headless::KeyChange::Press: keys.Press(q.event.vk); break;
    case headless::KeyChange::Release: keys.Release(q.event.vk); break;
    case headless::KeyChange::ReleaseAll: keys.ReleaseAll(); break;
    }
}

// The recorded answer when one is being replayed, else the host's own.
template <typename T> T Answer(T own) {
    int32_t recorded = 0;
    if (S().answerSource && S().answerSource(&recorded)) return static_cast<T>(recorded);
    return own;
}

bool HasEvent() {
    for (const Queued& q : S().events)
        if (!q.keyChange) return true;
    return false;
}

} // namespace

namespace host {

uint32_t TickCount() { return S().tickSource ? S().tickSource() : S().clock.Now(); }

KeyTable& Keys() { return S().keys; }

bool PollEvent(Event& event) {
    State& s = S();
    while (!s.events.empty() && s.events.front().keyChange) {
        ApplyKeyChange(s.events.front());
        s.events.pop_front();
    }
    if (s.events.empty()) return false;
    event = s.events.front().event;
    s.events.pop_front();
    if (s.tableFollowsEvents) {
        if (event.kind == EventKind::KeyDown) s.keys.Press(event.vk);
        if (event.kind == EventKind::KeyUp) s.keys.Release(event.vk);
        if (event.kind == EventKind::Deactivate) s.keys.ReleaseAll();
    }
    // Switching back to a minimized application restores its window.
    if (event.kind == EventKind::Activate && s.windowState == WindowState::Minimized) s.windowState = WindowState::Shown;
    return true;
}

void WaitEvent() {
    State& s = S();
    if (!HasEvent() && s.waitHook) s.waitHook();
    if (!HasEvent()) {
        std::fprintf(stderr, "headless: GetMessageA waits on an empty queue and nothing can wake it\n");
        std::abort();
    }
}

bool OnIdlePeek() {
    State& s = S();
    if (!s.idleHook) return false;
    size_t before = s.events.size();
    s.idleHook();
    return s.events.size() != before;
}

void BeforeEvents() {
    if (S().pumpHook) S().pumpHook();
}

void CreateMainWindow(const char* title, int, int) {
    State& s = S();
    s.windowExists = true;
    s.windowTitle = title ? title : "";
    s.windowState = WindowState::Hidden;
}

void DestroyMainWindow() {
    State& s = S();
    s.windowExists = false;
    s.windowState = WindowState::Hidden;
}

bool SetMainWindowState(WindowState state) {
    State& s = S();
    if (!s.windowExists) return Answer(false);
    s.windowState = state;
    return Answer(state == WindowState::Shown);
}

bool FocusMainWindow() {
    State& s = S();
    return Answer(s.windowExists && s.windowState == WindowState::Shown);
}

void SetCursorVisible(bool visible) { S().cursorVisible = visible; }

bool SetDisplayMode(int width, int height, int bpp) {
    State& s = S();
    if (!Answer(width == 640 && height == 480 && bpp == 8)) return false;
    s.modeSet = true;
    s.bpp = bpp;
    return true;
}

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

int ShowMessageBox(const void* owner, const char* caption, const char* text, unsigned type) {
    State& s = S();
    s.boxes.push_back({owner, caption ? caption : "", text ? text : "", type});
    return Answer(s.boxAnswer);
}

// The headless host records no demos: the runner's scripts and demos are its input.
void NoteFileOpened(const char*) {}

} // namespace host

namespace headless {

void Reset() {
    State& s = S();
    s = State{};
    hostcommon::faults::Clear();
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
    if (down)
        S().keys.Press(vk);
    else
        S().keys.Release(vk);
}

void ReleaseAllKeys() { S().keys.ReleaseAll(); }

void PressKey(int vk, bool alt) {
    QueueKeyDown(vk, false, alt);
    QueueKeyUp(vk, alt);
}

void QueueKeyDown(int vk, bool repeat, bool alt) { Queue({host::EventKind::KeyDown, vk, repeat, alt}); }

void QueueKeyUp(int vk, bool alt) { Queue({host::EventKind::KeyUp, vk, false, alt}); }

void Activate() { Queue({host::EventKind::Activate}); }

void Deactivate() { Queue({host::EventKind::Deactivate}); }

void Close() { Queue({host::EventKind::Close}); }

bool MainWindowExists() { return S().windowExists; }

std::string MainWindowTitle() { return S().windowTitle; }

host::WindowState MainWindowState() { return S().windowState; }

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

void SetTickSource(std::function<uint32_t()> source) { S().tickSource = std::move(source); }

void SetAnswerSource(std::function<bool(int32_t*)> source) { S().answerSource = std::move(source); }

void QueueKeyChange(KeyChange change, int vk) {
    Queued q{{host::EventKind::KeyDown, vk}, true, change};
    S().events.push_back(q);
}

void SetKeyTableFollowsEvents(bool follows) { S().tableFollowsEvents = follows; }

} // namespace headless
