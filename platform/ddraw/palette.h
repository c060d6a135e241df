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
    // one reference; the 256 entries are copied as given, peFlags included.
    Palette(std::shared_ptr<Device> device, const PALETTEENTRY* entries);

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

    std::shared_ptr<Device> device_;
    ULONG refs_ = 1;
    std::array<PALETTEENTRY, 256> entries_{};
};

} // namespace platform::ddraw
