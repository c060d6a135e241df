// Modifier pairs and the keyboard's share of the key table.
#include "virtual_keys.h"

namespace hostcommon {

int OtherSide(int sided) {
    // The pairs are adjacent codes, left even and right odd.
    if (sided >= vk::kLShift && sided <= vk::kRMenu) return sided ^ 1;
    return 0;
}

void PressKeyboardKey(VirtualKey key, KeySources& sources, host::KeyTable& table) {
    sources.Press(KeySource::Keyboard, key.vk, table);
    if (key.sided) sources.Press(KeySource::Keyboard, key.sided, table);
}

void ReleaseKeyboardKey(VirtualKey key, KeySources& sources, host::KeyTable& table) {
    if (key.sided) {
        sources.Release(KeySource::Keyboard, key.sided, table);
        // VK_CONTROL (and VK_SHIFT, VK_MENU) stays down while the other side is held.
        if (sources.Holds(KeySource::Keyboard, OtherSide(key.sided))) return;
    }
    sources.Release(KeySource::Keyboard, key.vk, table);
}

} // namespace hostcommon
