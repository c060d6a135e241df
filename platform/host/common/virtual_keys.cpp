// Modifier pairs and the keyboard's (and touch's) share of the key table.
#include "virtual_keys.h"

namespace hostcommon {

int OtherSide(int sided) {
    // The pairs are adjacent codes, left even and right odd.
    if (sided >= vk::kLShift && sided <= vk::kRMenu) return sided ^ 1;
    return 0;
}

void PressSourceKey(KeySource source, VirtualKey key, KeySources& sources, host::KeyTable& table) {
    sources.Press(source, key.vk, table);
    if (key.sided) sources.Press(source, key.sided, table);
}

void ReleaseSourceKey(KeySource source, VirtualKey key, KeySources& sources, host::KeyTable& table) {
    if (key.sided) {
        sources.Release(source, key.sided, table);
        // VK_CONTROL (and VK_SHIFT, VK_MENU) stays down while the other side is held.
        if (sources.Holds(source, OtherSide(key.sided))) return;
    }
    sources.Release(source, key.vk, table);
}

} // namespace hostcommon
