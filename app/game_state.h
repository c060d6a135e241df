// The game's state and the key commands that change it. One idle pass of the
// message loop calls UpdateFrame, which acts on GameState.
#pragma once

#include <windows.h>

#define GS_PLAYING 0  // one GameFrame per pass
#define GS_TITLE 1    // the title image per pass
#define GS_PAUSED 2   // nothing
#define GS_QUIT 3     // posts the quit message
#define GS_STARTING 4 // nothing, until start-up succeeds

extern int GameState;

// Does what GameState asks of one idle pass.
void UpdateFrame();

// Applies a key command for a WM_KEYDOWN (auto-repeats included): Enter
// leaves the title, Esc quits from any state, P pauses and resumes play.
// Every other key changes nothing.
void OnKeyDown(int virtualKey);
