// A demo played in the page: the web host, in playback mode, hands the
// program the recorded events, key-table changes, ticks and answers pass by
// pass instead of the page's own input, and asks it to close once the record
// runs out. The order is the shared player's (demo_player.h), the same the
// headless runner replays: a pass's key-table changes and events are queued
// as it begins, and each change reaches the key table just before the event
// it was recorded before.
// Nothing here touches the browser, so it is checked on its own.
#pragma once

#include <cstdint>
#include <deque>

#include "demo_player.h"
#include "host.h"

namespace webhost {

class Playback final {
  public:
    explicit Playback(const hostcommon::Demo& demo) : player_(demo) {}

    // The message functions are about to take the host's events: the next
    // recorded pass is queued; when the record has run out, a Close.
    void OnPump();
    // GetMessageA waits: the passes up to the one that woke the live
    // program are queued (or a Close when none is left).
    void OnWait();

    // The next queued event, after the key-table changes queued before it
    // are made to `keys`. False when no event is queued; the changes
    // queued last are made then.
    bool Poll(host::Event& event, host::KeyTable& keys);
    bool HasEvent() const;

    // GetTickCount's next recorded value (the last one again once the
    // record has none left).
    uint32_t Tick() { return player_.NextTick(); }
    // The recorded answer to the program's next question, or `own` when
    // the record holds no more.
    int32_t Answer(int32_t own);

    // The record ran out (or was stopped): the program has been asked to close.
    bool Ended() const { return player_.Ended(); }
    uint32_t PassesPlayed() const { return player_.PassesPlayed(); }
    uint32_t Passes() const { return player_.Passes(); }

  private:
    void Queue(const hostcommon::DemoPlayer::Step& step);

    hostcommon::DemoPlayer player_;
    std::deque<hostcommon::DemoItem> queue_;
};

} // namespace webhost
