// USER32 default window behaviour and painting: DefWindowProcA, BeginPaint
// and EndPaint.
//
// Windows here have no pixels of their own (the game draws through
// DirectDraw), so BeginPaint hands out a device context without pixels:
// GDI calls on it fail as they do on a context they cannot draw on.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "device_context.h"
#include "faults.h"
#include "user_windowing.h"

namespace {

using platform::user::LookupWindow;

// Windows gives a process at most 10,000 GDI objects.
constexpr size_t kMaxPaintContexts = 10000;

class PaintContext final : public HDC__ {
  public:
    PaintContext(int width, int height) : width_(width), height_(height) {}
    uint8_t* Bits() override { return nullptr; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int Pitch() const override { return 0; }
    const PALETTEENTRY* Palette() const override { return platform::DefaultPalette(); }

  private:
    int width_;
    int height_;
};

struct PaintRecord {
    HWND owner;
    std::unique_ptr<PaintContext> context;
};

std::vector<PaintRecord>& PaintContexts() {
    static std::vector<PaintRecord> contexts;
    return contexts;
}

// The window loses its update region: no WM_PAINT is due any more.
void Validate(HWND hwnd) {
    if (platform::user::Window* window = LookupWindow(hwnd)) window->needsPaint = false;
}

LRESULT SystemCommand(HWND hwnd, WPARAM command) {
    switch (command & 0xFFF0) { // the low four bits are Windows' own
    case SC_CLOSE:
        return SendMessageA(hwnd, WM_CLOSE, 0, 0);
    case SC_MINIMIZE:
        ShowWindow(hwnd, SW_MINIMIZE);
        return 0;
    case SC_RESTORE:
        ShowWindow(hwnd, SW_RESTORE);
        return 0;
    default:
        return 0;
    }
}

} // namespace

namespace platform::user {

void ReleasePaintContextsOf(HWND hwnd) {
    std::erase_if(PaintContexts(),
                  [hwnd](const PaintRecord& record) { return record.owner == hwnd; });
}

void ResetPaintContexts() {
    PaintContexts().clear();
}

} // namespace platform::user

// DefWindowProcA: WM_NCCREATE accepts the window (TRUE); WM_CLOSE destroys
// it; WM_PAINT validates it without drawing; Alt+F4 (WM_SYSKEYDOWN with
// the context bit) becomes SC_CLOSE for the top-level window, and
// WM_SYSCOMMAND SC_CLOSE / SC_MINIMIZE / SC_RESTORE do what they say.
// Everything else answers 0.
extern "C" LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_PAINT:
        Validate(hWnd);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (1 << 29)))
            SendMessageA(platform::user::TopLevelOf(hWnd), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        return SystemCommand(hWnd, wParam);
    default:
        return 0;
    }
}

// BeginPaint validates the window and fills *lpPaint: the context, the
// client area as rcPaint when an update was due (empty otherwise), and
// fErase when the class has no background brush to erase with. NULL for a
// handle that is not a window or no PAINTSTRUCT.
extern "C" HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    int32_t code = 0;
    if (platform::InjectedFailure("BeginPaint", &code)) {
        SetLastError(static_cast<DWORD>(code));
        return nullptr;
    }
    platform::user::Window* window = LookupWindow(hWnd);
    DWORD error = !window                                       ? ERROR_INVALID_WINDOW_HANDLE
                  : !lpPaint                                    ? ERROR_NOACCESS
                  : PaintContexts().size() >= kMaxPaintContexts ? ERROR_NOT_ENOUGH_MEMORY
                                                                : ERROR_SUCCESS;
    if (error) {
        SetLastError(error);
        return nullptr;
    }
    bool due = window->needsPaint;
    window->needsPaint = false;
    auto context = std::make_unique<PaintContext>(window->width, window->height);
    std::memset(lpPaint, 0, sizeof(*lpPaint));
    lpPaint->hdc = context.get();
    lpPaint->fErase = due && !window->background;
    if (due) lpPaint->rcPaint = RECT{0, 0, window->width, window->height};
    PaintContexts().push_back({hWnd, std::move(context)});
    return lpPaint->hdc;
}

// EndPaint gives back the context BeginPaint handed out for this window.
// It always returns TRUE, as Windows' does.
extern "C" BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (!lpPaint) return TRUE;
    std::erase_if(PaintContexts(), [&](const PaintRecord& record) {
        return record.owner == hWnd && record.context.get() == lpPaint->hdc;
    });
    return TRUE;
}
