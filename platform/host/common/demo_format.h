// Demos: what decides the course of a game, as the host saw it pass by
// pass, and the file that keeps it (docs/demos.md). Everything the
// program learns from the host is an item: the events handed to it, the
// changes of the asynchronous key table (keyboard and game controllers
// alike), every value GetTickCount returned, and the host's other answers
// (activation grants, the display mode, message box buttons). A pump item
// marks where each pass begins: the moment the message functions take the
// host's events. Replaying the items in order replays the game exactly.
// Nothing here touches a host library; it is checked on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hostcommon {

enum class DemoOp : uint8_t {
    Pump = 1,       // a pass begins: the host's events are taken
    Tick = 2,       // GetTickCount returned `value`
    KeyDown = 3,    // event: a key went down (vk, repeat, alt)
    KeyUp = 4,      // event: a key went up (vk, alt)
    Activate = 5,   // event
    Deactivate = 6, // event
    Close = 7,      // event
    KeyPress = 8,   // the key table: vk pressed
    KeyRelease = 9, // the key table: vk released
    KeyReleaseAll = 10,
    Answer = 11, // the host answered the program with `value`
};

struct DemoItem {
    DemoOp op = DemoOp::Pump;
    int vk = 0;
    bool repeat = false;
    bool alt = false;
    uint32_t value = 0; // Tick: the tick; Answer: the answer as a 32-bit pattern
    bool operator==(const DemoItem&) const = default;
};

// The data file the game was played with, by content.
struct DemoSheet {
    uint64_t hash = 0; // XXH3-64 of the file's bytes
    uint32_t size = 0;
};

struct Demo {
    DemoSheet sheet;
    uint32_t passes = 0; // the number of Pump items
    std::vector<DemoItem> items;
};

constexpr uint16_t kDemoVersion = 1;
// Files larger than this, or bodies that would unpack larger, are refused.
constexpr size_t kDemoMaxFileBytes = size_t{64} << 20;
constexpr size_t kDemoMaxBodyBytes = size_t{256} << 20;

// Appends one item to an item body (the uncompressed form). `previousTick`
// is the last tick written before, which a Tick item is stored against; it
// is updated.
void EncodeDemoItem(const DemoItem& item, uint32_t& previousTick, std::vector<uint8_t>& body);

// The whole file: header and compressed body.
std::vector<uint8_t> WriteDemoFile(const DemoSheet& sheet, uint32_t passes,
                                   const std::vector<uint8_t>& body);

// Reads a file made by WriteDemoFile. False, with a message that says what
// is wrong, for anything else: not a demo, another version, cut short,
// oversized, inconsistent or malformed. Never reads out of bounds.
bool ReadDemoFile(const uint8_t* data, size_t size, Demo& demo, std::string& error);

// The file bytes' hash, as DemoSheet keeps it; 16 lower-case hex digits.
uint64_t ContentHash(const void* data, size_t size);
std::string HashHex(uint64_t hash);

} // namespace hostcommon
