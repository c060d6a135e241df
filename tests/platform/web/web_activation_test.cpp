// When the game in the page is active: the page's focus and visibility,
// the program's window, and the click or key that restores a minimized game.
#include <gtest/gtest.h>

#include "web_activation.h"

namespace {

using webhost::Activation;
using Change = Activation::Change;

// A shown window in a focused, visible page: the usual start.
Activation Playing() {
    Activation a;
    EXPECT_TRUE(a.OnWindowShown());
    return a;
}

TEST(WebActivation, ShowingTheWindowActivatesOnlyAFocusedVisiblePage) {
    Activation focused;
    EXPECT_TRUE(focused.OnWindowShown());

    Activation blurred;
    EXPECT_EQ(blurred.OnPageFocus(false), Change::None); // no window yet
    EXPECT_FALSE(blurred.OnWindowShown());
    EXPECT_FALSE(blurred.Active());
    // Coming to the page later activates it.
    EXPECT_EQ(blurred.OnPageFocus(true), Change::Activate);
    EXPECT_TRUE(blurred.Active());
}

TEST(WebActivation, BlurAndHiddenDeactivateOnceAndComingBackActivates) {
    Activation a = Playing();
    EXPECT_EQ(a.OnPageFocus(false), Change::Deactivate);
    EXPECT_EQ(a.OnPageVisible(false), Change::None); // already inactive
    EXPECT_EQ(a.OnPageFocus(true), Change::None);    // still hidden
    EXPECT_EQ(a.OnPageVisible(true), Change::Activate);
    EXPECT_EQ(a.OnPageVisible(true), Change::None);
    EXPECT_EQ(a.OnPageVisible(false), Change::Deactivate);
    EXPECT_EQ(a.OnPageVisible(true), Change::Activate);
}

TEST(WebActivation, MinimizedGameStaysInactiveUntilAClickOrKey) {
    Activation a = Playing();
    a.OnWindowMinimized();
    EXPECT_FALSE(a.Active());
    EXPECT_TRUE(a.Minimized());
    // Focus moving away and back does not restore a minimized window.
    EXPECT_EQ(a.OnPageFocus(false), Change::None);
    EXPECT_EQ(a.OnPageFocus(true), Change::None);
    EXPECT_FALSE(a.Active());

    Change change;
    EXPECT_TRUE(a.OnUserInput(change));
    EXPECT_EQ(change, Change::Activate);
    // A second input before the program restored its window asks nothing more.
    EXPECT_TRUE(a.OnUserInput(change));
    EXPECT_EQ(change, Change::None);
    // The program restores the window on hearing of the activation.
    EXPECT_TRUE(a.OnWindowShown());
    EXPECT_FALSE(a.Minimized());
    EXPECT_FALSE(a.OnUserInput(change)); // input is the program's again
    EXPECT_EQ(change, Change::None);
}

TEST(WebActivation, InputRestoresEvenWhenTheFocusEventsWereMissed) {
    Activation a = Playing();
    a.OnWindowMinimized();
    a.OnPageFocus(false); // say the page never heard its focus come back
    Change change;
    EXPECT_TRUE(a.OnUserInput(change));
    EXPECT_EQ(change, Change::Activate);
    EXPECT_TRUE(a.OnWindowShown());
}

TEST(WebActivation, LosingTheFocusWhileRestoringLetsTheNextInputAskAgain) {
    Activation a = Playing();
    a.OnWindowMinimized();
    Change change;
    a.OnUserInput(change);
    a.OnPageFocus(false);
    EXPECT_TRUE(a.OnUserInput(change));
    EXPECT_EQ(change, Change::Activate);
}

TEST(WebActivation, HiddenWindowIsNeverActiveAndTakesNoInput) {
    Activation a = Playing();
    a.OnWindowHidden();
    EXPECT_FALSE(a.Active());
    Change change;
    EXPECT_FALSE(a.OnUserInput(change));
    EXPECT_EQ(a.OnPageFocus(false), Change::None);
    EXPECT_EQ(a.OnPageFocus(true), Change::None);
}

} // namespace
