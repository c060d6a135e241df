// A demo's passes as the web host's queue of events and key changes.
#include "web_playback.h"

namespace webhost {

namespace {

using hostcommon::DemoItem;
using hostcommon::DemoOp;

void ApplyKeyChange(const DemoItem& item, host::KeyTable& keys) {
    switch (item.op) {
    case DemoOp::KeyPress: keys.Press(item.vk); break;
    case DemoOp::KeyRelease: keys.Release(item.vk); break;
    case DemoOp::KeyReleaseAll: keys.ReleaseAll(); break;
    default: break;
    }
}

host::Event EventOf(const DemoItem& item) {
    switch (item.op) {
    case DemoOp::KeyDown: return {host::EventKind::KeyDown, item.vk, item.repeat, item.alt};
    case DemoOp::KeyUp: return {host::EventKind::KeyUp, item.vk, false, item.alt};
    case DemoOp::Activate: return {host::EventKind::Activate};
    case DemoOp::Deactivate: return {host::EventKind::Deactivate};
    default: return {host::EventKind::Close};
    }
}

} // namespace

void Playback::Queue(const hostcommon::DemoPlayer::Step& step) {
    for (const DemoItem& item : step.items) {
        bool keyChange = item.op == DemoOp::KeyPress || item.op == DemoOp::KeyRelease ||
                         item.op == DemoOp::KeyReleaseAll;
        if (keyChange || hostcommon::IsDemoEvent(item.op)) queue_.push_back(item);
    }
    if (step.ranOut) queue_.push_back({DemoOp::Close});
}

void Playback::OnPump() {
    Queue(player_.Pump());
}

void Playback::OnWait() {
    Queue(player_.Wait());
}

bool Playback::Poll(host::Event& event, host::KeyTable& keys) {
    while (!queue_.empty() && !hostcommon::IsDemoEvent(queue_.front().op)) {
        ApplyKeyChange(queue_.front(), keys);
        queue_.pop_front();
    }
    if (queue_.empty()) return false;
    event = EventOf(queue_.front());
    queue_.pop_front();
    return true;
}

bool Playback::HasEvent() const {
    for (const DemoItem& item : queue_)
        if (hostcommon::IsDemoEvent(item.op)) return true;
    return false;
}

int32_t Playback::Answer(int32_t own) {
    int32_t recorded = 0;
    return player_.NextAnswer(&recorded) ? recorded : own;
}

} // namespace webhost
