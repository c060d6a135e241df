// The SDL host's demo: kept from start-up, saved on F9 and at exit.
#include "sdl_demo.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "host.h"
#include "sdl_host.h"
#include "sdl_screenshot.h"

namespace {

hostcommon::LiveDemo& Live() {
    // Never destroyed: the exit-time save may run after static destructors.
    static auto* demo = [] {
        auto* live = new hostcommon::LiveDemo(host::Keys());
        std::atexit(sdlhost::SaveDemoAtExit);
        return live;
    }();
    return *demo;
}

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
    std::vector<uint8_t> bytes;
    uint32_t passes = 0;
    std::string error;
    if (!Live().File(extent, bytes, passes, error)) {
        std::fprintf(stderr, "sdl: cannot save the demo: %s\n", error.c_str());
        return;
    }
    Report(save(bytes), passes, sdlhost::ShownScreenHash());
}

} // namespace

namespace sdlhost {

hostcommon::DemoRecorder& DemoRecord() {
    return Live().Record();
}

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

namespace host {

void NoteFileOpened(const char* path) {
    Live().NoteFileOpened(path);
}

} // namespace host
