// Tells a host when the game's message loop has gone idle for real, so that
// the host may wait for an event instead of letting the loop spin. Shared by
// the hosts that run the game for a person (SDL, web).
#pragma once

namespace hostcommon {

// Waiting is allowed only after a few empty peeks in a row with no page flip
// and no event between them, so a running game's frames and messages are
// never held up.
class IdleGate final {
  public:
    static constexpr int kEmptyPeeksBeforeWait = 3;

    // PeekMessageA found nothing. True when the host should wait now.
    bool OnEmptyPeek() {
        if (emptyPeeks_ < kEmptyPeeksBeforeWait) emptyPeeks_++;
        return emptyPeeks_ >= kEmptyPeeksBeforeWait;
    }
    // A paced frame was presented, or an event handed to the program.
    void OnActivity() { emptyPeeks_ = 0; }

  private:
    int emptyPeeks_ = 0;
};

} // namespace hostcommon
