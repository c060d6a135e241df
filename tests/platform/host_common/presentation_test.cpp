// The hosts' display arithmetic: palette conversion, letterboxing,
// windowed size, 60 Hz pacing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "presentation.h"

namespace hostcommon {
void PrintTo(const ConvertPath& path, std::ostream* os) {
    *os << path.name;
}
} // namespace hostcommon

namespace {

using hostcommon::FramePacer;
using hostcommon::Rect;

using hostcommon::ConvertPath;

struct ConvertCase {
    int width, height, srcPitch, dstPitch;
};

void PrintTo(const ConvertCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height << " pitches " << c.srcPitch << "/" << c.dstPitch;
}

std::string PathName(const testing::TestParamInfo<std::tuple<ConvertPath, ConvertCase>>& info) {
    const auto& [path, c] = info.param;
    return std::string(path.name) + "_" + std::to_string(c.width) + "x" + std::to_string(c.height) +
           "_" + std::to_string(c.srcPitch) + "_" + std::to_string(c.dstPitch);
}

// The dispatching conversion and every path this CPU can run, on the same
// shapes; the portable one is among them everywhere.
std::vector<ConvertPath> PathsUnderTest() {
    std::vector<ConvertPath> paths{{"dispatched", &hostcommon::ConvertToArgb}};
    for (const ConvertPath& path : hostcommon::ConvertPaths())
        paths.push_back(path);
    return paths;
}

class SdlConvertToArgb : public testing::TestWithParam<std::tuple<ConvertPath, ConvertCase>> {
  protected:
    constexpr static uint32_t kUntouched = 0xDEADBEEF;

    // Converts `src` laid out as the case says and checks every texel
    // against its index's table entry and the row padding against kUntouched.
    void ConvertAndCheck(const std::vector<uint8_t>& src, const std::array<uint32_t, 256>& table) {
        const auto& [path, c] = GetParam();
        std::vector<uint32_t> dst(static_cast<size_t>(c.dstPitch) * c.height, kUntouched);
        path.convert(src.data(), c.srcPitch, dst.data(), c.dstPitch, c.width, c.height,
                     table.data());
        for (int y = 0; y < c.height; y++)
            for (int x = 0; x < c.dstPitch; x++) {
                uint32_t want =
                    x < c.width ? table[src[static_cast<size_t>(y) * c.srcPitch + x]] : kUntouched;
                ASSERT_EQ(dst[static_cast<size_t>(y) * c.dstPitch + x], want)
                    << "x " << x << " y " << y;
            }
    }

    std::vector<uint8_t> Frame() const {
        const ConvertCase& c = std::get<1>(GetParam());
        return std::vector<uint8_t>(static_cast<size_t>(c.srcPitch) * c.height);
    }
};

// Every texel is its index's table entry, every byte of the entry in its
// place (alpha included), and nothing past a row's width is written.
TEST_P(SdlConvertToArgb, LooksUpEveryPixelAndLeavesRowPaddingAlone) {
    std::array<uint32_t, 256> table;
    for (uint32_t i = 0; i < 256; i++)
        table[i] = ((255 - i) << 24) | ((i * 37 % 256) << 16) | ((i * 101 % 256) << 8) | (i ^ 0x5A);
    std::vector<uint8_t> src = Frame();
    for (size_t i = 0; i < src.size(); i++)
        src[i] = static_cast<uint8_t>(i * 7 + i / 251);
    ConvertAndCheck(src, table);
}

// Random palettes and pixels, and frames of the first and last index alone
// and alternating (a signed index or a wrong half of the table shows there).
TEST_P(SdlConvertToArgb, MatchesTheTableOnRandomPalettesAndTheEndIndices) {
    std::mt19937 random(20261209);
    std::array<uint32_t, 256> table;
    for (int round = 0; round < 3; round++) {
        for (uint32_t& entry : table)
            entry = static_cast<uint32_t>(random());
        std::vector<uint8_t> src = Frame();
        for (uint8_t& p : src)
            p = static_cast<uint8_t>(random());
        ConvertAndCheck(src, table);
        for (uint8_t fill : {0, 255}) {
            std::fill(src.begin(), src.end(), fill);
            ConvertAndCheck(src, table);
        }
        for (size_t i = 0; i < src.size(); i++)
            src[i] = (i + round) % 2 ? 255 : 0;
        ConvertAndCheck(src, table);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SdlConvertToArgb,
    testing::Combine(testing::ValuesIn(PathsUnderTest()),
                     testing::Values(ConvertCase{640, 480, 640, 640},
                                     // Padded rows on both sides, widths off every vector size.
                                     ConvertCase{639, 3, 640, 700}, ConvertCase{75, 4, 80, 81},
                                     ConvertCase{64, 2, 64, 65}, ConvertCase{130, 2, 131, 140},
                                     ConvertCase{63, 2, 64, 64}, ConvertCase{17, 3, 23, 19},
                                     ConvertCase{15, 2, 16, 16}, ConvertCase{7, 3, 8, 9},
                                     ConvertCase{1, 1, 1, 2}, ConvertCase{33, 3, 35, 37},
                                     // An empty width or height writes nothing.
                                     ConvertCase{0, 2, 8, 8}, ConvertCase{16, 0, 16, 16})),
    PathName);

// Each vector path is offered exactly where the CPU has its instructions,
// so the cases above run every path the machine can.
TEST(SdlConvertPaths, OfferWhatTheCpuRunsFastestFirstAndPortableLast) {
    std::vector<std::string> names;
    for (const ConvertPath& path : hostcommon::ConvertPaths())
        names.push_back(path.name);
    std::vector<std::string> expected;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi"))
        expected.push_back("avx512vbmi");
    if (__builtin_cpu_supports("avx2")) expected.push_back("avx2");
    expected.push_back("sse2");
#endif
    expected.push_back("portable");
    EXPECT_EQ(names, expected);
    EXPECT_EQ(std::string(hostcommon::ConvertToArgbPath()), expected.front());
}

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
