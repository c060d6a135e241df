// A demo's items split into passes, ticks and answers, handed out in order.
#include "demo_player.h"

namespace hostcommon {

bool IsDemoEvent(DemoOp op) {
    return op >= DemoOp::KeyDown && op <= DemoOp::Close;
}

DemoPlayer::DemoPlayer(const Demo& demo) {
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

bool DemoPlayer::LoadPass(std::vector<DemoItem>& items) {
    if (nextPass_ >= passes_.size()) return false;
    // What came before the first pass is taken with it.
    if (nextPass_ == 1) items.insert(items.end(), passes_[0].begin(), passes_[0].end());
    items.insert(items.end(), passes_[nextPass_].begin(), passes_[nextPass_].end());
    nextPass_++;
    return true;
}

DemoPlayer::Step DemoPlayer::Pump() {
    Step step;
    if (ended_) return step;
    if (preloaded_) {
        preloaded_ = false;
        return step;
    }
    if (!LoadPass(step.items)) step.ranOut = ended_ = true;
    return step;
}

DemoPlayer::Step DemoPlayer::Wait() {
    Step step;
    if (ended_) return step;
    bool event = false;
    size_t before = nextPass_;
    while (!event) {
        size_t from = step.items.size();
        if (!LoadPass(step.items)) break;
        for (size_t i = from; i < step.items.size(); i++) event = event || IsDemoEvent(step.items[i].op);
    }
    preloaded_ = nextPass_ != before;
    if (!event) step.ranOut = ended_ = true;
    return step;
}

bool DemoPlayer::Stop() {
    if (ended_) return false;
    ended_ = true;
    return true;
}

uint32_t DemoPlayer::NextTick() {
    if (nextTick_ < ticks_.size())
        lastTick_ = ticks_[nextTick_++];
    else
        lastTick_++; // past the record the clock runs on, so no wait on it can last for ever
    return lastTick_;
}

bool DemoPlayer::NextAnswer(int32_t* answer) {
    if (nextAnswer_ >= answers_.size()) return false;
    *answer = answers_[nextAnswer_++];
    return true;
}

uint32_t DemoPlayer::PassesPlayed() const {
    return static_cast<uint32_t>(nextPass_ - 1);
}

} // namespace hostcommon
