// When the game in the page is the active application. The browser tells
// whether the page has the focus and is visible; the program shows,
// minimizes (F12) or hides its window. The application is active exactly
// while its window is shown, not minimized, and the page is focused and
// visible: a blur or a hidden tab deactivates it, coming back activates it,
// and a minimized game comes back on the next click or key, as a window
// restored from the taskbar does. Nothing here touches the browser, so it
// is checked on its own.
#pragma once

namespace webhost {

class Activation final {
  public:
    enum class Change { None, Activate, Deactivate };

    // The page gained or lost the focus, or became visible or hidden.
    // Returns the event to queue for the program, if any.
    Change OnPageFocus(bool focused);
    Change OnPageVisible(bool visible);
    // A click or a key in the page. Restores a minimized window; true when
    // the input was taken for that (it is then not the program's).
    bool OnUserInput(Change& change);

    // The program showed its window (or restored it): true when that makes
    // it active at once, as a window manager's grant.
    bool OnWindowShown();
    // The program minimized or hid its window: it is inactive now, and knows it.
    void OnWindowMinimized();
    void OnWindowHidden();

    bool Minimized() const { return minimized_; }
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
};

} // namespace webhost
