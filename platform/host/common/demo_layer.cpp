// Recording a live game and playing a demo back, at the host seam.
#include "demo_layer.h"

namespace hostcommon {

namespace {

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

void QueueDemoStep(const DemoPlayer::Step& step, InputCore& input) {
    using Moves = InputCore::Moves;
    for (const DemoItem& item : step.items) {
        switch (item.op) {
        case DemoOp::KeyPress: input.QueueKeyChange(KeyChange::Press, item.vk); break;
        case DemoOp::KeyRelease: input.QueueKeyChange(KeyChange::Release, item.vk); break;
        case DemoOp::KeyReleaseAll: input.QueueKeyChange(KeyChange::ReleaseAll); break;
        default:
            if (IsDemoEvent(item.op)) input.Queue(EventOf(item), Moves::None);
            break;
        }
    }
    if (step.ranOut) input.Queue({host::EventKind::Close}, Moves::None);
}

bool DemoLayer::Play(const Demo& demo) {
    if (mode_ != Mode::Undecided) return false;
    mode_ = Mode::Playing;
    player_ = std::make_unique<DemoPlayer>(demo);
    input_.SetLive(false);
    return true;
}

DemoLayer::Mode DemoLayer::Decide() {
    if (mode_ == Mode::Undecided) {
        mode_ = records_ ? Mode::Recording : Mode::Off;
        if (records_) live_ = std::make_unique<LiveDemo>(input_.Keys());
    }
    return mode_;
}

uint32_t DemoLayer::Tick(uint32_t own) {
    switch (Decide()) {
    case Mode::Playing: return player_->NextTick();
    case Mode::Recording: live_->Record().Tick(own); break;
    default: break;
    }
    return own;
}

int32_t DemoLayer::Answer(int32_t own) {
    switch (Decide()) {
    case Mode::Playing: {
        int32_t recorded = 0;
        return player_->NextAnswer(&recorded) ? recorded : own;
    }
    case Mode::Recording: live_->Record().Answer(own); break;
    default: break;
    }
    return own;
}

void DemoLayer::Event(const host::Event& event) {
    if (Decide() == Mode::Recording) live_->Record().Event(event);
}

void DemoLayer::Played(const DemoPlayer::Step& step, bool endedBefore, bool waited) {
    QueueDemoStep(step, input_);
    if (observer_) observer_(endedBefore, waited);
}

void DemoLayer::Pump() {
    switch (Decide()) {
    case Mode::Playing: {
        bool ended = player_->Ended();
        Played(player_->Pump(), ended, false);
        break;
    }
    case Mode::Recording: live_->Record().Pump(); break;
    default: break;
    }
}

void DemoLayer::Wait() {
    if (!Playing()) return;
    bool ended = player_->Ended();
    Played(player_->Wait(), ended, true);
}

bool DemoLayer::Stop() {
    if (!Playing() || !player_->Stop()) return false;
    input_.Queue({host::EventKind::Close}, InputCore::Moves::None);
    return true;
}

void DemoLayer::Reset() {
    mode_ = Mode::Undecided;
    live_.reset();
    player_.reset();
    observer_ = nullptr;
    input_.SetLive(true);
}

void DemoLayer::NoteFileOpened(const char* path) {
    if (LiveDemo* live = Live()) live->NoteFileOpened(path);
}

} // namespace hostcommon
