// The program's entry, its window and its message loop.
#pragma once

#include <windows.h>

// The wParam of the last WM_ACTIVATEAPP: nonzero while the application is active.
extern int AppActive;

// Registers the window class, creates the 640 x 480 topmost pop-up window,
// shows it, hides the cursor and runs InitGame. 1 when all of it succeeded.
int InitApp(HINSTANCE hInstance, int nCmdShow);

// The window procedure: keeps AppActive, turns key presses into commands
// (F12 minimizes), and quits when the window is destroyed. Every message
// also goes to DefWindowProcA, whose result it returns.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
