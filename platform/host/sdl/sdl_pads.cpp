// Game controllers on SDL: opened as they are plugged in (or found at
// start-up), closed as they go, and their buttons and left stick handed to
// the input core's pad mapping by position.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "host_core.h"
#include "sdl_host.h"

namespace {

std::vector<SDL_GameController*>& Controllers() {
    static std::vector<SDL_GameController*> controllers;
    return controllers;
}

// Face buttons by position (the hint set at start-up keeps SDL from
// relabelling them on pads that print other letters there).
hostcommon::PadButton PadButtonFromSdl(Uint8 button) {
    using hostcommon::PadButton;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::South;
    case SDL_CONTROLLER_BUTTON_X: return PadButton::West;
    case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::DpadRight;
    default: return PadButton::Other;
    }
}

hostcommon::PadAxis PadAxisFromSdl(Uint8 axis) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) return hostcommon::PadAxis::LeftX;
    if (axis == SDL_CONTROLLER_AXIS_LEFTY) return hostcommon::PadAxis::LeftY;
    return hostcommon::PadAxis::Other;
}

SDL_JoystickID InstanceId(SDL_GameController* controller) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

// A controller was plugged in (or was there at start-up): `index` is its
// device index. Opening it is what makes SDL report its buttons.
void OpenController(int index) {
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    for (SDL_GameController* open : Controllers())
        if (InstanceId(open) == id) return;
    SDL_GameController* controller = SDL_GameControllerOpen(index);
    if (!controller) {
        std::fprintf(stderr, "sdl: cannot open game controller %d: %s\n", index, SDL_GetError());
        return;
    }
    Controllers().push_back(controller);
}

// A controller went away: `id` is its instance id. What it held is let go.
void CloseController(SDL_JoystickID id) {
    auto& controllers = Controllers();
    auto it = std::find_if(controllers.begin(), controllers.end(),
                           [id](SDL_GameController* c) { return InstanceId(c) == id; });
    if (it != controllers.end()) {
        SDL_GameControllerClose(*it);
        controllers.erase(it);
    }
    hostcommon::Input().PadRemoved(id);
}

} // namespace

namespace sdlhost {

// Controllers are optional: without them the game still plays from the keyboard.
void StartControllers() {
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "sdl: no game controllers: %s\n", SDL_GetError());
}

void CloseControllers() {
    for (SDL_GameController* controller : Controllers()) SDL_GameControllerClose(controller);
    Controllers().clear();
}

bool TranslatePadEvent(const SDL_Event& e) {
    hostcommon::InputCore& input = hostcommon::Input();
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: OpenController(e.cdevice.which); return true;
    case SDL_CONTROLLERDEVICEREMOVED: CloseController(e.cdevice.which); return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        input.PadButton(e.cbutton.which, PadButtonFromSdl(e.cbutton.button), e.cbutton.state == SDL_PRESSED);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        input.PadAxis(e.caxis.which, PadAxisFromSdl(e.caxis.axis), e.caxis.value);
        return true;
    default: return false;
    }
}

} // namespace sdlhost
