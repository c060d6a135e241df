// The demo file: header, then the item body compressed.
#include "demo_format.h"

#include <cstdio>
#include <cstring>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "demo_lz.h"

namespace hostcommon {

namespace {

// "QVDEMO", then bytes that a text transfer or a truncation by a text
// tool would change.
constexpr uint8_t kMagic[8] = {'Q', 'V', 'D', 'E', 'M', 'O', 0x1A, 0x0A};
constexpr size_t kHeaderBytes = 36;

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    for (int i = 0; i < 2; i++) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; i++) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
uint64_t Get(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; i++) v |= uint64_t{p[i]} << (8 * i);
    return v;
}

// A signed difference as an unsigned varint: 0, -1, 1, -2, ... -> 0, 1, 2, 3, ...
uint64_t ZigZag(int32_t v) {
    return (static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31);
}
int32_t UnZigZag(uint64_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(v >> 1) ^ (0u - static_cast<uint32_t>(v & 1)));
}

bool Fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// One item from the body at data[*at].
bool DecodeItem(const uint8_t* data, size_t size, size_t* at, uint32_t& previousTick, DemoItem& item,
                std::string& error) {
    size_t start = *at;
    uint8_t op = data[(*at)++];
    item = DemoItem{};
    item.op = static_cast<DemoOp>(op);
    uint64_t v = 0;
    auto varint = [&](uint64_t limit) {
        if (!GetVarint(data, size, at, &v)) return false;
        return v <= limit;
    };
    auto bad = [&](const char* what) {
        char where[64];
        std::snprintf(where, sizeof where, " at body byte %zu", start);
        return Fail(error, std::string(what) + where);
    };
    switch (item.op) {
    case DemoOp::Pump:
    case DemoOp::Activate:
    case DemoOp::Deactivate:
    case DemoOp::Close:
    case DemoOp::KeyReleaseAll:
        return true;
    case DemoOp::Tick:
        if (!varint(0xFFFFFFFFull)) return bad("malformed tick");
        previousTick += static_cast<uint32_t>(UnZigZag(v));
        item.value = previousTick;
        return true;
    case DemoOp::KeyDown:
    case DemoOp::KeyUp:
    case DemoOp::KeyPress:
    case DemoOp::KeyRelease:
        if (!varint(255)) return bad("malformed key");
        item.vk = static_cast<int>(v);
        if (item.op == DemoOp::KeyDown || item.op == DemoOp::KeyUp) {
            if (!varint(3)) return bad("malformed key flags");
            item.repeat = (v & 1) != 0;
            item.alt = (v & 2) != 0;
            if (item.op == DemoOp::KeyUp && item.repeat) return bad("a key going up cannot repeat");
        }
        return true;
    case DemoOp::Answer:
        if (!varint(0xFFFFFFFFull)) return bad("malformed answer");
        item.value = static_cast<uint32_t>(UnZigZag(v));
        return true;
    }
    return bad("unknown item");
}

} // namespace

void EncodeDemoItem(const DemoItem& item, uint32_t& previousTick, std::vector<uint8_t>& body) {
    body.push_back(static_cast<uint8_t>(item.op));
    switch (item.op) {
    case DemoOp::Tick:
        // Differences wrap as GetTickCount does.
        PutVarint(body, ZigZag(static_cast<int32_t>(item.value - previousTick)));
        previousTick = item.value;
        break;
    case DemoOp::KeyDown:
    case DemoOp::KeyUp:
    case DemoOp::KeyPress:
    case DemoOp::KeyRelease:
        PutVarint(body, static_cast<uint64_t>(item.vk & 0xFF));
        if (item.op == DemoOp::KeyDown || item.op == DemoOp::KeyUp)
            body.push_back(static_cast<uint8_t>((item.repeat ? 1 : 0) | (item.alt ? 2 : 0)));
        break;
    case DemoOp::Answer:
        PutVarint(body, ZigZag(static_cast<int32_t>(item.value)));
        break;
    default:
        break;
    }
}

std::vector<uint8_t> WriteDemoFile(const DemoSheet& sheet, uint32_t passes,
                                   const std::vector<uint8_t>& body) {
    std::vector<uint8_t> payload = LzCompress(body);
    std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
    Put16(out, kDemoVersion);
    Put16(out, 0);
    Put64(out, sheet.hash);
    Put32(out, sheet.size);
    Put32(out, passes);
    Put32(out, static_cast<uint32_t>(body.size()));
    Put32(out, static_cast<uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

bool ReadDemoFile(const uint8_t* data, size_t size, Demo& demo, std::string& error) {
    demo = Demo{};
    if (size > kDemoMaxFileBytes) return Fail(error, "the file is larger than a demo can be");
    if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0)
        return Fail(error, "not a demo file");
    if (size < kHeaderBytes) return Fail(error, "the header is cut short");
    auto version = static_cast<uint16_t>(Get(data + 8, 2));
    if (version != kDemoVersion)
        return Fail(error, "demo format version " + std::to_string(version) + ", this program reads " +
                               std::to_string(kDemoVersion));
    demo.sheet.hash = Get(data + 12, 8);
    demo.sheet.size = static_cast<uint32_t>(Get(data + 20, 4));
    demo.passes = static_cast<uint32_t>(Get(data + 24, 4));
    size_t bodySize = Get(data + 28, 4), payloadSize = Get(data + 32, 4);
    if (bodySize > kDemoMaxBodyBytes) return Fail(error, "the body would be larger than a demo can be");
    if (payloadSize > size - kHeaderBytes) return Fail(error, "the file is cut short");
    if (payloadSize < size - kHeaderBytes) return Fail(error, "bytes follow the end of the demo");

    std::vector<uint8_t> body;
    if (!LzDecompress(data + kHeaderBytes, payloadSize, bodySize, body, error)) return false;
    uint32_t tick = 0, pumps = 0;
    size_t at = 0;
    while (at < body.size()) {
        DemoItem item;
        if (!DecodeItem(body.data(), body.size(), &at, tick, item, error)) return false;
        if (item.op == DemoOp::Pump) pumps++;
        demo.items.push_back(item);
    }
    if (pumps != demo.passes)
        return Fail(error, "the header promises " + std::to_string(demo.passes) + " passes, the body holds " +
                               std::to_string(pumps));
    return true;
}

uint64_t ContentHash(const void* data, size_t size) {
    return XXH3_64bits(data, size);
}

std::string HashHex(uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace hostcommon
