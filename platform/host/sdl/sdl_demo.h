// The SDL host's demo: the record of the game from start-up (see
// demo_live.h), saved with F9 into the pictures folder and, when the
// environment names a file in QV_DEMO, at the end of the program.
#pragma once

#include <string>

#include "demo_live.h"
#include "host.h"

namespace sdlhost {

// The record; the host reports every pass, event, tick and answer to it.
hostcommon::DemoRecorder& DemoRecord();

// F9: saves the passes so far, with the hash of the frame on screen, and
// says where (or why not) on stderr.
void SaveDemoOnKey();

// At exit: saves the whole record to $QV_DEMO when that is set.
void SaveDemoAtExit();

// What host::SetMainWindowState, FocusMainWindow, SetDisplayMode and
// ShowMessageBox do, before their answers are recorded.
bool ChangeMainWindowState(host::WindowState state);
bool FocusMainWindowNow();
bool SetDisplayModeNow(int width, int height, int bpp);
int ShowMessageBoxNow(const char* caption, const char* text, unsigned type);

// The screen hash (screen_hash.h) of the frame on screen; the blank
// screen's before the first frame. Kept by sdl_display.cpp.
std::string ShownScreenHash();

} // namespace sdlhost
