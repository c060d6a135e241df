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

} // namespace

namespace sdlhost {

hostcommon::DemoRecorder& DemoRecord() {
    return Live().Record();
}

void SaveDemoOnKey() {
    std::vector<uint8_t> bytes;
    uint32_t passes = 0;
    std::string error;
    // F9 arrives while the host takes a pass's events: that pass has not run.
    if (!Live().File(hostcommon::DemoRecorder::Extent::CompletedPasses, bytes, passes, error)) {
        std::fprintf(stderr, "sdl: cannot save the demo: %s\n", error.c_str());
        return;
    }
    std::error_code ec;
    std::filesystem::path folder =
        PicturesFolder(std::getenv("XDG_PICTURES_DIR"), std::getenv("HOME"), std::filesystem::current_path(ec));
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    Report(hostcommon::SaveDemoIn(folder, local, bytes), passes, ShownScreenHash());
}

void SaveDemoAtExit() {
    const char* path = std::getenv("QV_DEMO");
    if (!path || !*path) return;
    std::vector<uint8_t> bytes;
    uint32_t passes = 0;
    std::string error;
    if (!Live().File(hostcommon::DemoRecorder::Extent::Everything, bytes, passes, error)) {
        std::fprintf(stderr, "sdl: cannot save the demo: %s\n", error.c_str());
        return;
    }
    Report(hostcommon::SaveDemoAs(path, bytes), passes, ShownScreenHash());
}

} // namespace sdlhost

namespace host {

void NoteFileOpened(const char* path) {
    Live().NoteFileOpened(path);
}

} // namespace host
