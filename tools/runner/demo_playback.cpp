// A demo's items fed to the headless host pass by pass.
#include "demo_playback.h"

#include "headless.h"

using hostcommon::DemoItem;
using hostcommon::DemoOp;

DemoPlayback::DemoPlayback(const hostcommon::Demo& demo) {
    passes_.emplace_back();
    for (const DemoItem& item : demo.items) {
        switch (item.op) {
        case DemoOp::Pump: passes_.emplace_back(); break;
        case DemoOp::Tick: ticks_.push_back(item.value); break;
        case DemoOp::Answer: answers_.push_back(static_cast<int32_t>(item.value)); break;
        default: passes_.back().push_back(item); break;
        }
    }
}

void DemoPlayback::Install() {
    headless::SetKeyTableFollowsEvents(false);
    headless::SetTickSource([this] { return NextTick(); });
    headless::SetAnswerSource([this](int32_t* answer) { return NextAnswer(answer); });
}

uint32_t DemoPlayback::NextTick() {
    // A program that reads the clock more often than the live one did has
    // left the record: the clock then stands still.
    if (nextTick_ < ticks_.size()) lastTick_ = ticks_[nextTick_++];
    return lastTick_;
}

bool DemoPlayback::NextAnswer(int32_t* answer) {
    if (nextAnswer_ >= answers_.size()) return false;
    *answer = answers_[nextAnswer_++];
    return true;
}

bool DemoPlayback::LoadPass() {
    // What came before the first pass is taken with it.
    if (nextPass_ == 0) nextPass_ = 1;
    if (nextPass_ >= passes_.size()) return false;
    if (nextPass_ == 1) passes_[1].insert(passes_[1].begin(), passes_[0].begin(), passes_[0].end());
    for (const DemoItem& item : passes_[nextPass_]) {
        switch (item.op) {
        case DemoOp::KeyDown: headless::QueueKeyDown(item.vk, item.repeat, item.alt); break;
        case DemoOp::KeyUp: headless::QueueKeyUp(item.vk, item.alt); break;
        case DemoOp::Activate: headless::Activate(); break;
        case DemoOp::Deactivate: headless::Deactivate(); break;
        case DemoOp::Close: headless::Close(); break;
        case DemoOp::KeyPress: headless::QueueKeyChange(headless::KeyChange::Press, item.vk); break;
        case DemoOp::KeyRelease: headless::QueueKeyChange(headless::KeyChange::Release, item.vk); break;
        case DemoOp::KeyReleaseAll: headless::QueueKeyChange(headless::KeyChange::ReleaseAll); break;
        default: break;
        }
    }
    nextPass_++;
    return true;
}

void DemoPlayback::OnPump() {
    if (closed_) return;
    if (preloaded_) {
        preloaded_ = false;
        return;
    }
    if (!LoadPass()) Stop();
}

// The live program woke with the first pass that brought an event; passes
// between that brought none changed nothing it could see (it only waited),
// so they are taken together.
void DemoPlayback::OnWait() {
    if (closed_) return;
    bool event = false;
    size_t before = nextPass_;
    while (!event && LoadPass()) {
        for (const DemoItem& item : passes_[nextPass_ - 1])
            event = event || (item.op >= DemoOp::KeyDown && item.op <= DemoOp::Close);
    }
    preloaded_ = nextPass_ != before;
    if (!event) Stop();
}

void DemoPlayback::Stop() {
    if (closed_) return;
    closed_ = true;
    headless::Close();
}
