// The page's focus and visibility and the program's window, as activation.
#include "web_activation.h"

namespace webhost {

Activation::Change Activation::Settle() {
    bool wanted = Wanted();
    if (wanted == active_) return Change::None;
    active_ = wanted;
    return wanted ? Change::Activate : Change::Deactivate;
}

Activation::Change Activation::OnPageFocus(bool focused) {
    focused_ = focused;
    if (!focused) restoring_ = false;
    return Settle();
}

Activation::Change Activation::OnPageVisible(bool visible) {
    visible_ = visible;
    if (!visible) restoring_ = false;
    return Settle();
}

bool Activation::OnUserInput(Change& change) {
    change = Change::None;
    if (!minimized_ || !shown_) return false;
    // Input reaches a page that has the focus, whatever the focus events said.
    focused_ = visible_ = true;
    if (!restoring_) {
        // The program restores its window when it hears of the activation.
        restoring_ = true;
        active_ = true;
        change = Change::Activate;
    }
    return true;
}

bool Activation::OnWindowShown() {
    shown_ = true;
    minimized_ = false;
    restoring_ = false;
    active_ = Wanted();
    return active_;
}

void Activation::OnWindowMinimized() {
    minimized_ = true;
    restoring_ = false;
    active_ = false;
}

void Activation::OnWindowHidden() {
    shown_ = false;
    minimized_ = false;
    restoring_ = false;
    active_ = false;
}

} // namespace webhost
