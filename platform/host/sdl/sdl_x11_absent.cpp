// The SDL host built without Xlib: SDL is on its own with the display
// connection and with the focus of its message boxes.
#include "sdl_host.h"

namespace sdlhost {

void WatchDisplayConnection() {}
void StartBoxFocus(SDL_Window*) {}
void StopBoxFocus() {}

} // namespace sdlhost
