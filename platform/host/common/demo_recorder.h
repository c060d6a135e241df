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

    // What a saved demo keeps: everything recorded, or only the passes
    // before the one now beginning (a host that sees the save key while
    // taking the events of a pass has not run that pass yet).
    enum class Extent { Everything, CompletedPasses };

    // The demo as a file, with the sheet it was played with; `passes`
    // receives how many it holds. False, with `error` set, when the record
    // has outgrown what a demo may hold.
    bool File(const DemoSheet& sheet, Extent extent, std::vector<uint8_t>& file, uint32_t& passes,
              std::string& error) const;

  private:
    void Add(const DemoItem& item) { EncodeDemoItem(item, tick_, body_); }

    std::vector<uint8_t> body_;
    uint32_t tick_ = 0;
    uint32_t passes_ = 0;
    size_t lastPumpAt_ = 0; // where the latest pass's Pump item starts
};

} // namespace hostcommon
