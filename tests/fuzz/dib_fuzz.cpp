// libFuzzer target: any bytes as a BMP file, read by CDib::ReadBMP and
// painted onto a surface of the headless platform at a few positions.
// Nothing may read or write outside a block, whatever the file says.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

#include <ddraw.h>

#include "dib.h"

namespace {

LPDIRECTDRAW Display = nullptr;
LPDIRECTDRAWSURFACE Target = nullptr;
std::string Path;

bool SetUpTarget() {
    if (DirectDrawCreate(nullptr, &Display, nullptr) != DD_OK) return false;
    if (Display->SetCooperativeLevel(nullptr, DDSCL_NORMAL) != DD_OK) return false;
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    ddsd.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    ddsd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    ddsd.dwWidth = 320;
    ddsd.dwHeight = 240;
    return Display->CreateSurface(&ddsd, &Target, nullptr) == DD_OK;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Path = "/tmp/qv-dib-fuzz-" + std::to_string(static_cast<long>(getpid())) + ".bmp";
    if (!SetUpTarget()) {
        std::fprintf(stderr, "dib_fuzz: no surface to paint on\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(Path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    CDib dib;
    dib.ReadBMP(Path.c_str());
    HDC hdc = nullptr;
    if (Target->GetDC(&hdc) == DD_OK) {
        dib.Paint(hdc, 0, 0);
        dib.Paint(hdc, -7, 100);
        RECT rect = {10, 10, 90, 70};
        dib.PaintRect(hdc, &rect);
        Target->ReleaseDC(hdc);
    }
    // The pixel operations on whatever was read.
    volatile int sum = 0;
    for (int y = -1; y < 4; y++)
        for (int x = -1; x < 4; x++) sum = sum + dib.GetPixelIndex(x, y);
    CDib copy;
    copy.CopyAreaTransparent(&dib, RECT{0, 0, 8, 8}, RECT{1, 1, 0, 0}, 3);
    return 0;
}
