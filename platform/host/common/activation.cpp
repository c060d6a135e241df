// The window's focus and state and the program's requests, as activation.
#include "activation.h"

namespace hostcommon {

Activation::Change Activation::Settle() {
    bool wanted = Wanted();
    if (wanted == active_) return Change::None;
    active_ = wanted;
    if (wanted) verdictAt_.reset();
    return wanted ? Change::Activate : Change::Deactivate;
}

Activation::Change Activation::OnFocus(bool focused) {
    focused_ = focused;
    if (!focused) restoring_ = false;
    return Settle();
}

Activation::Change Activation::OnVisible(bool visible) {
    visible_ = visible;
    if (!visible) restoring_ = false;
    return Settle();
}

Activation::Change Activation::OnPlatformMinimized() {
    verdictAt_.reset(); // carried out
    minimized_ = true;
    restoring_ = false;
    return Settle();
}

Activation::Change Activation::OnPlatformRestored() {
    if (!shown_) return Change::None;
    minimized_ = false;
    return Settle();
}

Activation::Change Activation::OnUserInput(bool windowUp, bool& consumed) {
    consumed = false;
    if (!shown_) return Change::None;
    if (windowUp) {
        if (active_) return Change::None;
        minimized_ = false;
        focused_ = visible_ = true;
        return Settle();
    }
    if (!minimized_) return Change::None;
    // Input reaches a window that has the focus, whatever the focus events said.
    focused_ = visible_ = true;
    consumed = true;
    if (restoring_) return Change::None;
    // The program restores its window when it hears of the activation.
    restoring_ = true;
    active_ = true;
    return Change::Activate;
}

bool Activation::OnWindowShown(bool takesFocus) {
    shown_ = true;
    minimized_ = false;
    restoring_ = false;
    verdictAt_.reset();
    if (takesFocus) focused_ = visible_ = true;
    active_ = Wanted();
    return active_;
}

void Activation::OnWindowMinimized(std::optional<uint32_t> now) {
    minimized_ = true;
    restoring_ = false;
    active_ = false;
    verdictAt_.reset();
    if (now) verdictAt_ = *now + kMinimizeVerdictMs;
}

void Activation::OnWindowHidden() {
    shown_ = false;
    minimized_ = false;
    restoring_ = false;
    active_ = false;
    verdictAt_.reset();
}

bool Activation::OnFocusRequest(bool canTakeFocus) {
    if (canTakeFocus && shown_ && !minimized_) {
        focused_ = visible_ = true;
        active_ = Wanted();
    }
    return active_;
}

bool Activation::TakeMinimizeVerdict(uint32_t now) {
    if (!verdictAt_ || static_cast<int32_t>(now - *verdictAt_) < 0) return false;
    verdictAt_.reset();
    return true;
}

int Activation::MillisecondsToVerdict(uint32_t now) const {
    if (!verdictAt_) return -1;
    int32_t left = static_cast<int32_t>(*verdictAt_ - now);
    return left > 0 ? left : 0;
}

Activation::Change Activation::OnMinimizeIgnored() {
    if (!shown_ || active_) return Change::None;
    minimized_ = false;
    focused_ = visible_ = true;
    return Settle();
}

} // namespace hostcommon
