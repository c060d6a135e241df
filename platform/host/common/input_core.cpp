// The hosts' input core: keys, pads, touch, activation and the one queue.
#include "input_core.h"

namespace hostcommon {

namespace {

constexpr int kVkF9 = vk::kF1 + 8;

// The keys an on-screen pad's controls hold, releases looked at first.
struct TouchKey {
    unsigned bit;
    VirtualKey key;
};
constexpr TouchKey kTouchKeys[] = {
    {touch::kLeft, {vk::kLeft}}, {touch::kUp, {vk::kUp}},
    {touch::kRight, {vk::kRight}}, {touch::kDown, {vk::kDown}},
    {touch::kFire, {vk::kControl, vk::kLControl}},
};

} // namespace

bool InputCore::Reserved(VirtualKey key, bool repeat, bool alt) {
    HostCommand command;
    if (key.vk == vk::kSnapshot) {
        command = HostCommand::Screenshot; // a picture of the screen, never a key for the program
    } else if (key.vk == kVkF9) {
        command = HostCommand::SaveDemo;
    } else if (key.vk == vk::kReturn && alt) {
        command = HostCommand::ToggleFullScreen;
        swallowReturnUp_ = true;
    } else {
        return false;
    }
    if (!repeat && command_) command_(command);
    return true;
}

InputCore::KeyFate InputCore::KeyDown(VirtualKey key, bool repeat, bool alt, Reach reach) {
    return SourceKeyDown(Moves::Keyboard, key, repeat, alt, reach);
}

InputCore::KeyFate InputCore::KeyUp(VirtualKey key, bool alt) {
    return SourceKeyUp(Moves::Keyboard, key, alt);
}

InputCore::KeyFate InputCore::SourceKeyDown(Moves moves, VirtualKey key, bool repeat, bool alt, Reach reach) {
    if (!live_) return key.vk == vk::kReturn && alt && Reserved(key, repeat, alt) ? KeyFate::Host : KeyFate::Ignored;
    if (!repeat && UserInput(reach)) return KeyFate::Host; // a key that restores the game is not the game's
    if (key.vk == 0 || !activation_.Active()) return KeyFate::Ignored;
    if (Reserved(key, repeat, alt)) return KeyFate::Host;
    Queue({host::EventKind::KeyDown, key.vk, repeat, alt}, moves, key);
    return KeyFate::Program;
}

InputCore::KeyFate InputCore::SourceKeyUp(Moves moves, VirtualKey key, bool alt) {
    if (key.vk == 0) return KeyFate::Ignored;
    if (key.vk == vk::kReturn && swallowReturnUp_) {
        swallowReturnUp_ = false;
        return KeyFate::Host;
    }
    if (!live_) return KeyFate::Ignored;
    if (key.vk == vk::kSnapshot || key.vk == kVkF9) return KeyFate::Host;
    if (!activation_.Active()) return KeyFate::Ignored;
    // Windows reports the release of Alt itself as WM_SYSKEYUP.
    Queue({host::EventKind::KeyUp, key.vk, false, alt || key.vk == vk::kMenu}, moves, key);
    return KeyFate::Program;
}

// Letting go first, so a finger sliding from one direction to the next
// releases the old arrow before it presses the new one. A press the program
// did not take (inactive, or taken to restore the window) is tried again at
// the next change while the control is still held.
void InputCore::TouchHold(unsigned held, Reach reach) {
    for (const TouchKey& t : kTouchKeys) {
        if ((held & t.bit) || !(touchHeld_ & t.bit)) continue;
        touchHeld_ &= ~t.bit;
        SourceKeyUp(Moves::Touch, t.key, false);
    }
    for (const TouchKey& t : kTouchKeys) {
        if (!(held & t.bit) || (touchHeld_ & t.bit)) continue;
        if (SourceKeyDown(Moves::Touch, t.key, false, false, reach) == KeyFate::Program) touchHeld_ |= t.bit;
    }
}

InputCore::KeyFate InputCore::TouchPress(int vkCode, Reach reach) {
    VirtualKey key{vkCode};
    KeyFate fate = SourceKeyDown(Moves::Touch, key, false, false, reach);
    if (fate == KeyFate::Program) SourceKeyUp(Moves::Touch, key, false);
    return fate;
}

// The arrows and Ctrl a pad holds go straight into the key table, with no
// key messages: the game polls them. Start and Back become a key press and
// release, queued for the program like the keyboard's.
void InputCore::PadsChanged(const std::vector<int>& commands) {
    if (!live_) return;
    SyncPadKeys(pads_, sources_, keys_);
    for (int command : commands) {
        Queue({host::EventKind::KeyDown, command}, Moves::Pad, {command});
        Queue({host::EventKind::KeyUp, command}, Moves::Pad, {command});
    }
}

void InputCore::PadButton(int32_t pad, hostcommon::PadButton button, bool down) {
    int command = pads_.Button(pad, button, down);
    PadsChanged(command ? std::vector<int>{command} : std::vector<int>{});
}

void InputCore::PadAxis(int32_t pad, hostcommon::PadAxis axis, int value) {
    pads_.Axis(pad, axis, value);
    PadsChanged();
}

void InputCore::PadRemoved(int32_t pad) {
    pads_.Remove(pad);
    PadsChanged();
}

void InputCore::Queue(Activation::Change change) {
    if (!live_) return;
    if (change == Activation::Change::Activate) Queue({host::EventKind::Activate});
    if (change == Activation::Change::Deactivate) Queue({host::EventKind::Deactivate});
}

bool InputCore::UserInput(Reach reach) {
    if (!live_ || reach == Reach::Elsewhere) return false;
    bool consumed = false;
    Queue(activation_.OnUserInput(reach == Reach::ShownWindow, consumed));
    return consumed;
}

void InputCore::Queue(const host::Event& event, Moves moves, VirtualKey key) {
    // What touch holds is forgotten now: a control still held after this
    // goes down again with the pad's next change, after the Deactivate.
    if (event.kind == host::EventKind::Deactivate && moves != Moves::None) touchHeld_ = 0;
    Item item;
    item.event = event;
    item.moves = moves;
    item.key = key;
    queue_.push_back(item);
}

void InputCore::QueueKeyChange(KeyChange change, int vk) {
    Item item;
    item.event.vk = vk;
    item.keyChange = true;
    item.change = change;
    queue_.push_back(item);
}

void InputCore::Apply(const Item& item) {
    int vk = item.event.vk;
    if (item.keyChange) {
        switch (item.change) {
        case KeyChange::Press: keys_.Press(vk); break;
        case KeyChange::Release: keys_.Release(vk); break;
        case KeyChange::ReleaseAll: keys_.ReleaseAll(); break;
        }
        return;
    }
    bool down = item.event.kind == host::EventKind::KeyDown;
    switch (item.event.kind) {
    case host::EventKind::KeyDown:
    case host::EventKind::KeyUp:
        if (item.moves == Moves::Keyboard || item.moves == Moves::Touch) {
            KeySource source = item.moves == Moves::Keyboard ? KeySource::Keyboard : KeySource::Touch;
            if (down)
                PressSourceKey(source, item.key, sources_, keys_);
            else
                ReleaseSourceKey(source, item.key, sources_, keys_);
        } else if (item.moves == Moves::Pad) {
            if (down)
                sources_.Press(KeySource::Pad, vk, keys_);
            else
                sources_.Release(KeySource::Pad, vk, keys_);
        } else if (item.moves == Moves::Direct) {
            if (down)
                keys_.Press(vk);
            else
                keys_.Release(vk);
        }
        break;
    case host::EventKind::Deactivate:
        // Held keys are forgotten when the application loses the foreground,
        // the pads' and touch's included.
        if (item.moves == Moves::None) break;
        sources_.ReleaseAll(keys_);
        pads_.Clear();
        break;
    default:
        break;
    }
}

bool InputCore::Take(host::Event& event) {
    while (!queue_.empty() && queue_.front().keyChange) {
        Apply(queue_.front());
        queue_.pop_front();
    }
    if (queue_.empty()) return false;
    Item item = queue_.front();
    queue_.pop_front();
    Apply(item);
    event = item.event;
    return true;
}

bool InputCore::HasEvent() const {
    for (const Item& item : queue_)
        if (!item.keyChange) return true;
    return false;
}

void InputCore::WindowReset() {
    swallowReturnUp_ = false;
    activation_.OnWindowHidden();
}

} // namespace hostcommon
