// The page's program entry: starts the demo the page asked to play, if any,
// then hands control to the program's WinMain as a GUI program's entry
// does, and ends the runtime when WinMain returns. The message loop waits by
// giving the page the control, so main has long "returned" to the browser
// by then; ending explicitly is what lets the page hear of the end
// (Module.onExit) with WinMain's status.
#include <emscripten.h>

#include <windows.h>

#include "web_demo.h"

int main() {
    // Before the program's first question, which a playback must answer.
    webhost::StartPlaybackIfAsked("/playback.demo");
    char commandLine[] = "";
    int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    emscripten_force_exit(status);
    return status;
}
