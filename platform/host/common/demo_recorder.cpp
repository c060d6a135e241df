// A live game's record, item by item.
#include "demo_recorder.h"

namespace hostcommon {

void DemoRecorder::Pump() {
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

bool DemoRecorder::File(const DemoSheet& sheet, std::vector<uint8_t>& file, std::string& error) const {
    if (body_.size() > kDemoMaxBodyBytes) {
        error = "the game has run too long to be kept as one demo";
        return false;
    }
    file = WriteDemoFile(sheet, passes_, body_);
    return true;
}

} // namespace hostcommon
