// Runs the real program — WinMain, start-up, message loop, window procedure —
// on the headless host, scripted through its idle and wait hooks, and puts
// every global of the program back to its start between tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "program_reset.h"
#include "surface_pixels.h"

class ProgramTest : public ::testing::Test {
  protected:
    // Passes: idle passes of the message loop seen by the idle hook.
    int passes = 0;
    int waits = 0;

    void SetUp() override { ResetProgram(); }
    void TearDown() override { ResetProgram(); }

    // Runs WinMain. `onPass(n)` runs at the n-th idle pass (from 0), before
    // that pass's frame; `onWait(n)` when the loop must wait for a message.
    // A run that passes `limit` idle passes is ended with Esc.
    int Run(std::function<void(int)> onPass, std::function<void(int)> onWait = nullptr, int limit = 5000) {
        headless::SetIdleHook([this, onPass, limit] {
            int n = passes++;
            headless::AdvanceTickCount(16);
            if (onPass) onPass(n);
            if (n == limit) headless::PressKey(VK_ESCAPE);
        });
        headless::SetWaitHook([this, onWait] {
            int n = waits++;
            if (onWait) onWait(n);
        });
        return WinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    }

    // The screen's palette index at (x, y).
    static uint8_t ScreenAt(int x, int y) { return headless::Screen().pixels[static_cast<size_t>(y) * 640 + x]; }

    // The sprite sheet as it lies on the sprite surface.
    static std::vector<uint8_t> SheetPixels(int* width) { return SurfacePixels(lpDDSOffscreen, width); }
};
