// Game controllers as the game's keyboard, and the key sources combined.
#include "gamepad.h"

#include <algorithm>

namespace hostcommon {

namespace {

uint32_t Bit(PadButton button) {
    return uint32_t{1} << static_cast<int>(button);
}

bool StickHolds(int value, int sign) {
    return sign < 0 ? value < -kStickDeadZone : value > kStickDeadZone;
}

} // namespace

Gamepads::Pad& Gamepads::Find(int32_t pad) {
    auto it = std::find_if(pads_.begin(), pads_.end(), [pad](const Pad& p) { return p.id == pad; });
    if (it != pads_.end()) return *it;
    pads_.push_back(Pad{pad});
    return pads_.back();
}

int Gamepads::Button(int32_t pad, PadButton button, bool down) {
    if (button == PadButton::Other) return 0;
    Pad& p = Find(pad);
    bool wasDown = (p.buttons & Bit(button)) != 0;
    if (down)
        p.buttons |= Bit(button);
    else
        p.buttons &= ~Bit(button);
    if (!down || wasDown) return 0;
    if (button == PadButton::Start) return padvk::kP;
    if (button == PadButton::Back) return padvk::kEscape;
    return 0;
}

void Gamepads::Axis(int32_t pad, PadAxis axis, int value) {
    if (axis == PadAxis::LeftX) Find(pad).x = value;
    if (axis == PadAxis::LeftY) Find(pad).y = value;
}

void Gamepads::Remove(int32_t pad) {
    std::erase_if(pads_, [pad](const Pad& p) { return p.id == pad; });
}

void Gamepads::Clear() {
    for (Pad& p : pads_) p = Pad{p.id};
}

bool Gamepads::PadHolds(const Pad& pad, int vk) {
    auto has = [&pad](PadButton b) { return (pad.buttons & Bit(b)) != 0; };
    switch (vk) {
    case padvk::kLeft: return has(PadButton::DpadLeft) || StickHolds(pad.x, -1);
    case padvk::kRight: return has(PadButton::DpadRight) || StickHolds(pad.x, +1);
    case padvk::kUp: return has(PadButton::DpadUp) || StickHolds(pad.y, -1);
    case padvk::kDown: return has(PadButton::DpadDown) || StickHolds(pad.y, +1);
    case padvk::kControl: return has(PadButton::South) || has(PadButton::West);
    default: return false;
    }
}

bool Gamepads::Holds(int vk) const {
    return std::any_of(pads_.begin(), pads_.end(), [vk](const Pad& p) { return PadHolds(p, vk); });
}

void KeySources::Press(KeySource source, int vk, host::KeyTable& table) {
    if (vk < 0 || vk >= 256) return;
    held_[static_cast<int>(source)][vk] = true;
    table.Press(vk);
}

void KeySources::Release(KeySource source, int vk, host::KeyTable& table) {
    if (vk < 0 || vk >= 256) return;
    held_[static_cast<int>(source)][vk] = false;
    for (const auto& held : held_)
        if (held[vk]) return;
    table.Release(vk);
}

void KeySources::ReleaseAll(host::KeyTable& table) {
    for (auto& held : held_) held.fill(false);
    table.ReleaseAll();
}

bool KeySources::Holds(KeySource source, int vk) const {
    return vk >= 0 && vk < 256 && held_[static_cast<int>(source)][vk];
}

void SyncPadKeys(const Gamepads& pads, KeySources& sources, host::KeyTable& table) {
    for (int vk : kPadHeldKeys) {
        bool want = pads.Holds(vk);
        if (want == sources.Holds(KeySource::Pad, vk)) continue;
        if (want)
            sources.Press(KeySource::Pad, vk, table);
        else
            sources.Release(KeySource::Pad, vk, table);
    }
}

} // namespace hostcommon
