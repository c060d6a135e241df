// Palette conversion, letterboxing, windowed size and flip pacing of the
// displays that hosts show a person (SDL, web).
#include "presentation.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

// On x86-64 the vector conversions are compiled in and the fastest one the
// CPU has is used: AVX-512 VBMI looks bytes up in 128-byte tables held in
// two registers; AVX2 and SSE2 look each texel up one at a time but store
// them 8 or 4 at once, AVX2 loading every second texel straight into its
// lane.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QV_X86_CONVERT 1
#include <immintrin.h>
#endif

namespace hostcommon {

namespace {

// Eight indices read as one word on little-endian hosts: one load instead
// of eight.
void ConvertRow(const uint8_t* src, uint32_t* dst, int width, const uint32_t* table) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 8 <= width; x += 8) {
            uint64_t v;
            std::memcpy(&v, src + x, 8);
            dst[x] = table[v & 0xFF];
            dst[x + 1] = table[(v >> 8) & 0xFF];
            dst[x + 2] = table[(v >> 16) & 0xFF];
            dst[x + 3] = table[(v >> 24) & 0xFF];
            dst[x + 4] = table[(v >> 32) & 0xFF];
            dst[x + 5] = table[(v >> 40) & 0xFF];
            dst[x + 6] = table[(v >> 48) & 0xFF];
            dst[x + 7] = table[v >> 56];
        }
    }
    for (; x < width; x++)
        dst[x] = table[src[x]];
}

#if defined(QV_X86_CONVERT)

#define QV_VBMI_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// One byte of every table entry (plane 0: bits 0-7, ... plane 3: bits
// 24-31) as four registers of 64 bytes.
struct BytePlane {
    __m512i part[4];
};

QV_VBMI_TARGET void MakePlane(const uint32_t* table, int plane, BytePlane& p) {
    alignas(64) uint8_t bytes[256];
    for (int i = 0; i < 256; i++)
        bytes[i] = static_cast<uint8_t>(table[i] >> (8 * plane));
    for (int i = 0; i < 4; i++)
        p.part[i] = _mm512_load_si512(bytes + 64 * i);
}

// 64 lookups in one plane: two 128-entry lookups, chosen by the index's top bit.
QV_VBMI_TARGET inline __m512i Lookup(const BytePlane& p, __m512i index, __mmask64 high) {
    __m512i low = _mm512_permutex2var_epi8(p.part[0], index, p.part[1]);
    __m512i upper = _mm512_permutex2var_epi8(p.part[2], index, p.part[3]);
    return _mm512_mask_blend_epi8(high, low, upper);
}

QV_VBMI_TARGET void ConvertVbmi(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitch,
                                int width, int height, const uint32_t* table) {
    BytePlane b, g, r, a;
    MakePlane(table, 0, b);
    MakePlane(table, 1, g);
    MakePlane(table, 2, r);
    MakePlane(table, 3, a);
    // The unpacks below interleave within 128-bit lanes; taking the indices
    // in this dword order first makes the four stores come out in order.
    const __m512i order = _mm512_set_epi32(15, 11, 7, 3, 14, 10, 6, 2, 13, 9, 5, 1, 12, 8, 4, 0);
    for (int y = 0; y < height; y++) {
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * srcPitch;
        uint32_t* d = dst + static_cast<ptrdiff_t>(y) * dstPitch;
        int x = 0;
        for (; x + 64 <= width; x += 64) {
            // The zero-masking form: the plain one trips GCC 12's uninitialized warning.
            __m512i index =
                _mm512_maskz_permutexvar_epi32(0xFFFF, order, _mm512_loadu_si512(s + x));
            __mmask64 high = _mm512_movepi8_mask(index);
            __m512i bv = Lookup(b, index, high), gv = Lookup(g, index, high);
            __m512i rv = Lookup(r, index, high), av = Lookup(a, index, high);
            __m512i bgLow = _mm512_unpacklo_epi8(bv, gv), bgHigh = _mm512_unpackhi_epi8(bv, gv);
            __m512i raLow = _mm512_unpacklo_epi8(rv, av), raHigh = _mm512_unpackhi_epi8(rv, av);
            _mm512_storeu_si512(d + x, _mm512_unpacklo_epi16(bgLow, raLow));
            _mm512_storeu_si512(d + x + 16, _mm512_unpackhi_epi16(bgLow, raLow));
            _mm512_storeu_si512(d + x + 32, _mm512_unpacklo_epi16(bgHigh, raHigh));
            _mm512_storeu_si512(d + x + 48, _mm512_unpackhi_epi16(bgHigh, raHigh));
        }
        ConvertRow(s + x, d + x, width - x, table);
    }
}

// The texels of four indices (the bytes of `v`, lowest first) in one
// register. Gathers (vpgatherdd) measured slower than these scalar loads on
// AMD's cores; what the vector code saves is the stores, 4 or 8 at once.
inline __m128i LookUpFour(const uint32_t* table, uint32_t v) {
    __m128i t0 = _mm_cvtsi32_si128(static_cast<int>(table[v & 0xFF]));
    __m128i t1 = _mm_cvtsi32_si128(static_cast<int>(table[(v >> 8) & 0xFF]));
    __m128i t2 = _mm_cvtsi32_si128(static_cast<int>(table[(v >> 16) & 0xFF]));
    __m128i t3 = _mm_cvtsi32_si128(static_cast<int>(table[v >> 24]));
    return _mm_unpacklo_epi64(_mm_unpacklo_epi32(t0, t1), _mm_unpacklo_epi32(t2, t3));
}

// SSE2 is part of x86-64: every such CPU runs this.
void ConvertSse2(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitch, int width,
                 int height, const uint32_t* table) {
    for (int y = 0; y < height; y++) {
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * srcPitch;
        uint32_t* d = dst + static_cast<ptrdiff_t>(y) * dstPitch;
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            uint64_t v;
            std::memcpy(&v, s + x, 8);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x),
                             LookUpFour(table, static_cast<uint32_t>(v)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x + 4),
                             LookUpFour(table, static_cast<uint32_t>(v >> 32)));
        }
        ConvertRow(s + x, d + x, width - x, table);
    }
}

#define QV_AVX2_TARGET __attribute__((target("avx2")))

// The texels of the four indices at `p`, each pair loaded with vmovd and
// vpinsrd (the second texel straight from the table into its lane), the
// pairs joined with one unpack: 5 instructions for 4 texels where
// LookUpFour takes 7. On AMD's Zen 3 the table loads (at most two a cycle
// into vector registers) and the shifts that pick the indices out share
// the core's issue slots; with fewer instructions around them this runs
// about a tenth faster, with GCC and Clang alike. Measured slower there: a
// chain of three vpinsrd (with Clang), 64-bit stores of texel pairs,
// non-temporal stores, gathers, indices taken out of a vector register,
// and a 512 KB table of texel pairs.
QV_AVX2_TARGET inline __m128i InsertFour(const uint32_t* table, const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    __m128i low = _mm_cvtsi32_si128(static_cast<int>(table[v & 0xFF]));
    low = _mm_insert_epi32(low, static_cast<int>(table[(v >> 8) & 0xFF]), 1);
    __m128i high = _mm_cvtsi32_si128(static_cast<int>(table[(v >> 16) & 0xFF]));
    high = _mm_insert_epi32(high, static_cast<int>(table[v >> 24]), 1);
    return _mm_unpacklo_epi64(low, high);
}

QV_AVX2_TARGET inline __m256i InsertEight(const uint32_t* table, const uint8_t* p) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(InsertFour(table, p)),
                                   InsertFour(table, p + 4), 1);
}

QV_AVX2_TARGET void ConvertAvx2(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitch,
                                int width, int height, const uint32_t* table) {
    for (int y = 0; y < height; y++) {
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * srcPitch;
        uint32_t* d = dst + static_cast<ptrdiff_t>(y) * dstPitch;
        int x = 0;
        // Two independent halves per step keep more lookups in flight.
        for (; x + 16 <= width; x += 16) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + x), InsertEight(table, s + x));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + x + 8),
                                InsertEight(table, s + x + 8));
        }
        ConvertRow(s + x, d + x, width - x, table);
    }
}

#endif

// The conversions this CPU runs, fastest first.
std::vector<ConvertPath> FindPaths() {
    std::vector<ConvertPath> paths;
#if defined(QV_X86_CONVERT)
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi"))
        paths.push_back({"avx512vbmi", &ConvertVbmi});
    if (__builtin_cpu_supports("avx2")) paths.push_back({"avx2", &ConvertAvx2});
    paths.push_back({"sse2", &ConvertSse2});
#endif
    paths.push_back({"portable", &ConvertToArgbPortable});
    return paths;
}

} // namespace

std::span<const ConvertPath> ConvertPaths() {
    static const std::vector<ConvertPath> paths = FindPaths();
    return paths;
}

const char* ConvertToArgbPath() {
    return ConvertPaths().front().name;
}

void ConvertToArgb(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitchPixels, int width,
                   int height, const uint32_t table[256]) {
    if (width <= 0 || height <= 0) return;
    static const ConvertFn convert = ConvertPaths().front().convert;
    convert(src, srcPitch, dst, dstPitchPixels, width, height, table);
}

void ConvertToArgbPortable(const uint8_t* src, int srcPitch, uint32_t* dst, int dstPitchPixels,
                           int width, int height, const uint32_t table[256]) {
    for (int y = 0; y < height; y++)
        ConvertRow(src + static_cast<ptrdiff_t>(y) * srcPitch,
                   dst + static_cast<ptrdiff_t>(y) * dstPitchPixels, width, table);
}

Rect LetterboxRect(int frameW, int frameH, int outW, int outH) {
    if (frameW <= 0 || frameH <= 0 || outW <= 0 || outH <= 0) return {};
    int scale = std::min(outW / frameW, outH / frameH);
    int w = frameW * scale;
    int h = frameH * scale;
    if (scale == 0) {
        // Shrink to fit: the limiting side fills the output, the other keeps the aspect.
        int64_t byWidth = static_cast<int64_t>(frameH) * outW / frameW;
        if (byWidth <= outH) {
            w = outW;
            h = static_cast<int>(byWidth);
        } else {
            w = static_cast<int>(static_cast<int64_t>(frameW) * outH / frameH);
            h = outH;
        }
    }
    return {(outW - w) / 2, (outH - h) / 2, w, h};
}

int WindowedScale(int frameW, int frameH, int usableW, int usableH) {
    if (frameW <= 0 || frameH <= 0) return 1;
    return std::max(1, std::min(usableW / frameW, usableH / frameH));
}

int64_t FramePacer::Schedule(int64_t nowNs) {
    if (!started_) {
        started_ = true;
        anchorNs_ = nowNs;
        frame_ = 0;
        return nowNs;
    }
    frame_++;
    // Multiply before dividing: 1/60 s is not a whole number of nanoseconds.
    int64_t deadline = anchorNs_ + frame_ * kSecondNs / kRate;
    if (nowNs - deadline > kPeriodNs) {
        anchorNs_ = nowNs;
        frame_ = 0;
        return nowNs;
    }
    return std::max(deadline, nowNs);
}

} // namespace hostcommon
