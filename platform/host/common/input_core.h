// The hosts' input core. A host turns its platform's native events into
// calls on this and hands the program what Take returns; the core decides
// what they mean for the program:
//   - the asynchronous key table, fed by the keyboard, the pads and an
//     on-screen pad's touches together;
//   - one ordered queue of events for the program and of key-table changes
//     (a demo's), each change made just before the event it came before;
//   - the keys reserved for the host (Alt+Enter, F9, PrintScreen), which never
//     reach the program, and the Alt release reported as a system key;
//   - pads' held keys and their Start and Back commands;
//   - an on-screen pad (a page's, on a phone): what its touches hold and its
//     command buttons, which go the keyboard's way;
//   - activation (activation.h): what focus, minimize and visibility mean,
//     and forgetting held keys when the application loses the foreground.
// Nothing here touches a host library: it is checked on its own.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "activation.h"
#include "gamepad.h"
#include "host.h"
#include "key_table.h"
#include "virtual_keys.h"

namespace hostcommon {

// What the reserved keys ask the host to do.
enum class HostCommand { ToggleFullScreen, SaveDemo, Screenshot };

// The controls of an on-screen pad, as bits of what it holds
// (InputCore::TouchHold): the four directions hold the arrow keys, fire
// holds Ctrl (as the left Ctrl key of a keyboard does).
namespace touch {
constexpr unsigned kLeft = 1, kUp = 2, kRight = 4, kDown = 8, kFire = 16;
constexpr unsigned kAll = kLeft | kUp | kRight | kDown | kFire;
} // namespace touch

// A change of the key table made on the way, as a demo records it.
enum class KeyChange { Press, Release, ReleaseAll };

class InputCore final {
  public:
    // What became of a key of the keyboard.
    enum class KeyFate {
        Program, // queued for the program
        Host,    // taken by the host (a reserved key, or a key that restored the window)
        Ignored, // not the program's now (no such key, or the application is inactive)
    };

    // The host's handler of reserved keys; run at once, as the key goes down.
    void SetCommandHandler(std::function<void(HostCommand)> handler) { command_ = std::move(handler); }

    host::KeyTable& Keys() { return keys_; }

    // False while a demo plays: the platform's input then never reaches the
    // program (Alt+Enter stays the host's); the record's does, through Queue.
    void SetLive(bool live) { live_ = live; }
    bool Live() const { return live_; }
    Activation& State() { return activation_; }

    // ---- Keyboard ----
    // Where a press of a key or a button landed: in the window while the
    // platform shows it, in the window while it is covered (a page's
    // minimized game), or somewhere that is not the window's.
    enum class Reach { ShownWindow, CoveredWindow, Elsewhere };

    // A key of the keyboard went down (repeat: an auto-repeat) or up, `alt`
    // while Alt is held. A fresh press in the window is user input first
    // (see UserInput). Keys reach the program only while it is active.
    KeyFate KeyDown(VirtualKey key, bool repeat, bool alt, Reach reach);
    KeyFate KeyUp(VirtualKey key, bool alt);

    // ---- Pads ----
    // The pads' held controls; after changing them, PadsChanged.
    Gamepads& Pads() { return pads_; }
    // Brings the table in line with what the pads hold, and queues each of
    // `commands` (Start's P, Back's Esc) as a key press and release.
    void PadsChanged(const std::vector<int>& commands = {});
    void PadButton(int32_t pad, hostcommon::PadButton button, bool down);
    void PadAxis(int32_t pad, hostcommon::PadAxis axis, int value);
    void PadRemoved(int32_t pad);

    // ---- Touch ----
    // An on-screen pad is one more source of the key table. Its keys go the
    // keyboard's way: each is a key press or release queued for the program
    // (reaching it only while it is active, a fresh press being user input
    // first, see UserInput), so the table holds them as it holds the
    // keyboard's and a demo records them as keys.
    // The pad now holds `held` (touch:: bits; others are ignored): each
    // control newly held goes down as its key, each let go goes up.
    void TouchHold(unsigned held, Reach reach);
    // A command button of the pad: `vk` goes down and up as a key of the
    // keyboard does (P pauses, VK_ESCAPE quits; F9 is the host's SaveDemo).
    KeyFate TouchPress(int vk, Reach reach);
    // What the pad holds as far as the program knows: the controls whose
    // press it took, until they are let go or focus loss forgets them.
    unsigned TouchHeld() const { return touchHeld_; }

    // ---- Activation ----
    // Queues the event a change of activation asks for (none for None, and
    // none while not live).
    void Queue(Activation::Change change);
    // A click or fresh key press reached the window (see
    // Activation::OnUserInput). True when it was taken to restore the window.
    bool UserInput(Reach reach);

    // ---- The queue ----
    // Queues an event. `key` is the key it moves in the table when taken
    // (Direct: the event's own code, as a test's scripted key does; None:
    // nothing, as in a demo's playback, whose key changes are queued apart).
    // A live Deactivate forgets what touch holds as it is queued; when taken
    // it lets every key go.
    enum class Moves { Keyboard, Pad, Touch, Direct, None };
    void Queue(const host::Event& event, Moves moves = Moves::Direct, VirtualKey key = {});
    void QueueKeyChange(KeyChange change, int vk = 0);
    // The next event, after the key-table changes queued before it are made;
    // the table follows the event itself (a Deactivate lets every key go).
    // False when no event is queued: the changes queued last are made then.
    bool Take(host::Event& event);
    bool HasEvent() const;
    // Events and changes queued, taken or not: grows when anything is queued.
    size_t Pending() const { return queue_.size(); }
    // Back to the start: no keys, nothing queued, no window, live input.
    void Reset() { *this = InputCore{}; }

    // The main window was created or destroyed: the window's state starts afresh.
    void WindowReset();

  private:
    struct Item {
        host::Event event;
        Moves moves = Moves::Direct;
        VirtualKey key;
        bool keyChange = false;
        KeyChange change = KeyChange::Press;
    };
    void Apply(const Item& item);
    bool Reserved(VirtualKey key, bool repeat, bool alt);
    // A key of the keyboard or of touch (`moves`) went down or up.
    KeyFate SourceKeyDown(Moves moves, VirtualKey key, bool repeat, bool alt, Reach reach);
    KeyFate SourceKeyUp(Moves moves, VirtualKey key, bool alt);

    host::KeyTable keys_;
    KeySources sources_;
    Gamepads pads_;
    Activation activation_;
    std::deque<Item> queue_;
    std::function<void(HostCommand)> command_;
    // The Enter of an Alt+Enter goes up unseen, like its going down.
    bool swallowReturnUp_ = false;
    bool live_ = true;
    unsigned touchHeld_ = 0; // touch:: bits whose key went down for the program
};

} // namespace hostcommon
