// Converting and scaling into a window's pixels in one pass, and choosing
// when to: each destination pixel against the nearest-neighbour rule, the
// pixels around the target left alone or filled, and the renderer names.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "present_choice.h"
#include "scale_convert.h"

namespace {

using hostcommon::Rect;

constexpr uint32_t kUntouched = 0xDEADBEEF;

struct Frame {
    int w, h, pitch;
    std::vector<uint8_t> pixels;
};

Frame RandomFrame(int w, int h, int pitch) {
    Frame f{w, h, pitch, std::vector<uint8_t>(static_cast<size_t>(pitch) * h)};
    std::mt19937 random(static_cast<uint32_t>(w * 31 + h));
    for (uint8_t& p : f.pixels)
        p = static_cast<uint8_t>(random());
    return f;
}

std::vector<uint32_t> Table() {
    std::vector<uint32_t> table(256);
    for (uint32_t i = 0; i < 256; i++)
        table[i] = 0xFF000000u | (i * 0x010203u);
    return table;
}

// Scales `f` into `to` of an outW x outH image (pitch outW + 3) and checks
// every pixel: inside by the nearest-neighbour rule, outside untouched.
void ExpectScaled(const Frame& f, int outW, int outH, Rect to) {
    const int pitch = outW + 3;
    std::vector<uint32_t> out(static_cast<size_t>(pitch) * outH, kUntouched);
    std::vector<uint32_t> table = Table();
    hostcommon::ConvertScaled(f.pixels.data(), f.pitch, f.w, f.h, out.data(), pitch, to,
                              table.data());
    int wrong = 0;
    for (int y = 0; y < outH; y++) {
        for (int x = 0; x < pitch; x++) {
            uint32_t want = kUntouched;
            if (x >= to.x && x < to.x + to.w && y >= to.y && y < to.y + to.h) {
                int sx = static_cast<int>(int64_t{x - to.x} * f.w / to.w);
                int sy = static_cast<int>(int64_t{y - to.y} * f.h / to.h);
                want = table[f.pixels[static_cast<size_t>(sy) * f.pitch + sx]];
            }
            if (out[static_cast<size_t>(y) * pitch + x] != want && wrong++ < 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") of " << to.w << "x" << to.h;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ConvertScaled, WholeFactorsGiveBlocksAndTouchNothingElse) {
    Frame f = RandomFrame(64, 48, 70);
    for (int k = 1; k <= 4; k++) {
        SCOPED_TRACE(k);
        ExpectScaled(f, 64 * k + 10, 48 * k + 7, Rect{5, 3, 64 * k, 48 * k});
    }
    // Widths that are no multiple of a vector's pixels.
    ExpectScaled(RandomFrame(13, 5, 13), 26, 10, Rect{0, 0, 26, 10});
}

TEST(ConvertScaled, OtherSizesFollowTheNearestNeighbourRule) {
    Frame f = RandomFrame(640, 480, 640);
    ExpectScaled(f, 330, 260, Rect{5, 10, 320, 240}); // shrunk to fit a small screen
    ExpectScaled(f, 960, 720, Rect{0, 0, 960, 720});  // one and a half
    ExpectScaled(f, 700, 500, Rect{1, 1, 641, 481});  // a pixel more each way
}

TEST(ConvertScaled, EmptySizesWriteNothing) {
    Frame f = RandomFrame(8, 8, 8);
    std::vector<uint32_t> out(64, kUntouched);
    std::vector<uint32_t> table = Table();
    hostcommon::ConvertScaled(f.pixels.data(), 8, 8, 8, out.data(), 8, Rect{0, 0, 0, 8},
                              table.data());
    hostcommon::ConvertScaled(f.pixels.data(), 8, 0, 8, out.data(), 8, Rect{0, 0, 8, 8},
                              table.data());
    EXPECT_EQ(out, std::vector<uint32_t>(64, kUntouched));
}

TEST(FillOutside, FillsTheBarsAndLeavesTheInside) {
    const int w = 9, h = 7, pitch = 11;
    std::vector<uint32_t> out(static_cast<size_t>(pitch) * h, kUntouched);
    const Rect inside{2, 1, 5, 4};
    hostcommon::FillOutside(out.data(), pitch, w, h, inside, 7);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < pitch; x++) {
            bool in = x >= inside.x && x < inside.x + inside.w && y >= inside.y &&
                      y < inside.y + inside.h;
            uint32_t want = (in || x >= w) ? kUntouched : 7;
            EXPECT_EQ(out[static_cast<size_t>(y) * pitch + x], want) << x << ", " << y;
        }
    }
    // An empty inside: the whole image is bars.
    hostcommon::FillOutside(out.data(), pitch, w, h, Rect{}, 9);
    EXPECT_EQ(out[0], 9u);
    EXPECT_EQ(out[static_cast<size_t>(3) * pitch + 4], 9u);
}

TEST(PresentChoice, OverrideAndRendererNames) {
    using hostcommon::PresentPath;
    std::string problem;
    EXPECT_EQ(hostcommon::ParsePresentPath(nullptr, problem), PresentPath::Auto);
    EXPECT_EQ(hostcommon::ParsePresentPath("", problem), PresentPath::Auto);
    EXPECT_EQ(hostcommon::ParsePresentPath("Software", problem), PresentPath::Software);
    EXPECT_EQ(hostcommon::ParsePresentPath("GPU", problem), PresentPath::Gpu);
    EXPECT_TRUE(problem.empty());
    EXPECT_EQ(hostcommon::ParsePresentPath("soft", problem), PresentPath::Auto);
    EXPECT_EQ(problem, "QV_PRESENT=soft is not one of auto, gpu, software: the renderer decides");

    EXPECT_TRUE(hostcommon::RendersInSoftware("software", ""));
    EXPECT_TRUE(hostcommon::RendersInSoftware("opengl", "llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(hostcommon::RendersInSoftware("opengles2", "softpipe"));
    EXPECT_TRUE(hostcommon::RendersInSoftware("opengl", "Mesa DRI Intel(R) HD Graphics (swrast)"));
    EXPECT_FALSE(hostcommon::RendersInSoftware("opengl", "AMD Radeon RX 6600 (radeonsi, navi23)"));
    EXPECT_FALSE(hostcommon::RendersInSoftware("opengl", ""));
    EXPECT_FALSE(hostcommon::RendersInSoftware("direct3d11", ""));
}

} // namespace
