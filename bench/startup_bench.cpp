// Start-up: InitGame from a fresh program state to its return — the sheet
// read from city2.bmp and painted onto its surface, the display taken, the
// flipping chain, palette and colour key set up, the world reset. Before
// each call every global is put back as in a new process and the window is
// made as InitApp makes it; only InitGame is timed.
#include <benchmark/benchmark.h>

#include "game_session.h"

namespace {

// What InitApp does before it calls InitGame: the class, the visible
// topmost pop-up window (which activates the application), focus and the
// hidden cursor. Null when the window cannot be made.
HWND OpenGameWindow() {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "QuorvanteledixBench";
    RegisterClassA(&wc);
    HWND hwnd =
        CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, wc.lpszClassName, WS_POPUP | WS_VISIBLE,
                        CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    UpdateWindow(hwnd);
    SetFocus(hwnd);
    ShowCursor(FALSE);
    return hwnd;
}

void BM_InitGame(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ResetProgram();
        HWND hwnd = OpenGameWindow();
        state.ResumeTiming();
        if (!hwnd || !InitGame(hwnd) || GameState != GS_PLAYING) {
            state.SkipWithError("InitGame failed (is city2.bmp beside the benchmark?)");
            break;
        }
    }
    ResetProgram();
}

} // namespace

BENCHMARK(BM_InitGame)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
