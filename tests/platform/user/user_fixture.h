// Shared by the USER32 tests: a window procedure that records every message
// it receives (and can be told to answer some itself), and a fixture that
// starts each test from a clean host and window layer.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "headless.h"
#include "user_state.h"

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Everything the recording procedure received, in order.
inline std::vector<Received> received;
// Answers a message instead of DefWindowProcA when it returns a value.
inline std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> reaction;

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({hwnd, message, wParam, lParam});
    if (reaction)
        if (std::optional<LRESULT> answer = reaction(hwnd, message, wParam, lParam)) return *answer;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class UserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::Reset();
        platform::ResetWindowingForTests();
        received.clear();
        reaction = nullptr;
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(6); // a system colour + 1, as classes may give
        wc.lpszClassName = "TestClass";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    void TearDown() override {
        reaction = nullptr;
        platform::ResetWindowingForTests();
        headless::Reset();
    }

    static HWND Create(DWORD style = WS_POPUP | WS_VISIBLE, HWND parent = nullptr,
                       const char* title = "Test") {
        return CreateWindowExA(0, "TestClass", title, style, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                               parent, nullptr, nullptr, nullptr);
    }

    // The messages of one kind the procedure received, as their wParams.
    static std::vector<WPARAM> Params(UINT message) {
        std::vector<WPARAM> params;
        for (const Received& r : received)
            if (r.message == message) params.push_back(r.wParam);
        return params;
    }

    // The order in which the procedure received messages of the given kinds.
    static std::vector<UINT> Sequence(std::initializer_list<UINT> kinds) {
        std::vector<UINT> sequence;
        for (const Received& r : received)
            for (UINT kind : kinds)
                if (r.message == kind) sequence.push_back(kind);
        return sequence;
    }

    // Runs the program's loop until nothing is waiting; returns what it dispatched.
    static std::vector<MSG> Drain() {
        std::vector<MSG> dispatched;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
            dispatched.push_back(msg);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return dispatched;
    }

    // Answers WM_PAINT the way the game does: BeginPaint, then EndPaint.
    static void PaintLikeTheGame() {
        reaction = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message != WM_PAINT) return std::nullopt;
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        };
    }
};
