// The SDL host's demo: kept from start-up, saved on F9 and at exit.
#include "sdl_demo.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "host_core.h"
#include "sdl_host.h"
#include "sdl_screenshot.h"

namespace {

// The exit-time save, registered as the program starts.
[[maybe_unused]] const bool kSavesAtExit = [] {
    std::atexit(sdlhost::SaveDemoAtExit);
    return true;
}();

void Report(const hostcommon::SavedDemo& saved, uint32_t passes, const std::string& screenHash) {
    if (saved.ok)
        std::fprintf(stderr, "%s\n", hostcommon::DemoSavedLine(saved.path, passes, screenHash).c_str());
    else
        std::fprintf(stderr, "sdl: cannot save the demo to %s: %s\n", saved.path.c_str(), saved.error.c_str());
}

// The demo's bytes to `save` (where to put them): false, said on stderr,
// when the record cannot be made into a file.
template <typename Save>
void SaveAndReport(hostcommon::DemoRecorder::Extent extent, Save save) {
    hostcommon::LiveDemo* live = hostcommon::Demos().Live();
    if (!live) return;
    std::vector<uint8_t> bytes;
    uint32_t passes = 0;
    std::string error;
    if (!live->File(extent, bytes, passes, error)) {
        std::fprintf(stderr, "sdl: cannot save the demo: %s\n", error.c_str());
        return;
    }
    Report(save(bytes), passes, sdlhost::ShownScreenHash());
}

} // namespace

namespace sdlhost {

void SaveDemoOnKey() {
    // F9 arrives while the host takes a pass's events: that pass has not run.
    SaveAndReport(hostcommon::DemoRecorder::Extent::CompletedPasses, [](const std::vector<uint8_t>& bytes) {
        std::error_code ec;
        std::filesystem::path folder = PicturesFolder(std::getenv("XDG_PICTURES_DIR"), std::getenv("HOME"),
                                                      std::filesystem::current_path(ec));
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return hostcommon::SaveDemoIn(folder, local, bytes);
    });
}

void SaveDemoAtExit() {
    const char* path = std::getenv("QV_DEMO");
    if (!path || !*path) return;
    SaveAndReport(hostcommon::DemoRecorder::Extent::Everything,
                  [path](const std::vector<uint8_t>& bytes) { return hostcommon::SaveDemoAs(path, bytes); });
}

} // namespace sdlhost
