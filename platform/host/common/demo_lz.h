// The byte compression of a demo's body: literal runs and copies of
// earlier output, lengths unbounded. A game that runs on its own repeats the
// same few bytes pass after pass, which becomes one copy however long it
// lasts; so a demo grows with the player's input, not with time.
// Nothing here knows of demos' contents; it is checked on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hostcommon {

// Compresses `data`. The stream is a sequence of tokens, each a varint
// count of literal bytes, those bytes, then a varint copy length and, when
// that is not 0, a varint distance back into the output (1 = the last byte
// written); a copy may overlap what it writes.
std::vector<uint8_t> LzCompress(const std::vector<uint8_t>& data);

// Decompresses `size` bytes of a stream into `out`, which must come to
// exactly `expected` bytes. False, with `error` set, for a stream that is
// cut short, runs past `expected`, copies from before the start, or has
// bytes left over; never reads or writes out of bounds.
bool LzDecompress(const uint8_t* data, size_t size, size_t expected, std::vector<uint8_t>& out,
                  std::string& error);

// Unsigned LEB128, as the stream and the demo body use it.
void PutVarint(std::vector<uint8_t>& out, uint64_t value);
// Reads one varint at data[*at] (at most 10 bytes, no more than `size`);
// false when it is cut short or too long for 64 bits.
bool GetVarint(const uint8_t* data, size_t size, size_t* at, uint64_t* value);

} // namespace hostcommon
