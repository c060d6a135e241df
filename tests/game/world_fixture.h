// A fixture that starts the real program on the headless host (window,
// display, sprite sheet) and puts the world, the generator, the clock and the
// keys back to the start of a game before each test.
#pragma once

#include <gtest/gtest.h>

#include "headless.h"
#include "program_reset.h"
#include "world.h"

class WorldTest : public ::testing::Test {
  protected:
    // The real start-up gives GameFrame its display and sprite sheet.
    void SetUp() override {
        ResetProgram();
        ASSERT_EQ(InitApp(nullptr, SW_SHOWDEFAULT), 1);
        RandomState = 1;
        LastFireTick = 0;
        FireInterval = 180;
        InitObjects();
        ResetGame();
        headless::ReleaseAllKeys();
        headless::SetTickCount(100000);
    }
    void TearDown() override { ResetProgram(); }

    // Places an object as active at (x, y).
    static void Place(GameObject& object, int x, int y) {
        object.active = 1;
        object.x = static_cast<SHORT>(x);
        object.y = static_cast<SHORT>(y);
    }

    static int ActiveCount(const GameObject* pool, int count) {
        int n = 0;
        for (int i = 0; i < count; i++) n += pool[i].active ? 1 : 0;
        return n;
    }
};
