// A fixed integer hash: the art's only source of variety, so every run draws
// the same sheet.
#pragma once

#include <cstdint>

inline uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0) {
    uint32_t h = 0x2545F491u ^ (a * 0x9E3779B1u) ^ (b * 0x85EBCA77u) ^ (c * 0xC2B2AE3Du);
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// A value in [lo, hi] picked by the hash.
inline int Pick(uint32_t hash, int lo, int hi) {
    return lo + static_cast<int>(hash % static_cast<uint32_t>(hi - lo + 1));
}
