// Application activation, shared by the window layer (which sends
// WM_ACTIVATEAPP) and DirectDraw (which loses surfaces on deactivation).
#pragma once

namespace platform {

// True while the application is in the foreground.
bool IsAppActive();

// Changes activation: on a change, every listener runs (DirectDraw first),
// keys are released when deactivating, and WM_ACTIVATEAPP is sent to every
// top-level window. No effect when the state is unchanged.
void SetAppActive(bool active);

using ActivationListener = void (*)(bool active);
// Registers a listener called on every activation change, before
// WM_ACTIVATEAPP is sent.
void AddActivationListener(ActivationListener listener);

// Drains the host's pending events into the message queue and the activation
// state. PeekMessageA and GetMessageA call it first.
void PumpHostEvents();

} // namespace platform

namespace platform {

using ActivationBroadcaster = void (*)(bool active);
// The window layer's part of an activation change: sending WM_ACTIVATEAPP to
// its windows. It runs after every listener.
void SetActivationBroadcaster(ActivationBroadcaster broadcaster);

} // namespace platform
