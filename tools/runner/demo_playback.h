// Replaying a demo on the headless host: each pass gets the events and key
// table changes recorded for it, GetTickCount answers the recorded ticks
// in order, and the host's other answers (activation grants, the display
// mode, message box buttons) are the recorded ones. When the record runs
// out, the program is asked to close.
#pragma once

#include <cstdint>
#include <vector>

#include "demo_format.h"

class DemoPlayback {
  public:
    explicit DemoPlayback(const hostcommon::Demo& demo);

    // Puts the headless host under the demo's control.
    void Install();
    // The message functions are about to take the host's events: a pass begins.
    void OnPump();
    // GetMessageA waits: what woke the live program comes now.
    void OnWait();
    // Nothing more is played: the program is asked to close.
    void Stop();

    bool Ended() const { return closed_; }
    // The last tick handed to the program (0 before the first).
    uint32_t LastTick() const { return lastTick_; }

  private:
    // Queues the next recorded pass's events and key changes.
    bool LoadPass();
    uint32_t NextTick();
    bool NextAnswer(int32_t* answer);

    // passes_[0] holds what came before the first pass, passes_[n] the n-th pass.
    std::vector<std::vector<hostcommon::DemoItem>> passes_;
    size_t nextPass_ = 0;
    std::vector<uint32_t> ticks_;
    size_t nextTick_ = 0;
    uint32_t lastTick_ = 0;
    std::vector<int32_t> answers_;
    size_t nextAnswer_ = 0;
    bool preloaded_ = false;
    bool closed_ = false;
};
