// The window layer's state as a whole, for the platform's own tests.
#pragma once

namespace platform {

// Puts USER32 back to its start without a message: every window destroyed
// silently (the host's main window with it), every class unregistered, the
// queue emptied, the quit and paint flags cleared, no focus or active
// window, ShowCursor's count back to 0 (cursor shown). The program is left
// inactive; activation listeners run if it was active. Tests call it with
// headless::Reset() in SetUp.
void ResetWindowingForTests();

} // namespace platform
