// Entry point, window and message loop: messages first, and a frame whenever
// the queue is empty and the application is active.
#include "winmain.h"

#include "game_state.h"
#include "startup.h"

int AppActive = 0;

static const char ClassName[] = "Quorvanteledix";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATEAPP: AppActive = static_cast<int>(wParam); break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_F12)
            ShowWindow(hwnd, SW_MINIMIZE);
        else
            OnKeyDown(static_cast<int>(wParam));
        break;
    case WM_DESTROY: PostQuitMessage(0); break;
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int InitApp(HINSTANCE hInstance, int nCmdShow) {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = ClassName;
    RegisterClassA(&wc);

    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, ClassName, ClassName, WS_POPUP | WS_VISIBLE, CW_USEDEFAULT,
                                CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance, nullptr);
    if (!hwnd) return 0;
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);
    SetFocus(hwnd);
    ShowCursor(FALSE); // hidden for the rest of the run
    return InitGame(hwnd) ? 1 : 0;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    if (!InitApp(hInstance, nCmdShow)) return 0;
    MSG msg;
    for (;;) {
        if (!AppActive || PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            // Inactive, this blocks until a message comes: no frames, no spinning.
            if (!GetMessageA(&msg, nullptr, 0, 0)) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (AppActive) {
            UpdateFrame();
        }
    }
}
