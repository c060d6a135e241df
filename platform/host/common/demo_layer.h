// Demos at the seam between the API layer and whichever host runs: in a
// live game every tick, event, key-table change and answer the host gives
// the program is recorded; in a playback the record gives them instead, pass
// by pass, and the host's own input never reaches the program. The mode is
// decided at the program's first question: a playback started before it,
// else a record where the host keeps one, else none.
// The headless runner, the page and the desktop game all stand on this.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "demo_format.h"
#include "demo_live.h"
#include "demo_player.h"
#include "input_core.h"

namespace hostcommon {

// Queues a played step into `input`: key-table changes as changes, events
// as events that leave the table alone, and a Close when the record ran out.
void QueueDemoStep(const DemoPlayer::Step& step, InputCore& input);

class DemoLayer final {
  public:
    enum class Mode { Undecided, Off, Recording, Playing };

    // `records`: a live game is recorded (a person plays), else not.
    DemoLayer(InputCore& input, bool records) : input_(input), records_(records) {}

    // Plays `demo` from start-up instead of the host's input. False (and
    // nothing changes) once the mode is decided.
    bool Play(const Demo& demo);
    Mode Decide();
    // True once the mode is decided (asking this decides nothing).
    bool Decided() const { return mode_ != Mode::Undecided; }
    bool Playing() { return Decide() == Mode::Playing; }
    // The live record, or null when none is kept.
    LiveDemo* Live() { return Decide() == Mode::Recording ? live_.get() : nullptr; }
    // The playback, or null.
    const DemoPlayer* Player() { return Playing() ? player_.get() : nullptr; }

    // GetTickCount's value: `own` (recorded) live, the record's in a playback.
    uint32_t Tick(uint32_t own);
    // Any other answer of the host, the same way.
    int32_t Answer(int32_t own);
    bool Answer(bool own) { return Answer(int32_t{own ? 1 : 0}) != 0; }
    // An event handed to the program (recorded live).
    void Event(const host::Event& event);
    // A pass begins: recorded live; the pass's items queued in a playback.
    void Pump();
    // GetMessageA waits on an empty queue in a playback: what woke the live
    // program is queued (or the close).
    void Wait();
    // Ends a playback before the record runs out, queueing the close. True
    // when that ended it just now.
    bool Stop();
    void NoteFileOpened(const char* path);
    // Undecided again, with no record and no playback (a test's fresh start).
    void Reset();

    // Told after each Pump or Wait of a playback: whether the playback had
    // ended before it, and whether it was a Wait (the page shows progress).
    void SetStepObserver(std::function<void(bool endedBefore, bool waited)> observer) {
        observer_ = std::move(observer);
    }

  private:
    void Played(const DemoPlayer::Step& step, bool endedBefore, bool waited);

    InputCore& input_;
    bool records_;
    Mode mode_ = Mode::Undecided;
    std::unique_ptr<LiveDemo> live_;
    std::unique_ptr<DemoPlayer> player_;
    std::function<void(bool, bool)> observer_;
};

} // namespace hostcommon
