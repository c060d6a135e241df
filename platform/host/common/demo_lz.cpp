// Literal runs and long copies: the demo body's compression.
#include "demo_lz.h"


namespace hostcommon {

namespace {

constexpr size_t kMinMatch = 4;
constexpr size_t kHashBits = 16;
constexpr size_t kMaxDistance = size_t{1} << 20;

uint32_t Hash4(const uint8_t* p) {
    uint32_t v = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    return (v * 2654435761u) >> (32 - kHashBits);
}

void PutToken(std::vector<uint8_t>& out, const std::vector<uint8_t>& data, size_t literalStart,
              size_t literalEnd, size_t length, size_t distance) {
    PutVarint(out, literalEnd - literalStart);
    out.insert(out.end(), data.begin() + static_cast<ptrdiff_t>(literalStart),
               data.begin() + static_cast<ptrdiff_t>(literalEnd));
    PutVarint(out, length);
    if (length) PutVarint(out, distance);
}

} // namespace

void PutVarint(std::vector<uint8_t>& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

bool GetVarint(const uint8_t* data, size_t size, size_t* at, uint64_t* value) {
    uint64_t result = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (*at >= size) return false;
        uint8_t byte = data[(*at)++];
        if (shift == 63 && byte > 1) return false;
        result |= uint64_t{byte & 0x7Fu} << shift;
        if (!(byte & 0x80)) {
            *value = result;
            return true;
        }
    }
    return false;
}

// Greedy: at each place the most recent earlier place with the same four
// bytes, followed as far as the bytes agree.
std::vector<uint8_t> LzCompress(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out;
    std::vector<int64_t> last(size_t{1} << kHashBits, -1);
    size_t literalStart = 0, at = 0;
    while (at + kMinMatch <= data.size()) {
        uint32_t h = Hash4(&data[at]);
        int64_t candidate = last[h];
        last[h] = static_cast<int64_t>(at);
        size_t length = 0;
        if (candidate >= 0 && at - static_cast<size_t>(candidate) <= kMaxDistance) {
            auto from = static_cast<size_t>(candidate);
            while (at + length < data.size() && data[from + length] == data[at + length]) length++;
        }
        if (length < kMinMatch) {
            at++;
            continue;
        }
        PutToken(out, data, literalStart, at, length, at - static_cast<size_t>(candidate));
        // Only the copy's first places are remembered: enough to find the
        // same period again, and the work stays linear in the output.
        for (size_t i = 1; i < length && i < 64 && at + i + kMinMatch <= data.size(); i++)
            last[Hash4(&data[at + i])] = static_cast<int64_t>(at + i);
        at += length;
        literalStart = at;
    }
    if (literalStart < data.size() || data.empty()) PutToken(out, data, literalStart, data.size(), 0, 0);
    return out;
}

bool LzDecompress(const uint8_t* data, size_t size, size_t expected, std::vector<uint8_t>& out,
                  std::string& error) {
    out.clear();
    out.reserve(expected);
    size_t at = 0;
    while (at < size) {
        uint64_t literals = 0, length = 0, distance = 0;
        if (!GetVarint(data, size, &at, &literals)) return error = "compressed body cut short", false;
        if (literals > size - at || literals > expected - out.size())
            return error = "compressed body runs past its end", false;
        out.insert(out.end(), data + at, data + at + literals);
        at += literals;
        if (!GetVarint(data, size, &at, &length)) return error = "compressed body cut short", false;
        if (length == 0) continue;
        if (!GetVarint(data, size, &at, &distance)) return error = "compressed body cut short", false;
        if (distance == 0 || distance > out.size())
            return error = "compressed body copies from before its start", false;
        if (length > expected - out.size()) return error = "compressed body runs past its end", false;
        size_t from = out.size() - distance;
        for (uint64_t i = 0; i < length; i++) out.push_back(out[from + i]);
    }
    if (out.size() != expected) return error = "compressed body is shorter than its header says", false;
    return true;
}

} // namespace hostcommon
