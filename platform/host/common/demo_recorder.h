// The record a host keeps of a live game from start-up, for saving as a
// demo. The host tells it every pass boundary, every event it hands to the
// program, every value GetTickCount returns and every other answer it
// gives; changes of the key table arrive through the table's observer.
// Nothing here touches a host library; it is checked on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo_format.h"
#include "host.h"

namespace hostcommon {

class DemoRecorder final : public host::KeyTableObserver {
  public:
    void Pump();
    void Tick(uint32_t value);
    void Event(const host::Event& event);
    void Answer(int32_t value);

    void OnKeyPressed(int vk) override;
    void OnKeyReleased(int vk) override;
    void OnAllKeysReleased() override;

    uint32_t Passes() const { return passes_; }
    // The demo so far as a file, with the sheet it was played with. False,
    // with `error` set, when the record has outgrown what a demo may hold.
    bool File(const DemoSheet& sheet, std::vector<uint8_t>& file, std::string& error) const;

  private:
    void Add(const DemoItem& item) { EncodeDemoItem(item, tick_, body_); }

    std::vector<uint8_t> body_;
    uint32_t tick_ = 0;
    uint32_t passes_ = 0;
};

} // namespace hostcommon
