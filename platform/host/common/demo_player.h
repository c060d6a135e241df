// A demo played back pass by pass, for any host: the items of each recorded
// pass handed over as the program's passes begin, GetTickCount's recorded
// values in order, and the host's other recorded answers in order. The host
// turns the items into its events and key-table changes and, when the
// record runs out, asks the program to close. The headless runner and the
// web page's playback both stand on it.
// Nothing here touches a host library; it is checked on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "demo_format.h"

namespace hostcommon {

class DemoPlayer final {
  public:
    explicit DemoPlayer(const Demo& demo);

    // What a call brings: the events and key-table changes to hand to the
    // program, in recorded order, and whether the record ran out with it
    // (true exactly once: the host then asks the program to close).
    struct Step {
        std::vector<DemoItem> items;
        bool ranOut = false;
    };

    // The message functions are about to take the host's events: the next
    // recorded pass's items (what came before the first pass comes with
    // it). Nothing when a Wait already brought this pass, or once ended.
    Step Pump();
    // GetMessageA waits on an empty queue: the live program woke with the
    // first pass that brought an event. The passes up to it changed nothing
    // the program could see, so they come together, and the Pump that
    // follows brings nothing more. No such pass left: the record ran out.
    Step Wait();
    // Ends the playback before the record runs out. True when that ended
    // it just now; false when it had ended already.
    bool Stop();
    bool Ended() const { return ended_; }

    // The next recorded GetTickCount value. A program that reads the clock
    // more often than the live one did has left the record: the clock then
    // runs on a millisecond a read from the last value handed out, so that
    // a program waiting on it is not held for ever.
    uint32_t NextTick();
    // The last tick handed out (0 before the first).
    uint32_t LastTick() const { return lastTick_; }
    // The next recorded answer; false when none is left (the host then
    // answers as it would itself).
    bool NextAnswer(int32_t* answer);

    // Passes of the record handed over so far, and in all.
    uint32_t PassesPlayed() const;
    uint32_t Passes() const { return static_cast<uint32_t>(passes_.size() - 1); }

  private:
    // Appends the next pass's items; false when there is none.
    bool LoadPass(std::vector<DemoItem>& items);

    // passes_[0] holds what came before the first pass, passes_[n] the n-th pass.
    std::vector<std::vector<DemoItem>> passes_;
    size_t nextPass_ = 1;
    std::vector<uint32_t> ticks_;
    size_t nextTick_ = 0;
    uint32_t lastTick_ = 0;
    std::vector<int32_t> answers_;
    size_t nextAnswer_ = 0;
    bool preloaded_ = false;
    bool ended_ = false;
};

// True for the items that are events handed to the program (key down and
// up, activate, deactivate, close), false for key-table changes and the rest.
bool IsDemoEvent(DemoOp op);

} // namespace hostcommon
