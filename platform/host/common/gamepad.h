// Game controllers as the game's keyboard: the d-pad and left stick hold the
// arrow keys, the south and west face buttons hold Ctrl, Start and Back are
// the P and Esc key commands. Also how keys held from the keyboard and from
// the pads (and an on-screen pad's touches) combine into the one
// asynchronous key table.
// The input core's pad mapping (input_core.h); it touches no host, so it
// is checked on its own.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "key_table.h"

namespace hostcommon {

// The controls of a standard controller that the game uses, by position
// (South is A on most pads, West is X).
enum class PadButton { South, West, Start, Back, DpadUp, DpadDown, DpadLeft, DpadRight, Other };
enum class PadAxis { LeftX, LeftY, Other };

// How far the stick must lean (of 32767) before it holds a direction.
constexpr int kStickDeadZone = 16000;

// The Win32 virtual-key codes that pads produce.
namespace padvk {
constexpr int kControl = 0x11, kEscape = 0x1B, kLeft = 0x25, kUp = 0x26, kRight = 0x27,
              kDown = 0x28, kP = 'P';
} // namespace padvk

// Every key a pad can hold: the ones the game polls with GetAsyncKeyState.
constexpr std::array<int, 5> kPadHeldKeys{padvk::kLeft, padvk::kUp, padvk::kRight, padvk::kDown,
                                          padvk::kControl};

// The connected pads' held controls, by SDL joystick instance id.
class Gamepads final {
  public:
    // A button of pad `pad` went down or up. Returns the key whose command a
    // press of Start ('P') or Back (VK_ESCAPE) gives, else 0: the host then
    // delivers that key as a press and release, the way the keyboard does.
    int Button(int32_t pad, PadButton button, bool down);
    // An axis of pad `pad` moved to `value` (-32768..32767, negative is
    // left or up).
    void Axis(int32_t pad, PadAxis axis, int value);
    // Pad `pad` was disconnected: what it held is let go.
    void Remove(int32_t pad);
    // Focus lost: everything held is forgotten until pressed or moved again.
    void Clear();
    // True while some pad holds `vk` (one of kPadHeldKeys).
    bool Holds(int vk) const;

  private:
    struct Pad {
        int32_t id = 0;
        uint32_t buttons = 0; // bit per PadButton
        int x = 0, y = 0;     // left stick
    };
    Pad& Find(int32_t pad);
    static bool PadHolds(const Pad& pad, int vk);
    std::vector<Pad> pads_;
};

// Where a held key comes from: the keyboard, the game controllers, or an
// on-screen pad's touches.
enum class KeySource { Keyboard, Pad, Touch };

// The asynchronous key table fed by several sources: a key is down while
// any source holds it, so letting go of a direction on the pad leaves the
// same arrow still held on the keyboard down, and the other way round.
class KeySources final {
  public:
    // `source` pressed (or auto-repeated) `vk`: the table records a press.
    void Press(KeySource source, int vk, host::KeyTable& table);
    // `source` let go of `vk`: the table lets go once no source holds it.
    void Release(KeySource source, int vk, host::KeyTable& table);
    // Focus lost: no source holds anything, and the table is cleared.
    void ReleaseAll(host::KeyTable& table);
    bool Holds(KeySource source, int vk) const;

  private:
    static constexpr int kSources = 3;
    std::array<std::array<bool, 256>, kSources> held_{};
};

// Brings the pad's share of `sources` in line with what `pads` hold: keys
// newly held are pressed, keys no longer held released. Called after every
// pad event; it never produces key messages, since the game polls these keys.
void SyncPadKeys(const Gamepads& pads, KeySources& sources, host::KeyTable& table);

} // namespace hostcommon
