// The web host's demos: the record of a live game and its F9 download, the
// start of a playback the page asked for, the playback's pauses and
// progress, and the check the page runs on a demo before it reloads into it.
#include "web_demo.h"

#include <emscripten.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <vector>

#include "host_core.h"
#include "web_demo_check.h"
#include "web_host.h"

namespace {

using hostcommon::Demos;

// Reads at most one byte more than a demo may hold, so an oversized file is
// seen as such without reading all of it.
bool ReadWhole(const char* path, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.clear();
    char chunk[65536];
    while (bytes.size() <= hostcommon::kDemoMaxFileBytes && file.read(chunk, sizeof chunk).gcount() > 0)
        bytes.insert(bytes.end(), chunk, chunk + file.gcount());
    return !file.bad();
}

// Checks the demo at `path` against the city2.bmp in the current folder,
// where the program finds it.
bool CheckFile(const char* path, hostcommon::Demo& demo, std::string& error) {
    std::vector<uint8_t> bytes, sheet;
    if (!ReadWhole(path, bytes)) {
        error = "the demo could not be read";
        return false;
    }
    bool haveSheet = ReadWhole("city2.bmp", sheet);
    return webhost::CheckDemo(bytes.data(), bytes.size(), haveSheet ? sheet.data() : nullptr, sheet.size(),
                              demo, error);
}

// The page keeps the saved demo and offers it as a download.
EM_JS(void, qv_web_demo_saved, (const uint8_t* bytes, int size, const char* name, int passes, const char* hash), {
    if (Module.qvOnDemoSaved)
        Module.qvOnDemoSaved(HEAPU8.slice(bytes, bytes + size), UTF8ToString(name), passes, UTF8ToString(hash));
});

EM_JS(void, qv_web_demo_refused, (const char* why), {
    if (Module.qvOnDemoRefused) Module.qvOnDemoRefused(UTF8ToString(why));
});

EM_JS(void, qv_web_demo_progress, (int played, int passes, int ended, const char* hash), {
    if (Module.qvOnDemoProgress) Module.qvOnDemoProgress(played, passes, !!ended, hash ? UTF8ToString(hash) : null);
});

EM_JS(int, qv_web_demo_paused, (), {
    return Module.qvDemoPaused ? 1 : 0;
});

void ReportProgress() {
    const hostcommon::DemoPlayer& playback = *Demos().Player();
    std::string hash;
    if (playback.Ended()) hash = webhost::ShownScreenHash();
    qv_web_demo_progress(static_cast<int>(playback.PassesPlayed()), static_cast<int>(playback.Passes()),
                         playback.Ended() ? 1 : 0, playback.Ended() ? hash.c_str() : nullptr);
}

// After each played pass the page shows how far the playback is. The live
// program waited for the page where a playback waits; the playback goes
// straight on, but lets the page show its progress meanwhile. After the end
// only the close is left to take, which needs no hurry.
void OnPlaybackStep(bool endedBefore, bool waited) {
    if (!endedBefore) ReportProgress();
    if (!waited) return;
    webhost::ForgetFrameStart();
    webhost::Sleep(endedBefore ? 100 : 0);
}

} // namespace

namespace webhost {

void StartPlaybackIfAsked(const char* path) {
    if (Demos().Decided() || !path) return;
    std::ifstream probe(path, std::ios::binary);
    if (!probe) return;
    probe.close();
    hostcommon::Demo demo;
    std::string error;
    bool ok = CheckFile(path, demo, error);
    std::remove(path);
    if (!ok) {
        qv_web_demo_refused(error.c_str());
        return;
    }
    Demos().Play(demo);
    Demos().SetStepObserver(OnPlaybackStep);
    ReportProgress();
}

void SaveDemo() {
    hostcommon::LiveDemo* live = Demos().Live();
    if (!live) return;
    std::vector<uint8_t> bytes;
    uint32_t passes = 0;
    std::string error;
    if (!live->File(hostcommon::DemoRecorder::Extent::Everything, bytes, passes, error)) {
        std::fprintf(stderr, "web: cannot save the demo: %s\n", error.c_str());
        return;
    }
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string name = hostcommon::DemoFileName(local, 1);
    std::string hash = ShownScreenHash();
    std::fprintf(stderr, "%s\n", hostcommon::DemoSavedLine(name, passes, hash).c_str());
    qv_web_demo_saved(bytes.data(), static_cast<int>(bytes.size()), name.c_str(), static_cast<int>(passes),
                      hash.c_str());
}

void HoldPausedPlayback() {
    // A paused playback runs no pass, so no frame: the page wakes it on resuming.
    while (qv_web_demo_paused()) {
        ForgetFrameStart();
        Sleep(-1);
    }
}

} // namespace webhost

// The page asks, before it reloads into a demo the player chose, whether
// the demo at /candidate.demo can be played here. Returns "" when it can,
// else the reason, for the page to show; the game goes on either way.
extern "C" EMSCRIPTEN_KEEPALIVE const char* qv_demo_check() {
    static std::string checked; // the last answer, read by the page
    hostcommon::Demo demo;
    std::string error;
    checked = CheckFile("/candidate.demo", demo, error) ? std::string() : error;
    std::remove("/candidate.demo");
    return checked.c_str();
}
