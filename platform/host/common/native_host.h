// What each host library supplies beneath the core. The core implements
// the parts of host.h that decide something (time, events, waits, the
// answers a demo keeps) on top of these, and the host implements the rest
// of host.h (window, cursor, display, presentation) itself. A host turns
// its platform's events into calls on the input core (host_core.h).
#pragma once

#include <cstdint>

#include "host.h"

namespace native {

// The platform's clock in GetTickCount's milliseconds (wrapping at 2^32).
uint32_t TickCount();

// Turns every native event that is pending into calls on the input core.
// Never blocks.
void PumpEvents();

// Blocks until a native event is pending, or until the host has a reason
// to look again (a minimize verdict falls due). The core calls it only
// when its queue holds no event and no demo is playing.
void WaitEvent();

// A pass of the message loop begins: the first thing after the program's
// own work. In a playback it runs before the pass's recorded items are
// queued; in a live game after the pass is recorded.
void BeforeEvents();

// What the program asks of the platform; the core records the answers in
// a live game and replaces them with the recorded ones in a playback.
bool SetMainWindowState(host::WindowState state);
bool FocusMainWindow();
bool SetDisplayMode(int width, int height, int bpp);
// Not called in a playback: the recorded button answers instead.
int ShowMessageBox(const void* owner, const char* caption, const char* text, unsigned type);

// True for a host that keeps a record of every live game for saving as a
// demo (a person plays); false for one whose input is a test's or a demo's.
bool RecordsDemos();

} // namespace native
