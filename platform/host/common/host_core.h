// The one host core of the process: the input core (input_core.h), the idle
// gate (idle_gate.h) and the demo layer (demo_layer.h). The core implements
// the deciding part of host.h on them (seam.cpp); hosts reach them here.
#pragma once

#include "demo_layer.h"
#include "idle_gate.h"
#include "input_core.h"

namespace hostcommon {

InputCore& Input();
IdleGate& Idle();
DemoLayer& Demos();

// The program opened `path` for reading (OpenFile): a live demo is tied to
// the first file opened, the game's data.
void NoteFileOpened(const char* path);

} // namespace hostcommon
