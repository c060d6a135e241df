// When the application is the active one, for every host. The platform
// tells whether the window has the focus (and, in a page, whether the page
// is visible) and what its window manager did; the program shows,
// minimizes or hides its window. The application is active exactly while
// its window is shown, not minimized, and focused and visible. A window
// restored from a minimized state comes back on the next click or key where
// nothing else can restore it (the page's "Click to resume"), and a window
// manager that never carries out a minimize request is found out after
// kMinimizeVerdictMs. Nothing here touches a host library: it is checked on
// its own.
#pragma once

#include <cstdint>
#include <optional>

namespace hostcommon {

class Activation final {
  public:
    enum class Change { None, Activate, Deactivate };

    // How long a window manager has to carry out a minimize request before
    // the host looks whether it did. Window managers answer within milliseconds.
    static constexpr uint32_t kMinimizeVerdictMs = 500;

    // The window gained or lost the focus, or (a page) became visible or
    // hidden. Returns the event to queue for the program, if any.
    Change OnFocus(bool focused);
    Change OnVisible(bool visible);
    // The window manager minimized the window, or restored it.
    Change OnPlatformMinimized();
    Change OnPlatformRestored();

    // A click or a fresh key press reached the window. `windowUp`: the
    // platform shows the window (it was never minimized, or the window
    // manager ignored the request). Then the input means the window has the
    // focus after all, and the application comes to the front before the
    // input is handed over. Otherwise a minimized window is restored; the
    // input was taken for that and is not the program's (`consumed`).
    Change OnUserInput(bool windowUp, bool& consumed);

    // The program showed its window (or restored it): true when that makes
    // it active at once, as a window manager's grant. `takesFocus`: showing
    // a window brings it to the front with the focus (a desktop), rather
    // than leaving the focus where it is (a page).
    bool OnWindowShown(bool takesFocus);
    // The program minimized or hid its window: it is inactive now, and knows
    // it. `now` starts the minimize verdict where the window manager may
    // ignore the request (see TakeMinimizeVerdict).
    void OnWindowMinimized(std::optional<uint32_t> now = std::nullopt);
    void OnWindowHidden();
    // The program asked for the focus. `canTakeFocus`: the platform can give
    // it (the window is up on a desktop). True when the application is
    // active afterwards.
    bool OnFocusRequest(bool canTakeFocus);

    // True once, when the minimize verdict is due at `now`. The host then
    // looks whether the window is still up with the focus and, if it is,
    // calls OnMinimizeIgnored.
    bool TakeMinimizeVerdict(uint32_t now);
    // Milliseconds until the verdict is due at `now` (0: due), or -1 (none).
    int MillisecondsToVerdict(uint32_t now) const;
    // The window manager kept the minimized window up with the focus.
    Change OnMinimizeIgnored();

    bool Minimized() const { return minimized_; }
    bool Shown() const { return shown_; }
    // Active as the program knows it, once the events returned are taken.
    bool Active() const { return active_; }

  private:
    bool Wanted() const { return shown_ && !minimized_ && focused_ && visible_; }
    Change Settle();

    bool focused_ = true;
    bool visible_ = true;
    bool shown_ = false;
    bool minimized_ = false;
    bool restoring_ = false; // an activation that restores the window is on its way
    bool active_ = false;
    std::optional<uint32_t> verdictAt_;
};

} // namespace hostcommon
