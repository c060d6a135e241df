// Gamepad API samples to the shared pad mapping.
#include "web_pads.h"

#include <cmath>

namespace webhost {

namespace {

constexpr int kButtons = 17; // the standard layout's, the home button last

} // namespace

hostcommon::PadButton PadButtonFromStandard(int index) {
    using hostcommon::PadButton;
    switch (index) {
    case 0: return PadButton::South;
    case 2: return PadButton::West;
    case 8: return PadButton::Back;
    case 9: return PadButton::Start;
    case 12: return PadButton::DpadUp;
    case 13: return PadButton::DpadDown;
    case 14: return PadButton::DpadLeft;
    case 15: return PadButton::DpadRight;
    default: return PadButton::Other;
    }
}

int StickValue(double axis) {
    if (!(axis == axis)) return 0; // NaN
    if (axis <= -1.0) return -32768;
    if (axis >= 1.0) return 32767;
    return static_cast<int>(std::lround(axis * (axis < 0 ? 32768.0 : 32767.0)));
}

void WebPads::Update(int index, const PadSample& now, hostcommon::Gamepads& pads,
                     std::vector<int>& commands) {
    if (index < 0 || index >= kMaxPads) return;
    PadSample& last = last_[index];
    if (!now.connected) {
        if (last.connected) pads.Remove(index);
        last = PadSample{};
        return;
    }
    for (int b = 0; b < kButtons; b++) {
        uint32_t bit = uint32_t{1} << b;
        if ((now.buttons & bit) == (last.buttons & bit)) continue;
        int command = pads.Button(index, PadButtonFromStandard(b), (now.buttons & bit) != 0);
        if (command) commands.push_back(command);
    }
    int x = StickValue(now.axisX), y = StickValue(now.axisY);
    if (!last.connected || x != StickValue(last.axisX))
        pads.Axis(index, hostcommon::PadAxis::LeftX, x);
    if (!last.connected || y != StickValue(last.axisY))
        pads.Axis(index, hostcommon::PadAxis::LeftY, y);
    last = now;
}

} // namespace webhost
