// The deciding part of host.h, on top of whichever host is linked
// (native_host.h): the key table and event queue are the input core's, and
// every tick, event and answer passes the demo layer, which records it in a
// live game and replays it in a playback.
#include "host_core.h"
#include "native_host.h"

namespace hostcommon {

// Never destroyed: a host saves its demo at exit, after static destructors.
InputCore& Input() {
    static auto* input = new InputCore;
    return *input;
}

IdleGate& Idle() {
    static auto* idle = new IdleGate;
    return *idle;
}

DemoLayer& Demos() {
    static auto* demos = new DemoLayer(Input(), native::RecordsDemos());
    return *demos;
}

void NoteFileOpened(const char* path) {
    Demos().NoteFileOpened(path);
}

} // namespace hostcommon

namespace host {

using hostcommon::Demos;
using hostcommon::Input;

uint32_t TickCount() {
    if (Demos().Playing()) return Demos().Tick(0);
    return Demos().Tick(native::TickCount());
}

KeyTable& Keys() {
    return Input().Keys();
}

bool PollEvent(Event& event) {
    native::PumpEvents();
    if (!Input().Take(event)) return false;
    Demos().Event(event);
    hostcommon::Idle().OnActivity();
    return true;
}

void WaitEvent() {
    if (Input().HasEvent()) return;
    if (Demos().Playing()) {
        Demos().Wait();
        return;
    }
    native::WaitEvent();
}

// A live pass is marked in the record before the host's own work (a pad's
// key changes belong to the pass); a played pass is queued after it (the
// host may hold a paused playback, or end it).
void BeforeEvents() {
    if (Demos().Playing()) {
        native::BeforeEvents();
        Demos().Pump();
        return;
    }
    Demos().Pump();
    native::BeforeEvents();
}

bool SetMainWindowState(WindowState state) {
    return Demos().Answer(native::SetMainWindowState(state));
}

bool FocusMainWindow() {
    return Demos().Answer(native::FocusMainWindow());
}

bool SetDisplayMode(int width, int height, int bpp) {
    return Demos().Answer(native::SetDisplayMode(width, height, bpp));
}

// A playback shows no box: the recorded button answers it (IDOK when the
// record holds none).
int ShowMessageBox(const void* owner, const char* caption, const char* text, unsigned type) {
    if (Demos().Playing()) return Demos().Answer(int32_t{1});
    return Demos().Answer(native::ShowMessageBox(owner, caption, text, type));
}

} // namespace host
