// The soak test's two halves:
//   soak_check script SEED PASSES   writes an input script of random held keys
//   soak_check check                reads a runner trace on standard input and
//                                   checks the world's invariants on every line
// The check prints the number of passes and exits 1 at the first violation.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Entry = std::vector<long long>;

// The entries of `"name":[[...],...]` in a trace line.
bool Pool(const std::string& line, const std::string& name, std::vector<Entry>& out) {
    out.clear();
    size_t at = line.find("\"" + name + "\":[");
    if (at == std::string::npos) return false;
    size_t i = at + name.size() + 4;
    while (i < line.size() && line[i] == '[') {
        Entry entry;
        i++;
        while (i < line.size() && line[i] != ']') {
            size_t used = 0;
            entry.push_back(std::stoll(line.substr(i, 24), &used));
            i += used;
            if (line[i] == ',') i++;
        }
        out.push_back(entry);
        i++; // ']'
        if (i < line.size() && line[i] == ',') i++;
    }
    return i < line.size() && line[i] == ']';
}

long long Number(const std::string& line, const std::string& name) {
    size_t at = line.find("\"" + name + "\":");
    return at == std::string::npos ? -999999 : std::stoll(line.substr(at + name.size() + 3, 24));
}

struct Rule {
    const char* pool;
    size_t slots;
    size_t fields;
    long long xLo, xHi, yLo, yHi;
};

// Where each kind of object can be after a pass.
const Rule Rules[] = {
    {"Player", 1, 3, 0, 598, 0, 447},        {"PlayerShots", 25, 3, 5, 639, 4, 467},
    {"Explosions", 5, 5, -25, 645, -10, 480}, {"BonusItems", 3, 4, -15, 655, 100, 350},
    {"LeftEnemies", 4, 4, 0, 641, 100, 350},  {"RightEnemies", 4, 4, -15, 640, 100, 350},
    {"Boss", 1, 4, 3, 638, 160, 160},         {"BossShots", 4, 3, 4, 639, 4, 480},
};

std::string CheckLine(const std::string& line, long long expectedFrame) {
    if (Number(line, "frame") != expectedFrame) return "frame number out of order";
    long long state = Number(line, "state");
    if (state != 0 && state != 2 && state != 3) return "unexpected state";
    // Shield, BossEnergy and Score wrap at 16 bits in a long game; Lives only grows.
    if (Number(line, "Lives") < 2) return "Lives below 2";
    for (const char* counter : {"Shield", "BossEnergy", "Score"}) {
        long long value = Number(line, counter);
        if (value < -32768 || value > 32767) return std::string(counter) + " outside 16 bits";
    }
    std::vector<Entry> entries, left, right;
    for (const Rule& rule : Rules) {
        if (!Pool(line, rule.pool, entries)) return std::string("pool ") + rule.pool + " missing or malformed";
        if (entries.size() > rule.slots) return std::string(rule.pool) + " holds too many objects";
        long long lastIndex = -1;
        for (const Entry& e : entries) {
            if (e.size() != rule.fields) return std::string(rule.pool) + " entry has the wrong number of fields";
            if (e[0] <= lastIndex || e[0] >= static_cast<long long>(rule.slots)) return std::string(rule.pool) + " index";
            lastIndex = e[0];
            if (e[1] < rule.xLo || e[1] > rule.xHi) return std::string(rule.pool) + " x out of range";
            if (e[2] < rule.yLo || e[2] > rule.yHi) return std::string(rule.pool) + " y out of range";
        }
        std::string name = rule.pool;
        for (const Entry& e : entries) {
            if (name == "Explosions" && (e[3] < 0 || e[3] > 5 || e[4] < 0 || e[4] > 1)) return "explosion frame or tick";
            if (name == "BonusItems" && e[3] != 1 && e[3] != -1) return "bonus speed";
            if (name == "LeftEnemies" && e[3] != 1) return "left enemy speed";
            if (name == "RightEnemies" && e[3] != -2) return "right enemy speed";
            if (name == "Boss" && e[3] != 8 && e[3] != 9) return "Boss mode";
        }
        if (name == "Player" && entries.size() != 1) return "Player not active";
        if (name == "LeftEnemies") left = entries;
        if (name == "RightEnemies") right = entries;
    }
    for (const Entry& l : left)
        for (const Entry& r : right)
            if (l[0] == r[0]) return "both members of a pair alive";
    return "";
}

int Check() {
    std::string line;
    long long frame = 0;
    while (std::getline(std::cin, line)) {
        std::string problem = CheckLine(line, ++frame);
        if (!problem.empty()) {
            std::fprintf(stderr, "soak: pass %lld: %s\n%s\n", frame, problem.c_str(), line.c_str());
            return 1;
        }
    }
    std::printf("soak: %lld passes, every invariant held\n", frame);
    return frame > 0 ? 0 : 1;
}

// Random held keys: runs of 1..90 passes, each with any set of the five keys.
int Script(uint32_t seed, long long passes) {
    const char* names[] = {"Left", "Right", "Up", "Down", "Ctrl"};
    uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (long long total = 0; total < passes;) {
        long long count = 1 + next() % 90;
        std::string keys;
        uint32_t mask = next() % 32;
        for (int k = 0; k < 5; k++)
            if (mask & (1u << k)) keys += (keys.empty() ? "" : "+") + std::string(names[k]);
        std::printf("%lld %s\n", count, keys.empty() ? "-" : keys.c_str());
        total += count;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "check" && argc == 2) return Check();
    if (mode == "script" && argc == 4) return Script(static_cast<uint32_t>(std::stoul(argv[2])), std::stoll(argv[3]));
    std::fprintf(stderr, "usage: soak_check script SEED PASSES | soak_check check\n");
    return 2;
}
