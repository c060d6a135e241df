// Application activation: one flag, the listeners that react to a change
// (DirectDraw loses its surfaces), and the window layer's WM_ACTIVATEAPP.
#include <vector>

#include "app_state.h"
#include "host.h"

namespace {

struct ActivationState {
    bool active = false;
    std::vector<platform::ActivationListener> listeners;
    platform::ActivationBroadcaster broadcaster = nullptr;
};

ActivationState& State() {
    static ActivationState state;
    return state;
}

} // namespace

namespace platform {

bool IsAppActive() { return State().active; }

void SetAppActive(bool active) {
    ActivationState& s = State();
    if (s.active == active) return;
    s.active = active;
    for (ActivationListener listener : s.listeners) listener(active);
    // Windows forgets held keys when the application loses the foreground.
    if (!active) host::Keys().ReleaseAll();
    if (s.broadcaster) s.broadcaster(active);
}

void AddActivationListener(ActivationListener listener) {
    for (ActivationListener known : State().listeners)
        if (known == listener) return;
    State().listeners.push_back(listener);
}

void SetActivationBroadcaster(ActivationBroadcaster broadcaster) { State().broadcaster = broadcaster; }

} // namespace platform
