// GDI objects: logical palettes made by CreatePalette, the stock objects of
// GetStockObject, and DeleteObject for both. A handle is the address of the
// object; live palettes are kept in a registry so that DeleteObject can
// tell them from anything else.
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include <windows.h>

#include "device_context.h"
#include "faults.h"

namespace {

enum class Kind { None, Brush, Pen, Palette };

struct GdiObject {
    Kind kind = Kind::None;
    std::vector<PALETTEENTRY> entries; // palettes
};

std::unordered_map<const void*, std::unique_ptr<GdiObject>>& Palettes() {
    static std::unordered_map<const void*, std::unique_ptr<GdiObject>> palettes;
    return palettes;
}

// The stock palette holds the system's 20 static colours.
GdiObject DefaultPaletteObject() {
    GdiObject palette{Kind::Palette, {}};
    const PALETTEENTRY* system = platform::DefaultPalette();
    palette.entries.assign(system, system + 10);
    palette.entries.insert(palette.entries.end(), system + 246, system + 256);
    return palette;
}

// The stock objects by GetStockObject index. Kind::None marks the indices
// of objects that do not exist here (fonts): no text is ever drawn.
constexpr int kStockCount = DEFAULT_PALETTE + 1;

std::array<GdiObject, kStockCount>& StockObjects() {
    static std::array<GdiObject, kStockCount> stock = [] {
        std::array<GdiObject, kStockCount> objects{};
        for (int i = WHITE_BRUSH; i <= NULL_BRUSH; i++) objects[i].kind = Kind::Brush;
        for (int i = WHITE_PEN; i <= NULL_PEN; i++) objects[i].kind = Kind::Pen;
        objects[DEFAULT_PALETTE] = DefaultPaletteObject();
        return objects;
    }();
    return stock;
}

bool IsStockObject(const void* handle) {
    const auto& stock = StockObjects();
    for (const GdiObject& object : stock)
        if (handle == &object) return object.kind != Kind::None;
    return false;
}

} // namespace

// A logical palette of the given colours: palVersion must be 0x300 and
// palNumEntries 1 to 256 (an 8-bit display has no more). NULL otherwise.
extern "C" HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal) {
    int32_t code = 0;
    if (platform::InjectedFailure("CreatePalette", &code)) {
        SetLastError(static_cast<DWORD>(code));
        return nullptr;
    }
    if (!plpal || plpal->palVersion != 0x300 || plpal->palNumEntries == 0 || plpal->palNumEntries > 256) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto palette = std::make_unique<GdiObject>(GdiObject{Kind::Palette, {}});
    palette->entries.assign(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries);
    const void* handle = palette.get();
    Palettes().emplace(handle, std::move(palette));
    return reinterpret_cast<HPALETTE>(const_cast<void*>(handle));
}

// Deletes a palette made by CreatePalette (TRUE). Stock objects are never
// deleted, yet answer TRUE as Windows does; anything else answers FALSE.
extern "C" BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    int32_t code = 0;
    if (platform::InjectedFailure("DeleteObject", &code)) {
        SetLastError(static_cast<DWORD>(code));
        return FALSE;
    }
    if (ho && IsStockObject(ho)) return TRUE;
    if (ho && Palettes().erase(ho) != 0) return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

// The stock brushes (WHITE_BRUSH .. NULL_BRUSH), pens (WHITE_PEN .. NULL_PEN)
// and DEFAULT_PALETTE. Fonts and other indices answer NULL: no text is ever
// drawn here.
extern "C" HGDIOBJ WINAPI GetStockObject(int i) {
    int32_t code = 0;
    if (platform::InjectedFailure("GetStockObject", &code)) {
        SetLastError(static_cast<DWORD>(code));
        return nullptr;
    }
    if (i < 0 || i >= kStockCount || StockObjects()[i].kind == Kind::None) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return &StockObjects()[i];
}
