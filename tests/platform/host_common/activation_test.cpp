// When the application is active, for every host: the window's focus and
// visibility, the program's window requests, the click or key that restores
// a minimized game, and a window manager that ignores a minimize request.
#include <gtest/gtest.h>

#include "activation.h"

namespace {

using hostcommon::Activation;
using Change = Activation::Change;

// A shown window in a focused, visible page: the usual start.
Activation Playing() {
    Activation a;
    EXPECT_TRUE(a.OnWindowShown(false));
    return a;
}

TEST(Activation, ShowingTheWindowActivatesOnlyAFocusedVisibleWindow) {
    Activation focused;
    EXPECT_TRUE(focused.OnWindowShown(false));

    Activation blurred;
    EXPECT_EQ(blurred.OnFocus(false), Change::None); // no window yet
    EXPECT_FALSE(blurred.OnWindowShown(false));
    EXPECT_FALSE(blurred.Active());
    // Coming to the page later activates it.
    EXPECT_EQ(blurred.OnFocus(true), Change::Activate);
    EXPECT_TRUE(blurred.Active());

    // On a desktop, showing a window brings it to the front with the focus.
    Activation desktop;
    desktop.OnFocus(false);
    EXPECT_TRUE(desktop.OnWindowShown(true));
}

TEST(Activation, BlurAndHiddenDeactivateOnceAndComingBackActivates) {
    Activation a = Playing();
    EXPECT_EQ(a.OnFocus(false), Change::Deactivate);
    EXPECT_EQ(a.OnVisible(false), Change::None); // already inactive
    EXPECT_EQ(a.OnFocus(true), Change::None);    // still hidden
    EXPECT_EQ(a.OnVisible(true), Change::Activate);
    EXPECT_EQ(a.OnVisible(true), Change::None);
    EXPECT_EQ(a.OnVisible(false), Change::Deactivate);
    EXPECT_EQ(a.OnVisible(true), Change::Activate);
}

TEST(Activation, CoveredMinimizedGameStaysInactiveUntilAClickOrKey) {
    Activation a = Playing();
    a.OnWindowMinimized();
    EXPECT_FALSE(a.Active());
    EXPECT_TRUE(a.Minimized());
    // Focus moving away and back does not restore a minimized window.
    EXPECT_EQ(a.OnFocus(false), Change::None);
    EXPECT_EQ(a.OnFocus(true), Change::None);
    EXPECT_FALSE(a.Active());

    bool consumed = false;
    EXPECT_EQ(a.OnUserInput(false, consumed), Change::Activate);
    EXPECT_TRUE(consumed);
    // A second input before the program restored its window asks nothing more.
    EXPECT_EQ(a.OnUserInput(false, consumed), Change::None);
    EXPECT_TRUE(consumed);
    // The program restores the window on hearing of the activation.
    EXPECT_TRUE(a.OnWindowShown(false));
    EXPECT_FALSE(a.Minimized());
    EXPECT_EQ(a.OnUserInput(false, consumed), Change::None);
    EXPECT_FALSE(consumed); // input is the program's again
}

TEST(Activation, RestoringInputAsksAgainAfterTheFocusWasLostOnTheWay) {
    Activation a = Playing();
    a.OnWindowMinimized();
    a.OnFocus(false); // say the page never heard its focus come back
    bool consumed = false;
    EXPECT_EQ(a.OnUserInput(false, consumed), Change::Activate);
    a.OnFocus(false);
    EXPECT_EQ(a.OnUserInput(false, consumed), Change::Activate);
    EXPECT_TRUE(a.OnWindowShown(false));
}

TEST(Activation, HiddenWindowIsNeverActiveAndTakesNoInput) {
    Activation a = Playing();
    a.OnWindowHidden();
    EXPECT_FALSE(a.Active());
    bool consumed = true;
    EXPECT_EQ(a.OnUserInput(false, consumed), Change::None);
    EXPECT_FALSE(consumed);
    EXPECT_EQ(a.OnUserInput(true, consumed), Change::None);
    EXPECT_EQ(a.OnFocus(false), Change::None);
    EXPECT_EQ(a.OnFocus(true), Change::None);
    EXPECT_FALSE(a.OnFocusRequest(true));
}

TEST(Activation, WindowManagerMinimizingAndRestoringTheWindow) {
    Activation a;
    EXPECT_TRUE(a.OnWindowShown(true));
    EXPECT_EQ(a.OnPlatformMinimized(), Change::Deactivate);
    EXPECT_FALSE(a.OnFocusRequest(true)) << "a minimized window cannot take the focus";
    // Restored from the taskbar: active once it has the focus, in either order.
    EXPECT_EQ(a.OnFocus(false), Change::None);
    EXPECT_EQ(a.OnPlatformRestored(), Change::None);
    EXPECT_EQ(a.OnFocus(true), Change::Activate);
    a.OnPlatformMinimized();
    EXPECT_EQ(a.OnFocus(true), Change::None);
    EXPECT_EQ(a.OnPlatformRestored(), Change::Activate);
}

TEST(Activation, IgnoredMinimizeRequestIsFoundOutByInputOrTheVerdict) {
    Activation a;
    a.OnWindowShown(true);
    a.OnWindowMinimized(1000u);
    EXPECT_EQ(a.MillisecondsToVerdict(1100), 400);
    EXPECT_FALSE(a.TakeMinimizeVerdict(1499));
    EXPECT_TRUE(a.TakeMinimizeVerdict(1500));
    EXPECT_FALSE(a.TakeMinimizeVerdict(1600)) << "once";
    EXPECT_EQ(a.MillisecondsToVerdict(1600), -1);
    EXPECT_EQ(a.OnMinimizeIgnored(), Change::Activate);
    EXPECT_EQ(a.OnMinimizeIgnored(), Change::None);

    // A fresh press in the still-shown window brings it to the front and
    // stays the program's; the verdict is then no longer due.
    a.OnWindowMinimized(0xFFFFFF00u); // across the clock's wrap
    bool consumed = true;
    EXPECT_EQ(a.OnUserInput(true, consumed), Change::Activate);
    EXPECT_FALSE(consumed);
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.MillisecondsToVerdict(0x100u), -1);
    EXPECT_TRUE(a.OnFocusRequest(true));

    // Carried out after all: no verdict is left to look at.
    a.OnWindowMinimized(50u);
    a.OnPlatformMinimized();
    EXPECT_FALSE(a.TakeMinimizeVerdict(10000u));
}

} // namespace
