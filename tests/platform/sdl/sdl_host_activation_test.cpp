// The SDL host when a minimize request is not carried out, on SDL's dummy
// video driver: it minimizes nothing and gives no window the focus, like a
// bare X server where the keyboard went elsewhere. The window stays shown,
// so input that still reaches it brings the application back to the front.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "host.h"
#include "sdl_host.h"

namespace {

std::vector<host::Event> Drain() {
    std::vector<host::Event> events;
    host::Event e;
    while (host::PollEvent(e)) events.push_back(e);
    return events;
}

std::vector<host::EventKind> Kinds(const std::vector<host::Event>& events) {
    std::vector<host::EventKind> kinds;
    for (const host::Event& e : events) kinds.push_back(e.kind);
    return kinds;
}

class SdlHostActivation : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        host::CreateMainWindow("activation test", 640, 480);
        ASSERT_NE(sdlhost::MainWindow(), nullptr) << SDL_GetError();
        ASSERT_TRUE(host::SetMainWindowState(host::WindowState::Shown));
        Drain();
    }
    void TearDown() override { host::DestroyMainWindow(); }

    static Uint32 WindowId() { return SDL_GetWindowID(sdlhost::MainWindow()); }

    static void PushKey(bool repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = WindowId();
        e.key.state = SDL_PRESSED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.scancode = SDL_SCANCODE_A;
        e.key.keysym.sym = SDLK_a;
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
    static void PushClick() {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.windowID = WindowId();
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = SDL_PRESSED;
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
};

TEST_F(SdlHostActivation, InputToTheStillShownWindowBringsTheApplicationBack) {
    using K = host::EventKind;
    EXPECT_FALSE(host::SetMainWindowState(host::WindowState::Minimized));

    // An auto-repeat is a key held from before: no sign of the user coming
    // back, and no key for an application in the background.
    PushKey(true);
    std::vector<host::Event> events = Drain();
    EXPECT_TRUE(events.empty());

    // A fresh press: the application is activated first, then gets the key.
    PushKey(false);
    events = Drain();
    ASSERT_EQ(Kinds(events), (std::vector<K>{K::Activate, K::KeyDown}));
    EXPECT_EQ(events[1].vk, 'A');
    EXPECT_FALSE(events[1].repeat);

    // Once in front, keys are only keys.
    PushKey(false);
    EXPECT_EQ(Kinds(Drain()), std::vector<K>{K::KeyDown});

    // A click does it too, and is no event of its own.
    EXPECT_FALSE(host::SetMainWindowState(host::WindowState::Minimized));
    PushClick();
    EXPECT_EQ(Kinds(Drain()), std::vector<K>{K::Activate});

    // A hidden window gets no input: the same key activates nothing.
    EXPECT_FALSE(host::SetMainWindowState(host::WindowState::Hidden));
    PushKey(false);
    EXPECT_TRUE(Drain().empty());
}

// GetMessageA waits on the host while the application is in the background;
// after a minimize request that wait must end when the window manager's time
// is up, or nothing would ever look again. A user event 5 s away keeps a
// failing build from waiting for ever.
TEST_F(SdlHostActivation, AWaitAfterAMinimizeRequestEndsWhenTheVerdictIsDue) {
    host::SetMainWindowState(host::WindowState::Minimized);
    SDL_TimerID wake = SDL_AddTimer(
        5000,
        [](Uint32, void*) -> Uint32 {
            SDL_Event e{};
            e.type = SDL_USEREVENT;
            SDL_PushEvent(&e);
            return 0;
        },
        nullptr);
    auto start = std::chrono::steady_clock::now();
    host::WaitEvent();
    auto waited = std::chrono::steady_clock::now() - start;
    SDL_RemoveTimer(wake);
    EXPECT_LT(waited, std::chrono::seconds(3));
    // The dummy window never has the focus: the verdict is "not minimized,
    // but the input is elsewhere", and the application stays in the back.
    EXPECT_TRUE(Drain().empty());
}

} // namespace
