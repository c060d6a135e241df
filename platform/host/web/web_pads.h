// Game controllers through the browser's Gamepad API. The API is polled:
// the host samples every pad at each pump and this turns the difference
// from the previous sample into the presses, releases and stick moves that
// the shared pad mapping (gamepad.h) understands, with the SDL host's
// mapping: d-pad or left stick steers, A/X fires, Start pauses, Back quits.
// Nothing here touches the browser, so it is checked on its own.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gamepad.h"

namespace webhost {

// One sample of one pad as the Gamepad API reports it, buttons in the
// "standard" layout's order (0 A, 2 X, 8 Back, 9 Start, 12..15 d-pad).
struct PadSample {
    bool connected = false;
    uint32_t buttons = 0; // bit i: button i is pressed
    double axisX = 0.0;   // left stick, -1 (left) .. 1 (right)
    double axisY = 0.0;   // left stick, -1 (up) .. 1 (down)
};

// The shared mapping's name for the standard layout's button `index`.
hostcommon::PadButton PadButtonFromStandard(int index);

// A stick position of -1..1 on the scale of the shared mapping
// (-32768..32767), clamped; NaN counts as centred.
int StickValue(double axis);

class WebPads final {
  public:
    static constexpr int kMaxPads = 4;

    // Takes a new sample of pad `index` (0..kMaxPads-1; others are
    // ignored) and feeds what changed into `pads`. Appends the keys whose
    // command a press made (P for Start, VK_ESCAPE for Back) to `commands`.
    // A pad that went away lets go of everything it held.
    void Update(int index, const PadSample& now, hostcommon::Gamepads& pads, std::vector<int>& commands);

  private:
    std::array<PadSample, kMaxPads> last_{};
};

} // namespace webhost
