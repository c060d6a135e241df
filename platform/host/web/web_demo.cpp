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

#include "demo_live.h"
#include "host.h"
#include "web_demo_check.h"
#include "web_host.h"
#include "web_playback.h"

namespace {

struct DemoState {
    bool decided = false;
    std::unique_ptr<hostcommon::LiveDemo> live;
    std::unique_ptr<webhost::Playback> playback;
    std::string checked; // qv_demo_check's last answer
};

DemoState& D() {
    static DemoState state;
    return state;
}

// A live game unless a playback was started before the program's first
// question: the record then begins with that question.
DemoState& Decided() {
    DemoState& d = D();
    if (!d.decided) {
        d.decided = true;
        d.live = std::make_unique<hostcommon::LiveDemo>(host::Keys());
    }
    return d;
}

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

void ReportProgress(const webhost::Playback& playback) {
    std::string hash;
    if (playback.Ended()) hash = webhost::ShownScreenHash();
    qv_web_demo_progress(static_cast<int>(playback.PassesPlayed()), static_cast<int>(playback.Passes()),
                         playback.Ended() ? 1 : 0, playback.Ended() ? hash.c_str() : nullptr);
}

} // namespace

namespace webhost {

void StartPlaybackIfAsked(const char* path) {
    DemoState& d = D();
    if (d.decided || !path) return;
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
    d.decided = true;
    d.playback = std::make_unique<Playback>(demo);
    ReportProgress(*d.playback);
}

Playback* Playing() {
    return Decided().playback.get();
}

hostcommon::DemoRecorder* Recording() {
    DemoState& d = Decided();
    return d.live ? &d.live->Record() : nullptr;
}

uint32_t Tick(uint32_t own) {
    DemoState& d = Decided();
    if (d.playback) return d.playback->Tick();
    d.live->Record().Tick(own);
    return own;
}

int32_t Answer(int32_t own) {
    DemoState& d = Decided();
    if (d.playback) return d.playback->Answer(own);
    d.live->Record().Answer(own);
    return own;
}

void SaveDemo() {
    DemoState& d = Decided();
    if (!d.live) return;
    std::vector<uint8_t> bytes;
    uint32_t passes = 0;
    std::string error;
    if (!d.live->File(hostcommon::DemoRecorder::Extent::Everything, bytes, passes, error)) {
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

void PlaybackPump() {
    Playback* playback = Playing();
    if (!playback) return;
    // A paused playback runs no pass, so no frame: the page wakes it on resuming.
    while (qv_web_demo_paused()) {
        ForgetFrameStart();
        Sleep(-1);
    }
    bool ended = playback->Ended();
    playback->OnPump();
    if (!ended) ReportProgress(*playback);
}

void PlaybackWait() {
    Playback* playback = Playing();
    if (!playback) return;
    bool ended = playback->Ended();
    playback->OnWait();
    if (!ended) ReportProgress(*playback);
    // The live program waited here for the page; the playback goes straight
    // on, but lets the page show its progress meanwhile. After the end only
    // the close is left to take, which needs no hurry.
    ForgetFrameStart();
    Sleep(ended ? 100 : 0);
}

} // namespace webhost

namespace host {

void NoteFileOpened(const char* path) {
    DemoState& d = Decided();
    if (d.live) d.live->NoteFileOpened(path);
}

} // namespace host

// The page asks, before it reloads into a demo the player chose, whether
// the demo at /candidate.demo can be played here. Returns "" when it can,
// else the reason, for the page to show; the game goes on either way.
extern "C" EMSCRIPTEN_KEEPALIVE const char* qv_demo_check() {
    DemoState& d = D();
    hostcommon::Demo demo;
    std::string error;
    d.checked = CheckFile("/candidate.demo", demo, error) ? std::string() : error;
    std::remove("/candidate.demo");
    return d.checked.c_str();
}
