// The runner's trace lines and screen hash.
#include "trace.h"


#include "screen_hash.h"
#include "world.h"

namespace {

const int ScreenWidth = 640;
const int ScreenHeight = 480;

void AppendPool(std::string& out, const char* name, const GameObject* pool, int count, int fields) {
    out += ",\"";
    out += name;
    out += "\":[";
    bool first = true;
    for (int i = 0; i < count; i++) {
        const GameObject& o = pool[i];
        if (!o.active) continue;
        if (!first) out += ',';
        first = false;
        out += '[' + std::to_string(i) + ',' + std::to_string(o.x) + ',' + std::to_string(o.y);
        if (fields == 1) out += ',' + std::to_string(o.speed);
        if (fields == 2) out += ',' + std::to_string(o.mode);
        if (fields == 3) out += ',' + std::to_string(o.animFrame) + ',' + std::to_string(o.animTick);
        out += ']';
    }
    out += ']';
}

void AppendCounter(std::string& out, const char* name, int value) {
    out += ",\"";
    out += name;
    out += "\":" + std::to_string(value);
}

} // namespace

std::string ScreenHash(const headless::Frame& screen) {
    // Before anything was shown the screen is colour 0 everywhere.
    bool shown = screen.width == ScreenWidth && screen.height == ScreenHeight;
    return hostcommon::ScreenHash(shown ? screen.pixels.data() : nullptr, ScreenWidth, screen.palette.data());
}

std::string TraceLine(long long frame, int state, uint32_t tick, const std::string* screenHash) {
    std::string out = "{\"frame\":" + std::to_string(frame) + ",\"state\":" + std::to_string(state) +
                      ",\"tick\":" + std::to_string(tick);
    AppendCounter(out, "Shield", Shield);
    AppendCounter(out, "Lives", Lives);
    AppendCounter(out, "BossEnergy", BossEnergy);
    AppendCounter(out, "Score", Score);
    AppendPool(out, "Player", &Player, 1, 0);
    AppendPool(out, "PlayerShots", PlayerShots, MAX_PLAYER_SHOTS, 0);
    AppendPool(out, "Explosions", Explosions, MAX_EXPLOSIONS, 3);
    AppendPool(out, "BonusItems", BonusItems, MAX_BONUS_ITEMS, 1);
    AppendPool(out, "LeftEnemies", LeftEnemies, MAX_ENEMY_PAIRS, 1);
    AppendPool(out, "RightEnemies", RightEnemies, MAX_ENEMY_PAIRS, 1);
    AppendPool(out, "Boss", &Boss, 1, 2);
    AppendPool(out, "BossShots", BossShots, MAX_BOSS_SHOTS, 0);
    if (screenHash) out += ",\"screen\":\"" + *screenHash + "\"";
    out += '}';
    return out;
}
