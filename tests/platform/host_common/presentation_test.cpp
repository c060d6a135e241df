// The hosts' display arithmetic: palette conversion, letterboxing,
// windowed size, 60 Hz pacing.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <ostream>
#include <tuple>
#include <vector>

#include "presentation.h"

namespace {

using hostcommon::FramePacer;
using hostcommon::Rect;

using ConvertFn = void (*)(const uint8_t*, int, uint32_t*, int, int, int, const uint32_t*);

struct ConvertCase {
    int width, height, srcPitch, dstPitch;
};

void PrintTo(const ConvertCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height << " pitches " << c.srcPitch << "/" << c.dstPitch;
}

// The dispatching conversion (vector code where the CPU has it) and the
// portable one, on the same shapes.
class SdlConvertToArgb : public testing::TestWithParam<std::tuple<ConvertFn, ConvertCase>> {};

// Every texel is its index's table entry, every byte of the entry in its
// place (alpha included), and nothing past a row's width is written.
TEST_P(SdlConvertToArgb, LooksUpEveryPixelAndLeavesRowPaddingAlone) {
    const auto& [convert, c] = GetParam();
    std::array<uint32_t, 256> table;
    for (uint32_t i = 0; i < 256; i++)
        table[i] = ((255 - i) << 24) | ((i * 37 % 256) << 16) | ((i * 101 % 256) << 8) | (i ^ 0x5A);
    std::vector<uint8_t> src(static_cast<size_t>(c.srcPitch) * c.height);
    for (size_t i = 0; i < src.size(); i++)
        src[i] = static_cast<uint8_t>(i * 7 + i / 251);
    constexpr uint32_t kUntouched = 0xDEADBEEF;
    std::vector<uint32_t> dst(static_cast<size_t>(c.dstPitch) * c.height, kUntouched);

    convert(src.data(), c.srcPitch, dst.data(), c.dstPitch, c.width, c.height, table.data());

    for (int y = 0; y < c.height; y++)
        for (int x = 0; x < c.dstPitch; x++) {
            uint32_t want =
                x < c.width ? table[src[static_cast<size_t>(y) * c.srcPitch + x]] : kUntouched;
            ASSERT_EQ(dst[static_cast<size_t>(y) * c.dstPitch + x], want)
                << "x " << x << " y " << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SdlConvertToArgb,
    testing::Combine(testing::Values(&hostcommon::ConvertToArgb, &hostcommon::ConvertToArgbPortable),
                     testing::Values(ConvertCase{640, 480, 640, 640},
                                     // Padded rows on both sides, widths off every vector size.
                                     ConvertCase{639, 3, 640, 700}, ConvertCase{75, 4, 80, 81},
                                     ConvertCase{64, 2, 64, 65}, ConvertCase{130, 2, 131, 140},
                                     ConvertCase{63, 2, 64, 64}, ConvertCase{7, 3, 8, 9},
                                     ConvertCase{1, 1, 1, 2},
                                     // An empty width writes nothing.
                                     ConvertCase{0, 2, 8, 8})));

struct BoxCase {
    int outW, outH;
    Rect expected;
};

class SdlLetterbox : public testing::TestWithParam<BoxCase> {};

TEST_P(SdlLetterbox, ScalesByWholeFactorAndCentres) {
    const BoxCase& c = GetParam();
    EXPECT_EQ(hostcommon::LetterboxRect(640, 480, c.outW, c.outH), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Outputs, SdlLetterbox,
                         testing::Values(BoxCase{640, 480, {0, 0, 640, 480}},
                                         BoxCase{1280, 960, {0, 0, 1280, 960}},
                                         BoxCase{1920, 1080, {320, 60, 1280, 960}},
                                         BoxCase{2560, 1440, {320, 0, 1920, 1440}},
                                         BoxCase{1366, 768, {363, 144, 640, 480}},
                                         BoxCase{1279, 959, {319, 239, 640, 480}},
                                         // Smaller than the frame: shrunk with its aspect kept.
                                         BoxCase{320, 480, {0, 120, 320, 240}},
                                         BoxCase{800, 300, {200, 0, 400, 300}},
                                         BoxCase{0, 480, {0, 0, 0, 0}}));

TEST(SdlWindowedScale, TakesLargestMultipleThatFitsAndAtLeastOne) {
    EXPECT_EQ(hostcommon::WindowedScale(640, 480, 1920, 1040), 2);
    EXPECT_EQ(hostcommon::WindowedScale(640, 480, 1280, 960), 2);
    EXPECT_EQ(hostcommon::WindowedScale(640, 480, 1279, 960), 1);
    EXPECT_EQ(hostcommon::WindowedScale(640, 480, 3840, 2100), 4);
    EXPECT_EQ(hostcommon::WindowedScale(640, 480, 600, 400), 1);
}

constexpr int64_t kStart = 5'000'000'000;

TEST(SdlFramePacer, ShowsFirstFlipAtOnce) {
    FramePacer pacer;
    EXPECT_EQ(pacer.Schedule(kStart), kStart);
}

TEST(SdlFramePacer, DeadlinesAreWholeSixtiethsOfTheAnchorWithoutDrift) {
    FramePacer pacer;
    pacer.Schedule(kStart);
    // Callers that come early wait for exactly n/60 s after the first flip.
    EXPECT_EQ(pacer.Schedule(kStart + 1000), kStart + 16'666'666);
    EXPECT_EQ(pacer.Schedule(kStart + 16'666'666), kStart + 33'333'333);
    EXPECT_EQ(pacer.Schedule(kStart + 33'333'333), kStart + 50'000'000);
    int64_t due = 0;
    for (int frame = 4; frame <= 60; frame++)
        due = pacer.Schedule(due);
    EXPECT_EQ(due, kStart + FramePacer::kSecondNs);
}

TEST(SdlFramePacer, SlightlyLateFlipShowsAtOnceAndKeepsSchedule) {
    FramePacer pacer;
    pacer.Schedule(kStart);
    int64_t halfFrameLate = kStart + 16'666'666 + 8'000'000;
    EXPECT_EQ(pacer.Schedule(halfFrameLate), halfFrameLate);
    EXPECT_EQ(pacer.Schedule(halfFrameLate), kStart + 33'333'333);
}

TEST(SdlFramePacer, FlipMoreThanAFrameLateReanchors) {
    FramePacer pacer;
    pacer.Schedule(kStart);
    int64_t stalled = kStart + 500'000'000; // half a second without flips
    EXPECT_EQ(pacer.Schedule(stalled), stalled);
    // No burst of catch-up frames: the next is a whole frame after the stall.
    EXPECT_EQ(pacer.Schedule(stalled + 1), stalled + 16'666'666);
}

TEST(SdlFramePacer, ResetShowsNextFlipAtOnce) {
    FramePacer pacer;
    pacer.Schedule(kStart);
    pacer.Reset();
    EXPECT_EQ(pacer.Schedule(kStart + 1000), kStart + 1000);
}

} // namespace
