// A fixture that puts the world, the generator, the clock and the keys back
// to the start of a game before each test.
#pragma once

#include <gtest/gtest.h>

#include "headless.h"
#include "world.h"

class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RandomState = 1;
        LastFireTick = 0;
        FireInterval = 180;
        InitObjects();
        ResetGame();
        headless::ReleaseAllKeys();
        headless::SetTickCount(100000);
    }
    void TearDown() override { headless::ReleaseAllKeys(); }

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
