// KeyTable: the asynchronous key state behind GetAsyncKeyState, kept by the
// host as keys go down and up, independent of the message queue.
#pragma once

#include <array>
#include <cstdint>

namespace host {

// Hears every change made to a KeyTable, in order (a demo records them).
class KeyTableObserver {
  public:
    virtual void OnKeyPressed(int vk) = 0;
    virtual void OnKeyReleased(int vk) = 0;
    virtual void OnAllKeysReleased() = 0;

  protected:
    ~KeyTableObserver() = default;
};

class KeyTable final {
  public:
    // A key went down (first press or auto-repeat). Codes outside 0..255 are ignored.
    void Press(int vk);
    // A key went up.
    void Release(int vk);
    // Every key up and every pending press forgotten, as when focus is lost.
    void ReleaseAll();
    // GetAsyncKeyState's answer: 0x8000 while down, | 1 when pressed since the
    // previous query of this key. The query clears the pressed bit.
    int16_t Query(int vk);
    bool IsDown(int vk) const;
    // Every Press, Release and ReleaseAll from now on is told to `observer`
    // (null: to nobody). Presses and releases of codes outside 0..255 are not.
    void SetObserver(KeyTableObserver* observer) { observer_ = observer; }

  private:
    static bool InRange(int vk) { return vk >= 0 && vk < 256; }
    std::array<bool, 256> down_{};
    std::array<bool, 256> pressedSinceQuery_{};
    KeyTableObserver* observer_ = nullptr;
};

} // namespace host
