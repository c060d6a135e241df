// A live game's record, item by item.
#include "demo_recorder.h"

namespace hostcommon {

void DemoRecorder::Pump() {
    lastPumpAt_ = body_.size();
    passes_++;
    Add({DemoOp::Pump});
}

void DemoRecorder::Tick(uint32_t value) {
    Add({DemoOp::Tick, 0, false, false, value});
}

void DemoRecorder::Event(const host::Event& event) {
    switch (event.kind) {
    case host::EventKind::KeyDown:
        Add({DemoOp::KeyDown, event.vk, event.repeat, event.alt});
        break;
    case host::EventKind::KeyUp:
        Add({DemoOp::KeyUp, event.vk, false, event.alt});
        break;
    case host::EventKind::Activate:
        Add({DemoOp::Activate});
        break;
    case host::EventKind::Deactivate:
        Add({DemoOp::Deactivate});
        break;
    case host::EventKind::Close:
        Add({DemoOp::Close});
        break;
    }
}

void DemoRecorder::Answer(int32_t value) {
    Add({DemoOp::Answer, 0, false, false, static_cast<uint32_t>(value)});
}

void DemoRecorder::OnKeyPressed(int vk) {
    Add({DemoOp::KeyPress, vk});
}

void DemoRecorder::OnKeyReleased(int vk) {
    Add({DemoOp::KeyRelease, vk});
}

void DemoRecorder::OnAllKeysReleased() {
    Add({DemoOp::KeyReleaseAll});
}

bool DemoRecorder::File(const DemoSheet& sheet, Extent extent, std::vector<uint8_t>& file,
                        uint32_t& passes, std::string& error) const {
    bool cut = extent == Extent::CompletedPasses && passes_ > 0;
    size_t size = cut ? lastPumpAt_ : body_.size();
    passes = cut ? passes_ - 1 : passes_;
    if (size > kDemoMaxBodyBytes) {
        error = "the game has run too long to be kept as one demo";
        return false;
    }
    std::vector<uint8_t> body(body_.begin(), body_.begin() + static_cast<ptrdiff_t>(size));
    file = WriteDemoFile(sheet, passes, body);
    return true;
}

} // namespace hostcommon
