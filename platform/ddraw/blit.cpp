// The pixel loops of the emulated blitter. The colour-keyed copy is the
// game's hottest path (every sprite, every frame), so it works on whole
// vectors with a compare mask instead of testing each byte.
#include "blit.h"

#include <cstddef>
#include <cstring>

// QV_PORTABLE_BLIT forces the portable loops, so they can be tested on x86-64.
#if defined(__SSE2__) && !defined(QV_PORTABLE_BLIT)
#define QV_SSE2_BLIT 1
#include <emmintrin.h>
// The AVX-512BW copy is compiled in on x86-64 and used when the CPU has it.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QV_AVX512_BLIT 1
#include <immintrin.h>
#endif
#endif

namespace platform::ddraw::blit {

namespace {

uint8_t* Row(Span span, int y) {
    return span.bits + static_cast<ptrdiff_t>(y) * span.pitch;
}

// One pixel: the destination stays where the source is the key.
inline void KeyedPixel(const uint8_t* s, uint8_t* d, uint8_t key) {
    uint8_t sv = *s;
    *d = sv == key ? *d : sv;
}

#if defined(QV_SSE2_BLIT)

// The blended vector of 16 pixels, not yet stored.
inline __m128i Blend16(const uint8_t* s, const uint8_t* d, __m128i key) {
    __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    __m128i transparent = _mm_cmpeq_epi8(sv, key);
    return _mm_or_si128(_mm_and_si128(transparent, dv), _mm_andnot_si128(transparent, sv));
}

inline __m128i Blend8(const uint8_t* s, const uint8_t* d, __m128i key) {
    __m128i sv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
    __m128i dv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d));
    __m128i transparent = _mm_cmpeq_epi8(sv, key);
    return _mm_or_si128(_mm_and_si128(transparent, dv), _mm_andnot_si128(transparent, sv));
}

inline void Store16(uint8_t* d, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v);
}
inline void Store8(uint8_t* d, __m128i v) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d), v);
}

// A row ends with two vectors, the second overlapping the first when the
// width is not a multiple of the vector, instead of a byte loop. Both are
// read before either is written: the overlap then gets the same result
// twice, and no load waits on a store it partly overlaps.
void KeyedRow(const uint8_t* s, uint8_t* d, int width, uint8_t key) {
    const __m128i k = _mm_set1_epi8(static_cast<char>(key));
    if (width >= 16) {
        int x = 0;
        for (; x + 32 <= width; x += 16)
            Store16(d + x, Blend16(s + x, d + x, k));
        int last = width - 16;
        __m128i a = Blend16(s + x, d + x, k), b = Blend16(s + last, d + last, k);
        Store16(d + x, a);
        Store16(d + last, b);
    } else if (width >= 8) {
        int last = width - 8;
        __m128i a = Blend8(s, d, k), b = Blend8(s + last, d + last, k);
        Store8(d, a);
        Store8(d + last, b);
    } else {
        for (int x = 0; x < width; x++)
            KeyedPixel(s + x, d + x, key);
    }
}

#if defined(QV_AVX512_BLIT)

#define QV_AVX512_TARGET __attribute__((target("avx512f,avx512bw")))

// 64 pixels at a time through a masked store: the destination keeps its
// bytes wherever the mask is clear, so it is never read, and a row's last
// piece is a shorter mask (masked-off bytes are neither read nor written).
QV_AVX512_TARGET void CopyKeyedAvx512(Span src, Span dst, int width, int height, uint8_t key) {
    const __m512i k = _mm512_set1_epi8(static_cast<char>(key));
    const int whole = (width - 1) / 64; // full pieces before the last one
    const int rest = width - 64 * whole;
    const __mmask64 last = rest >= 64 ? ~__mmask64{0} : (__mmask64{1} << rest) - 1;
    for (int y = 0; y < height; y++) {
        const uint8_t* s = Row(src, y);
        uint8_t* d = Row(dst, y);
        for (int i = 0; i < whole; i++, s += 64, d += 64) {
            __m512i v = _mm512_loadu_si512(s);
            _mm512_mask_storeu_epi8(d, _mm512_cmpneq_epi8_mask(v, k), v);
        }
        __m512i v = _mm512_maskz_loadu_epi8(last, s);
        _mm512_mask_storeu_epi8(d, _mm512_mask_cmpneq_epi8_mask(last, v, k), v);
    }
}

bool HasAvx512Bw() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return has;
}

#endif

#else

// Eight pixels in a 64-bit word: 0xFF in every byte where the source
// equals the key, found without carries between bytes.
inline uint64_t Blend8(const uint8_t* s, const uint8_t* d, uint64_t keys) {
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    uint64_t sv, dv;
    std::memcpy(&sv, s, 8);
    std::memcpy(&dv, d, 8);
    uint64_t diff = sv ^ keys;
    uint64_t zeroHigh = ~(((diff & kLow7) + kLow7) | diff | kLow7);
    uint64_t transparent = (zeroHigh >> 7) * 0xFF;
    return (dv & transparent) | (sv & ~transparent);
}

inline void Store8(uint8_t* d, uint64_t v) {
    std::memcpy(d, &v, 8);
}

// As the vector version: the last two words are read before either is written.
void KeyedRow(const uint8_t* s, uint8_t* d, int width, uint8_t key) {
    const uint64_t keys = 0x0101010101010101ull * key;
    if (width >= 8) {
        int x = 0;
        for (; x + 16 <= width; x += 8)
            Store8(d + x, Blend8(s + x, d + x, keys));
        int last = width - 8;
        uint64_t a = Blend8(s + x, d + x, keys), b = Blend8(s + last, d + last, keys);
        Store8(d + x, a);
        Store8(d + last, b);
    } else {
        for (int x = 0; x < width; x++)
            KeyedPixel(s + x, d + x, key);
    }
}

#endif

} // namespace

void Fill(Span dst, int width, int height, uint8_t value) {
    // Rows without a gap between them are one block: one call fills it, as
    // fast as the C library can (a whole-surface clear every frame).
    if (width == dst.pitch) {
        std::memset(dst.bits, value, static_cast<size_t>(width) * static_cast<size_t>(height));
        return;
    }
    for (int y = 0; y < height; y++)
        std::memset(Row(dst, y), value, static_cast<size_t>(width));
}

void Copy(Span src, Span dst, int width, int height) {
    const size_t bytes = static_cast<size_t>(width);
    if (reinterpret_cast<uintptr_t>(dst.bits) > reinterpret_cast<uintptr_t>(src.bits)) {
        // The destination may lie below the source in one surface: bottom row first.
        for (int y = height - 1; y >= 0; y--)
            std::memmove(Row(dst, y), Row(src, y), bytes);
    } else {
        for (int y = 0; y < height; y++)
            std::memmove(Row(dst, y), Row(src, y), bytes);
    }
}

void CopyKeyed(Span src, Span dst, int width, int height, uint8_t key) {
#if defined(QV_AVX512_BLIT)
    if (HasAvx512Bw()) {
        CopyKeyedAvx512(src, dst, width, height, key);
        return;
    }
#endif
    for (int y = 0; y < height; y++)
        KeyedRow(Row(src, y), Row(dst, y), width, key);
}

} // namespace platform::ddraw::blit
