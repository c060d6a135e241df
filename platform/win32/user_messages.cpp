// USER32 messages: the thread's queue, the host events pumped into it,
// PeekMessageA, GetMessageA, PostMessageA, SendMessageA, DispatchMessageA
// and PostQuitMessage.
//
// Retrieval follows Windows' priorities: messages the program posted, then
// keyboard input, then WM_QUIT once PostQuitMessage set the quit flag (it
// is generated only when nothing else is waiting), then WM_PAINT for a
// window that has an update region (generated, never queued: it keeps
// coming until the window is validated).
#include <cstdint>
#include <deque>

#include "app_state.h"
#include "faults.h"
#include "host.h"
#include "user_windowing.h"

namespace {

using platform::user::LookupWindow;

// Windows' default limit of posted messages per queue.
constexpr size_t kMaxQueued = 10000;

struct MessageQueue {
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quit = false;
    int quitCode = 0;
};

MessageQueue& Queue() {
    static MessageQueue queue;
    return queue;
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}

// hWnd -1 (and 1, its older spelling) asks for thread messages only.
bool ThreadMessagesOnly(HWND filter) {
    auto value = reinterpret_cast<intptr_t>(filter);
    return value == -1 || value == 1;
}

bool FilterIsValid(HWND filter) {
    return !filter || ThreadMessagesOnly(filter) || LookupWindow(filter);
}

struct Filter {
    HWND hwnd;
    UINT first;
    UINT last;

    bool MatchesWindow(HWND target) const {
        if (!hwnd) return true;
        if (ThreadMessagesOnly(hwnd)) return target == nullptr;
        return target && platform::user::IsSelfOrDescendant(target, hwnd);
    }
    // 0, 0 means every message.
    bool MatchesRange(UINT message) const {
        return (first == 0 && last == 0) || (message >= first && message <= last);
    }
    bool Matches(const MSG& msg) const {
        return MatchesWindow(msg.hwnd) && MatchesRange(msg.message);
    }
};

bool TakeQueued(std::deque<MSG>& queue, const Filter& filter, bool remove, MSG* out) {
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!filter.Matches(*it)) continue;
        *out = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

// WM_QUIT ignores the message range but is a thread message: a filter on
// one window never sees it.
bool TakeQuit(const Filter& filter, bool remove, MSG* out) {
    MessageQueue& queue = Queue();
    if (!queue.quit || !filter.MatchesWindow(nullptr)) return false;
    *out = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
    if (remove) queue.quit = false;
    return true;
}

// WM_PAINT is never removed by retrieval: only validation ends it.
bool TakePaint(const Filter& filter, MSG* out) {
    if (!filter.MatchesRange(WM_PAINT)) return false;
    for (HWND hwnd : platform::user::AllWindows()) {
        platform::user::Window* window = LookupWindow(hwnd);
        if (!window || !window->needsPaint || !platform::user::IsDrawable(hwnd)) continue;
        if (!filter.MatchesWindow(hwnd)) continue;
        *out = MakeMessage(hwnd, WM_PAINT, 0, 0);
        return true;
    }
    return false;
}

bool Retrieve(const Filter& filter, bool remove, MSG* out) {
    MessageQueue& queue = Queue();
    return TakeQueued(queue.posted, filter, remove, out) ||
           TakeQueued(queue.input, filter, remove, out) || TakeQuit(filter, remove, out) ||
           TakePaint(filter, out);
}

// A keystroke goes to the focus window. With no focus window it goes to
// the active window as a system keystroke, as Alt and F10 always make one.
void DeliverKey(const host::Event& event) {
    if (event.vk <= 0 || event.vk > 0xFF) return;
    HWND focus = platform::user::FocusWindow();
    HWND target = focus ? focus : platform::user::ActiveWindow();
    if (!target) return;
    bool down = event.kind == host::EventKind::KeyDown;
    bool system = event.alt || event.vk == VK_F10 || !focus;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = platform::user::KeystrokeLParam(event.vk, down, event.repeat, event.alt);
    platform::user::PostInput(target, message, static_cast<WPARAM>(event.vk), lParam);
}

void HandleHostEvent(const host::Event& event) {
    switch (event.kind) {
    case host::EventKind::KeyDown:
    case host::EventKind::KeyUp:
        DeliverKey(event);
        break;
    case host::EventKind::Activate:
        platform::user::RestoreMainWindowForActivation();
        platform::SetAppActive(true);
        break;
    case host::EventKind::Deactivate:
        platform::SetAppActive(false);
        break;
    case host::EventKind::Close:
        // The close box posts WM_CLOSE; DefWindowProcA then destroys the window.
        if (HWND main = platform::user::MainWindow())
            platform::user::PostToQueue(main, WM_CLOSE, 0, 0);
        break;
    }
}

template <typename T> T Fail(DWORD error, T result) {
    SetLastError(error);
    return result;
}

} // namespace

namespace platform::user {

bool PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageQueue& queue = Queue();
    if (queue.posted.size() >= kMaxQueued) return false;
    queue.posted.push_back(MakeMessage(hwnd, message, wParam, lParam));
    return true;
}

// Input beyond the limit is lost, as a full queue loses keystrokes.
void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageQueue& queue = Queue();
    if (queue.input.size() < kMaxQueued)
        queue.input.push_back(MakeMessage(hwnd, message, wParam, lParam));
}

void ForgetMessagesFor(HWND hwnd) {
    MessageQueue& queue = Queue();
    std::erase_if(queue.posted, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
    std::erase_if(queue.input, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
}

void ResetQueue() {
    Queue() = MessageQueue{};
}

} // namespace platform::user

namespace platform {

void PumpHostEvents() {
    user::EnsureActivationBroadcaster();
    host::BeforeEvents();
    host::Event event;
    while (host::PollEvent(event))
        HandleHostEvent(event);
}

} // namespace platform

// PeekMessageA pumps the host's events, then looks for a message; with
// PM_REMOVE it takes it (WM_PAINT excepted). Nothing found: the host hears
// that the loop goes idle and FALSE is returned, unless the host queued
// events just then, which are taken and looked at once more. An hWnd that is not a
// window fails with ERROR_INVALID_WINDOW_HANDLE.
extern "C" BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                    UINT wRemoveMsg) {
    if (!lpMsg) return Fail(ERROR_NOACCESS, FALSE);
    if (!FilterIsValid(hWnd)) return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    platform::PumpHostEvents();
    if (!FilterIsValid(hWnd)) return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (Retrieve({hWnd, wMsgFilterMin, wMsgFilterMax}, (wRemoveMsg & PM_REMOVE) != 0, lpMsg))
        return TRUE;
    if (!host::OnIdlePeek()) return FALSE;
    // The host queued input while the loop was going idle: take it now.
    platform::PumpHostEvents();
    return Retrieve({hWnd, wMsgFilterMin, wMsgFilterMax}, (wRemoveMsg & PM_REMOVE) != 0, lpMsg) ? TRUE : FALSE;
}

// GetMessageA takes the next message, waiting on the host while there is
// none. 0 for WM_QUIT (wParam holds the exit code), -1 when hWnd is not a
// window (ERROR_INVALID_WINDOW_HANDLE), else nonzero.
extern "C" BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    int32_t code = 0;
    if (platform::InjectedFailure("GetMessageA", &code)) return Fail(static_cast<DWORD>(code), -1);
    if (!lpMsg) return Fail(ERROR_NOACCESS, -1);
    for (;;) {
        if (!FilterIsValid(hWnd)) return Fail(ERROR_INVALID_WINDOW_HANDLE, -1);
        platform::PumpHostEvents();
        if (!FilterIsValid(hWnd)) return Fail(ERROR_INVALID_WINDOW_HANDLE, -1);
        if (Retrieve({hWnd, wMsgFilterMin, wMsgFilterMax}, true, lpMsg))
            return lpMsg->message == WM_QUIT ? 0 : 1;
        host::WaitEvent();
    }
}

// PostMessageA queues a message and returns at once. NULL hWnd posts a
// thread message, HWND_BROADCAST posts to every top-level window. Fails with
// ERROR_INVALID_WINDOW_HANDLE for a handle that is not a window and with
// ERROR_NOT_ENOUGH_QUOTA when 10,000 messages are already waiting.
extern "C" BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    int32_t code = 0;
    if (platform::InjectedFailure("PostMessageA", &code))
        return Fail(static_cast<DWORD>(code), FALSE);
    if (hWnd == HWND_BROADCAST) {
        for (HWND top : platform::user::TopLevelWindows())
            if (!platform::user::PostToQueue(top, Msg, wParam, lParam))
                return Fail(ERROR_NOT_ENOUGH_QUOTA, FALSE);
        return TRUE;
    }
    if (hWnd && !LookupWindow(hWnd)) return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    if (!platform::user::PostToQueue(hWnd, Msg, wParam, lParam))
        return Fail(ERROR_NOT_ENOUGH_QUOTA, FALSE);
    return TRUE;
}

// SendMessageA calls the window procedure at once and returns its result;
// 0 with ERROR_INVALID_WINDOW_HANDLE when hWnd is not a window.
extern "C" LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    platform::user::Window* window = LookupWindow(hWnd);
    if (!window) return Fail<LRESULT>(ERROR_INVALID_WINDOW_HANDLE, 0);
    WNDPROC proc = window->proc;
    return proc(hWnd, Msg, wParam, lParam);
}

// DispatchMessageA hands a retrieved message to its window's procedure and
// returns the result. A thread message (no window) goes nowhere: 0.
extern "C" LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg) return Fail<LRESULT>(ERROR_NOACCESS, 0);
    if (!lpMsg->hwnd) return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

// PostQuitMessage sets the queue's quit flag: WM_QUIT with wParam =
// nExitCode comes once everything posted before it has been retrieved.
extern "C" void WINAPI PostQuitMessage(int nExitCode) {
    MessageQueue& queue = Queue();
    queue.quit = true;
    queue.quitCode = nExitCode;
}
