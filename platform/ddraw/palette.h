// IDirectDrawPalette: 256 colours that surfaces share by reference.
#pragma once

#include <array>
#include <memory>

#include <ddraw.h>

namespace platform::ddraw {

struct Device;

class Palette final : public IDirectDrawPalette {
  public:
    // Made by IDirectDraw::CreatePalette (which validated the flags) with
    // one reference; the 256 entries are copied as given, peFlags included,
    // except that without DDPCAPS_ALLOW256 in `flags` entry 0 is black and
    // entry 255 white whatever the table holds.
    Palette(std::shared_ptr<Device> device, DWORD flags, const PALETTEENTRY* entries);

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries,
                       LPPALETTEENTRY lpEntries) override;
    HRESULT SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount,
                       LPPALETTEENTRY lpEntries) override;

    // The 256 colours now in force.
    const PALETTEENTRY* Entries() const { return entries_.data(); }

  private:
    ~Palette() = default;

    // Puts black back at entry 0 and white at 255 unless all 256 are ours.
    void KeepReservedEntries();

    std::shared_ptr<Device> device_;
    bool allow256_;
    ULONG refs_ = 1;
    std::array<PALETTEENTRY, 256> entries_{};
};

} // namespace platform::ddraw
