// Replaying a demo on the headless host: each pass gets the events and key
// table changes recorded for it, GetTickCount answers the recorded ticks
// in order, and the host's other answers (activation grants, the display
// mode, message box buttons) are the recorded ones. When the record runs
// out, the program is asked to close. The order of it all is the shared
// player's (demo_player.h); this puts it into the headless host.
#pragma once

#include <cstdint>

#include "demo_format.h"
#include "demo_player.h"

class DemoPlayback {
  public:
    explicit DemoPlayback(const hostcommon::Demo& demo) : player_(demo) {}

    // Puts the headless host under the demo's control.
    void Install();
    // The message functions are about to take the host's events: a pass begins.
    void OnPump();
    // GetMessageA waits: what woke the live program comes now.
    void OnWait();
    // Nothing more is played: the program is asked to close.
    void Stop();

    bool Ended() const { return player_.Ended(); }
    // The last tick handed to the program (0 before the first).
    uint32_t LastTick() const { return player_.LastTick(); }

  private:
    // Queues a step's events and key changes, and the close when the record ran out.
    static void Feed(const hostcommon::DemoPlayer::Step& step);

    hostcommon::DemoPlayer player_;
};
