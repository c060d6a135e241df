// The frame's surface work against the memory-bandwidth limit: ClearSurface
// of the back buffer against memset of 640 x 480 bytes, DrawBackground
// against memcpy of 479 rows of 639 bytes (both with the surfaces' pitch of
// 640), and one busy GameFrame against a memset plus a memcpy of the frame
// (each also timed alone, so scripts/bench can check the pair against its
// parts). Every baseline copy goes between blocks apart modulo 4 KB, as the
// surfaces' are (apart_buffers.h).
//
// The busy frame is the frame after the 3000 passes of bench/busy.script,
// played as the headless runner plays it: the script's held keys and a
// clock of 16 ms per pass (the runner's trace of that script shows the same
// world). Each iteration puts the world back to that moment first (a copy
// of under 2 KB, timed too) and plays one more pass of the script's last line.
//
// "Presentation included" is GameFrame itself: on the headless host the flip
// copies the shown frame and its palette into the host's screen record.
// "Excluded" calls GameFrame's steps 1 to 21 in its order, leaving out only
// step 22, FlipPages; the set-up checks that they leave the world exactly as
// GameFrame does. The flip and its copy are also timed alone.
#include <cstring>
#include <fstream>
#include <vector>

#include <benchmark/benchmark.h>

#include "apart_buffers.h"
#include "collisions.h"
#include "foes.h"
#include "frame.h"
#include "game_session.h"
#include "input_script.h"
#include "render.h"
#include "surface_ops.h"
#include "world.h"

namespace {

constexpr int kBusyPasses = 3000;
constexpr uint32_t kStartTick = 1000000, kMsPerPass = 16; // the runner's defaults
constexpr size_t kFrameBytes = 640 * 480;

// Every global the frame step reads or writes, as one block of bytes.
struct Region {
    void* at;
    size_t size;
};
const Region kWorld[] = {
    {&Player, sizeof Player},
    {PlayerShots, sizeof PlayerShots},
    {Explosions, sizeof Explosions},
    {BonusItems, sizeof BonusItems},
    {LeftEnemies, sizeof LeftEnemies},
    {RightEnemies, sizeof RightEnemies},
    {&Boss, sizeof Boss},
    {BossShots, sizeof BossShots},
    {&Shield, sizeof Shield},
    {&Lives, sizeof Lives},
    {&BossEnergy, sizeof BossEnergy},
    {&Score, sizeof Score},
    {&FireInterval, sizeof FireInterval},
    {&LastFireTick, sizeof LastFireTick},
    {&RandomState, sizeof RandomState},
};

std::vector<uint8_t> SaveWorld() {
    std::vector<uint8_t> bytes;
    for (const Region& r : kWorld) {
        const auto* at = static_cast<const uint8_t*>(r.at);
        bytes.insert(bytes.end(), at, at + r.size);
    }
    return bytes;
}

void LoadWorld(const std::vector<uint8_t>& bytes) {
    size_t offset = 0;
    for (const Region& r : kWorld) {
        std::memcpy(r.at, bytes.data() + offset, r.size);
        offset += r.size;
    }
}

// As the runner holds a script line's keys: only changes reach the key table.
void HoldKeys(const std::vector<int>& held) {
    for (int vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL}) {
        bool down = false;
        for (int h : held)
            down = down || h == vk;
        if (down != host::Keys().IsDown(vk)) headless::SetKeyDown(vk, down);
    }
}

// The busy moment: the world after the script's passes, the clock at the
// next pass and the last line's keys held. Made once per process.
struct BusyWorld {
    std::vector<uint8_t> world;
    std::vector<int> held;
    int sprites = 0; // objects DrawSprites draws in this world
    bool ok = false;
};

int CountDrawn() {
    int n = Boss.active + Player.active;
    for (const GameObject& o : BonusItems)
        n += o.active;
    for (int i = 0; i < MAX_ENEMY_PAIRS; i++)
        n += LeftEnemies[i].active + RightEnemies[i].active;
    for (const GameObject& o : Explosions)
        n += o.active && o.animFrame < EXPLOSION_FRAMES - 1;
    for (const GameObject& o : BossShots)
        n += o.active;
    for (const GameObject& o : PlayerShots)
        n += o.active;
    return n;
}

BusyWorld PlayScript() {
    BusyWorld busy;
    Script script;
    std::string error;
    std::ifstream file(QV_BUSY_SCRIPT);
    if (!file || !ParseScript(file, script, error) || !StartGame()) return busy;
    long long pass = 0;
    for (const ScriptLine& line : script.lines) {
        if (pass == kBusyPasses) break;
        // Presses go through the message loop, which this replay does not run.
        if (!line.pressed.empty()) return busy;
        HoldKeys(line.held);
        busy.held = line.held;
        for (long long i = 0; i < line.count && pass < kBusyPasses; i++, pass++) {
            headless::SetTickCount(kStartTick + static_cast<uint32_t>(pass) * kMsPerPass);
            GameFrame();
        }
    }
    busy.world = SaveWorld();
    busy.sprites = CountDrawn();
    busy.ok = pass == kBusyPasses;
    return busy;
}

const BusyWorld& Busy() {
    static const BusyWorld busy = PlayScript();
    return busy;
}

// Starts the game and puts it at the busy moment. False when it cannot.
bool EnterBusyWorld() {
    const BusyWorld& busy = Busy();
    if (!busy.ok || !StartGame()) return false;
    LoadWorld(busy.world);
    HoldKeys(busy.held);
    headless::SetTickCount(kStartTick + kBusyPasses * kMsPerPass);
    return true;
}

// GameFrame without step 22 (FlipPages).
void FrameSteps() {
    ReadInput();
    ClampPlayer();
    ClearSurface(lpDDSBack);
    SpawnBonus();
    SpawnBoss();
    SpawnEnemies();
    AnimateExplosions();
    CheckPlayerVsRightEnemies();
    CheckPlayerVsLeftEnemies();
    CheckBonusPickups();
    CheckPlayerVsBoss();
    CheckBossShotsVsPlayer();
    CheckPlayerShots();
    MoveBonus();
    MoveBoss();
    MoveLeftEnemies();
    MoveRightEnemies();
    MoveBossShots();
    MovePlayerShots();
    DrawBackground();
    DrawSprites();
}

// True when FrameSteps leaves the world exactly as GameFrame does.
bool StepsMatchGameFrame() {
    const std::vector<uint8_t>& start = Busy().world;
    LoadWorld(start);
    GameFrame();
    std::vector<uint8_t> byFrame = SaveWorld();
    LoadWorld(start);
    FrameSteps();
    return SaveWorld() == byFrame;
}

void BusyFrame(benchmark::State& state, void (*frame)()) {
    if (!EnterBusyWorld() || !StepsMatchGameFrame()) {
        state.SkipWithError("no busy world, or the steps no longer match GameFrame");
        return;
    }
    const std::vector<uint8_t>& start = Busy().world;
    for (auto _ : state) {
        LoadWorld(start);
        frame();
    }
    state.counters["sprites"] = Busy().sprites;
}

void BM_BusyFrame(benchmark::State& state) {
    BusyFrame(state, &GameFrame);
}

void BM_BusyFrameNoPresent(benchmark::State& state) {
    BusyFrame(state, &FrameSteps);
}

// Step 22 alone: the flip and the headless host's copy of the frame.
void BM_FlipPages(benchmark::State& state) {
    if (!EnterBusyWorld()) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(FlipPages());
}

void BM_ClearSurface(benchmark::State& state) {
    if (!StartGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ClearSurface(lpDDSBack));
}

void BM_DrawBackground(benchmark::State& state) {
    if (!StartGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state) {
        DrawBackground();
        benchmark::ClobberMemory();
    }
}

// The baselines call the C library with sizes the compiler cannot see, as
// the blitter does: a known size would be expanded inline instead.
size_t Opaque(size_t n) {
    benchmark::DoNotOptimize(n);
    return n;
}

void BM_MemsetFrame(benchmark::State& state) {
    const size_t bytes = Opaque(kFrameBytes);
    std::vector<uint8_t> frame(kFrameBytes, 1);
    for (auto _ : state) {
        std::memset(frame.data(), 0, bytes);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
}

// The sheet's 640-byte rows to the frame's 640-byte rows, as the surfaces lie.
void BM_MemcpyBackgroundRows(benchmark::State& state) {
    const size_t width = Opaque(639), rows = Opaque(479);
    ApartBuffers buffers{640 * 700, kFrameBytes};
    auto* sheet = buffers.At<uint8_t>(0);
    auto* frame = buffers.At<uint8_t>(1);
    std::memset(sheet, 7, 640 * 700);
    for (auto _ : state) {
        for (size_t y = 0; y < rows; y++)
            std::memcpy(&frame[y * 640], &sheet[y * 640], width);
        benchmark::DoNotOptimize(frame);
        benchmark::ClobberMemory();
    }
}

// The whole frame to another block: with BM_MemsetFrame, the parts of
// BM_MemsetPlusMemcpyFrame, which scripts/bench checks it against.
void BM_MemcpyFrame(benchmark::State& state) {
    const size_t bytes = Opaque(kFrameBytes);
    ApartBuffers buffers{kFrameBytes, kFrameBytes};
    auto* frame = buffers.At<uint8_t>(0);
    auto* copy = buffers.At<uint8_t>(1);
    std::memset(frame, 1, kFrameBytes);
    for (auto _ : state) {
        std::memcpy(copy, frame, bytes);
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
    }
}

void BM_MemsetPlusMemcpyFrame(benchmark::State& state) {
    const size_t bytes = Opaque(kFrameBytes);
    ApartBuffers buffers{kFrameBytes, kFrameBytes};
    auto* frame = buffers.At<uint8_t>(0);
    auto* copy = buffers.At<uint8_t>(1);
    for (auto _ : state) {
        std::memset(frame, 0, bytes);
        std::memcpy(copy, frame, bytes);
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_ClearSurface)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemsetFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawBackground)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyBackgroundRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusyFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusyFrameNoPresent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlipPages)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemsetPlusMemcpyFrame)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
