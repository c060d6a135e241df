// The SDL host's emulated display: 640 x 480 x 8 shown in a desktop-size
// borderless window (the monitor's own mode is never changed), scaled by a
// whole factor with black bars, and page flips paced to a fixed 60 Hz. Where
// there is a GPU, the frame is converted through its palette into a
// streaming texture that the renderer scales; where rendering runs on the
// CPU anyway, it is converted and scaled in one pass into the window's own
// pixels, which go to the window system as they are.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <type_traits>

#include "host.h"
#include "host_core.h"
#include "native_host.h"
#include "present_choice.h"
#include "presentation.h"
#include "scale_convert.h"
#include "screen_hash.h"
#include "sdl_demo.h"
#include "sdl_host.h"
#include "sdl_screenshot.h"

namespace {

constexpr int kModeWidth = 640;
constexpr int kModeHeight = 480;

// Trivially destructible on purpose: the exit-time shutdown may run after
// this object's lifetime would otherwise have ended.
struct DisplayState {
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureW = 0, textureH = 0;
    bool modeSet = false;
    bool windowed = false;       // Alt+Enter's windowed mode is in force
    bool hasFrame = false;       // the texture holds a frame worth redrawing
    bool software = false;       // frames go into the window's pixels, not through the renderer
    bool softwareFailed = false; // the window's pixels could not be had: reported once

    std::array<host::PaletteEntry, 256> palette{}; // the palette `argb` was made from
    bool paletteKnown = false;
    std::array<uint32_t, 256> argb{};
    // `palette` in the window surface's own format, and that format.
    std::array<uint32_t, 256> surfaceTable{};
    uint32_t surfaceFormat = 0;

    // The last 640 x 480 frame presented, as indices into `palette`: what
    // a screenshot saves.
    std::array<uint8_t, kModeWidth * kModeHeight> shown{};
    bool shownKnown = false;

    hostcommon::FramePacer pacer;
};

static_assert(std::is_trivially_destructible_v<DisplayState>);

DisplayState& D() {
    static DisplayState state;
    return state;
}

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits for the next 60 Hz deadline. Vsync is not used: the monitor's own
// rate must not change the game's speed.
void WaitForFlipDeadline() {
    int64_t due = D().pacer.Schedule(NowNs());
    std::this_thread::sleep_until(
        std::chrono::steady_clock::time_point(std::chrono::nanoseconds(due)));
}

bool EnsureRenderer(SDL_Window* window) {
    DisplayState& d = D();
    if (d.renderer) return true;
    d.renderer = SDL_CreateRenderer(window, -1, 0);
    if (!d.renderer) std::fprintf(stderr, "sdl: cannot create a renderer: %s\n", SDL_GetError());
    return d.renderer != nullptr;
}

bool EnsureTexture(int width, int height) {
    DisplayState& d = D();
    if (d.texture && d.textureW == width && d.textureH == height) return true;
    if (d.texture) SDL_DestroyTexture(d.texture);
    d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                  width, height);
    d.hasFrame = false;
    if (!d.texture) {
        std::fprintf(stderr, "sdl: cannot create the frame texture: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetTextureScaleMode(d.texture, SDL_ScaleModeNearest);
    d.textureW = width;
    d.textureH = height;
    return true;
}

// The 256-entry ARGB table, rebuilt only when the palette changed; true
// when it did.
bool UpdatePalette(const host::PaletteEntry* palette) {
    DisplayState& d = D();
    if (d.paletteKnown && std::memcmp(d.palette.data(), palette, sizeof(d.palette)) == 0)
        return false;
    std::memcpy(d.palette.data(), palette, sizeof(d.palette));
    for (size_t i = 0; i < d.argb.size(); i++) {
        const host::PaletteEntry& e = d.palette[i];
        d.argb[i] = 0xFF000000u | (uint32_t{e.red} << 16) | (uint32_t{e.green} << 8) | e.blue;
    }
    d.paletteKnown = true;
    return true;
}

bool Upload(const uint8_t* pixels, int width, int height, int pitch) {
    DisplayState& d = D();
    void* texels = nullptr;
    int texPitch = 0;
    if (SDL_LockTexture(d.texture, nullptr, &texels, &texPitch) != 0) return false;
    // An ARGB8888 texture's pitch is a whole number of texels.
    hostcommon::ConvertToArgb(pixels, pitch, static_cast<uint32_t*>(texels), texPitch / 4, width,
                              height, d.argb.data());
    SDL_UnlockTexture(d.texture);
    return true;
}

// Copies the frame being shown, for PrintScreen: the surface it comes from
// will have been drawn over by the time the key is pressed.
void KeepShownFrame(const uint8_t* pixels, int width, int height, int pitch) {
    DisplayState& d = D();
    d.shownKnown = width == kModeWidth && height == kModeHeight;
    if (!d.shownKnown) return;
    for (int y = 0; y < height; y++)
        std::memcpy(&d.shown[static_cast<size_t>(y) * kModeWidth],
                    pixels + static_cast<ptrdiff_t>(y) * pitch, kModeWidth);
}

// The palette in the window surface's format, rebuilt when either changed.
void UpdateSurfaceTable(const SDL_PixelFormat* format, bool paletteChanged) {
    DisplayState& d = D();
    if (!paletteChanged && d.surfaceFormat == format->format) return;
    for (size_t i = 0; i < d.surfaceTable.size(); i++) {
        const host::PaletteEntry& e = d.palette[i];
        d.surfaceTable[i] = SDL_MapRGB(format, e.red, e.green, e.blue);
    }
    d.surfaceFormat = format->format;
}

// Presenting in software: the shown frame converted and scaled straight
// into the window's pixels, black around it, handed to the window system
// as one image. False when the window has no 32-bit surface to draw into.
bool DrawIntoWindow(bool paletteChanged) {
    DisplayState& d = D();
    SDL_Window* window = sdlhost::MainWindow();
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface || surface->format->BytesPerPixel != 4) return false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    auto* pixels = static_cast<uint32_t*>(surface->pixels);
    int pitch = surface->pitch / 4;
    uint32_t black = SDL_MapRGB(surface->format, 0, 0, 0);
    hostcommon::Rect r{};
    if (d.hasFrame && d.shownKnown) {
        UpdateSurfaceTable(surface->format, paletteChanged);
        r = hostcommon::LetterboxRect(kModeWidth, kModeHeight, surface->w, surface->h);
        hostcommon::ConvertScaled(d.shown.data(), kModeWidth, kModeWidth, kModeHeight, pixels,
                                  pitch, r, d.surfaceTable.data());
    }
    hostcommon::FillOutside(pixels, pitch, surface->w, surface->h, r, black);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_UpdateWindowSurface(window);
    return true;
}

// After the window's pixels failed: says so once and goes over to the
// renderer, which shows frames from the next one on.
void LeaveSoftware() {
    DisplayState& d = D();
    if (!d.softwareFailed)
        std::fprintf(stderr,
                     "sdl: cannot draw into the window (%s): presenting through the renderer\n",
                     SDL_GetError());
    d.softwareFailed = true;
    d.software = false;
    d.hasFrame = false;
    SDL_Window* window = sdlhost::MainWindow();
    if (window && EnsureRenderer(window)) EnsureTexture(kModeWidth, kModeHeight);
}

// Clears the window to black and draws the frame integer-scaled in its middle.
void Draw(bool paletteChanged = false) {
    DisplayState& d = D();
    if (d.software) {
        if (DrawIntoWindow(paletteChanged)) return;
        LeaveSoftware();
    }
    if (!d.renderer) return;
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(d.renderer, &outW, &outH);
    SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
    SDL_RenderClear(d.renderer);
    if (d.texture && d.hasFrame) {
        hostcommon::Rect r = hostcommon::LetterboxRect(d.textureW, d.textureH, outW, outH);
        SDL_Rect dest{r.x, r.y, r.w, r.h};
        SDL_RenderCopy(d.renderer, d.texture, nullptr, &dest);
    }
    SDL_RenderPresent(d.renderer);
}

SDL_Rect DisplayBounds(SDL_Window* window, bool usableOnly) {
    SDL_Rect bounds{0, 0, kModeWidth, kModeHeight};
    int index = SDL_GetWindowDisplayIndex(window);
    if (index < 0) return bounds;
    int result = usableOnly ? SDL_GetDisplayUsableBounds(index, &bounds)
                            : SDL_GetDisplayBounds(index, &bounds);
    if (result != 0) bounds = SDL_Rect{0, 0, kModeWidth, kModeHeight};
    return bounds;
}

// The desktop-size borderless window. The window is first made borderless
// and desktop-size by hand, so that it covers the screen even where no window
// manager honours the fullscreen request (a bare X server).
bool EnterFullscreen(SDL_Window* window) {
    SDL_Rect desktop = DisplayBounds(window, false);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, desktop.x, desktop.y);
    SDL_SetWindowSize(window, desktop.w, desktop.h);
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        std::fprintf(stderr, "sdl: cannot fill the desktop: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

// A bordered window of `scale` times 640 x 480, centred.
void EnterWindow(SDL_Window* window, int scale) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, kModeWidth * scale, kModeHeight * scale);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// Alt+Enter's window: the largest whole multiple of 640 x 480 that fits the
// usable desktop with the window's borders (known once it has them).
void EnterWindowed(SDL_Window* window) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_Rect usable = DisplayBounds(window, true);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0) {
        usable.w -= left + right;
        usable.h -= top + bottom;
    }
    EnterWindow(window, hostcommon::WindowedScale(kModeWidth, kModeHeight, usable.w, usable.h));
}

} // namespace

namespace sdlhost {

void PrepareDisplay(SDL_Window* window) {
    DisplayState& d = D();
    const char* asked = SDL_getenv("QV_PRESENT");
    std::string problem, why;
    hostcommon::PresentPath path = hostcommon::ParsePresentPath(asked, problem);
    if (!problem.empty()) std::fprintf(stderr, "sdl: %s\n", problem.c_str());
    if (path != hostcommon::PresentPath::Software) EnsureRenderer(window);
    d.software = PresentInSoftware(path, d.renderer, why);
    if (d.software) {
        if (d.renderer) SDL_DestroyRenderer(d.renderer);
        d.renderer = nullptr;
        // The window's pixels go to the X server (or GDI) as they are, not
        // through a texture of another renderer that SDL would otherwise make.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // Some video drivers give windows no pixels of their own (SDL's
        // Wayland one): there the renderer stays, whatever it runs on.
        if (!SDL_GetWindowSurface(window)) {
            why += std::string(", but the window has no pixels of its own: ") + SDL_GetError();
            d.software = false;
            EnsureRenderer(window);
        }
    }
    if (asked)
        std::fprintf(stderr, "sdl: presenting %s (%s)\n", d.software ? "software" : "gpu",
                     why.c_str());
}

void ToggleWindowed() {
    DisplayState& d = D();
    SDL_Window* window = MainWindow();
    if (!d.modeSet || !window) return;
    if (d.windowed) {
        if (EnterFullscreen(window)) d.windowed = false;
    } else {
        EnterWindowed(window);
        d.windowed = true;
    }
    Draw();
}

void Redraw() {
    if (D().modeSet) Draw();
}

void CoverDesktopAgain() {
    DisplayState& d = D();
    SDL_Window* window = MainWindow();
    if (!d.modeSet || d.windowed || !window) return;
    SDL_Rect desktop = DisplayBounds(window, false);
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    if (x == desktop.x && y == desktop.y && w == desktop.w && h == desktop.h) return;
    // SDL still counts the window as full screen: asking for full screen
    // again would do nothing, so it is left first.
    SDL_SetWindowFullscreen(window, 0);
    EnterFullscreen(window);
    Draw();
}

void DestroyDisplay() {
    DisplayState& d = D();
    if (d.texture) SDL_DestroyTexture(d.texture);
    if (d.renderer) SDL_DestroyRenderer(d.renderer);
    d.texture = nullptr;
    d.renderer = nullptr;
    d.textureW = d.textureH = 0;
    d.modeSet = false;
    d.windowed = false;
    d.hasFrame = false;
    d.software = false;
    d.softwareFailed = false;
    d.surfaceFormat = 0;
}

void SaveScreenshotOfDisplay() {
    DisplayState& d = D();
    if (!d.shownKnown) {
        std::fprintf(stderr, "sdl: no screenshot: no frame has been shown yet\n");
        return;
    }
    SaveScreenshot(d.shown.data(), kModeWidth, kModeHeight, d.palette.data());
}

std::string ShownScreenHash() {
    DisplayState& d = D();
    return hostcommon::ScreenHash(d.shownKnown ? d.shown.data() : nullptr, kModeWidth,
                                  d.palette.data());
}

} // namespace sdlhost

namespace native {

bool SetDisplayMode(int width, int height, int bpp) {
    if (width != kModeWidth || height != kModeHeight || bpp != 8) return false;
    SDL_Window* window = sdlhost::MainWindow();
    if (!window) return false;
    DisplayState& d = D();
    if (!d.software && (!EnsureRenderer(window) || !EnsureTexture(width, height))) return false;
    if (!EnterFullscreen(window)) {
        EnterWindow(window, 1);
        return false;
    }
    d.modeSet = true;
    d.windowed = false;
    d.pacer.Reset();
    Draw();
    return true;
}

} // namespace native

namespace host {

void RestoreDisplayMode() {
    DisplayState& d = D();
    SDL_Window* window = sdlhost::MainWindow();
    // The window goes back to showing the frame at its own size.
    if (window && d.modeSet) EnterWindow(window, 1);
    d.modeSet = false;
    d.windowed = false;
}

void Present(const uint8_t* pixels, int width, int height, int pitch, const PaletteEntry* palette,
             bool paced) {
    // Flips keep their 60 Hz pace even when there is nothing to show them on.
    if (paced) {
        hostcommon::Idle().OnActivity(); // play is running: the loop is not idle
        WaitForFlipDeadline();
    }
    DisplayState& d = D();
    if (!d.modeSet || !pixels || !palette) return;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || pitch < width) return;
    if (d.software) {
        bool paletteChanged = UpdatePalette(palette);
        KeepShownFrame(pixels, width, height, pitch);
        d.hasFrame = true;
        Draw(paletteChanged);
        return;
    }
    if (!d.renderer || !EnsureTexture(width, height)) return;
    UpdatePalette(palette);
    if (!Upload(pixels, width, height, pitch)) return;
    d.hasFrame = true;
    KeepShownFrame(pixels, width, height, pitch);
    Draw();
}

} // namespace host
