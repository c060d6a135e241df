// Checks the generated city2.bmp the way the game will use it: a plain 8-bit
// BMP whose colour key marks everything that is not art, with each sprite in
// its rectangle (the generator's layout, which the game's own rectangles are
// checked against in tests/game). The file is read here with a reader of its
// own so that a fault in the generator's writer cannot hide itself.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "../../tools/sheetgen/layout.h"

namespace {

using Bytes = std::vector<uint8_t>;

using sheet::kBackground;
using sheet::kSprites;

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

uint32_t U16(const Bytes& b, size_t at) {
    return b.at(at) | (b.at(at + 1) << 8);
}
uint32_t U32(const Bytes& b, size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

struct Rgb {
    int r, g, b;
    bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
    int Luma() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

// An 8-bit BMP, rows stored top-down here whatever order the file used.
struct Sheet {
    Bytes file;
    int width = 0, height = 0;
    std::vector<Rgb> colours;
    std::vector<uint8_t> pixels;

    uint8_t At(int x, int y) const { return pixels.at(static_cast<size_t>(y * width + x)); }
    Rgb ColourAt(int x, int y) const { return colours.at(At(x, y)); }
    uint8_t Key() const { return At(sheet::kKeyX, sheet::kKeyY); }
};

Sheet Decode(Bytes file) {
    Sheet s;
    s.file = std::move(file);
    const Bytes& f = s.file;
    s.width = static_cast<int>(U32(f, 18));
    s.height = static_cast<int>(static_cast<int32_t>(U32(f, 22)));
    const size_t table = 14 + U32(f, 14);
    for (size_t i = 0; i < 256; ++i)
        s.colours.push_back(
            {f.at(table + i * 4 + 2), f.at(table + i * 4 + 1), f.at(table + i * 4)});
    const size_t stride = (static_cast<size_t>(s.width) + 3) & ~size_t{3};
    const size_t offset = U32(f, 10);
    for (int y = 0; y < s.height; ++y) {
        const size_t row = offset + static_cast<size_t>(s.height - 1 - y) * stride;
        for (int x = 0; x < s.width; ++x)
            s.pixels.push_back(f.at(row + static_cast<size_t>(x)));
    }
    return s;
}

class SheetTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Bytes file = ReadFile(CITY2_BMP);
        try {
            sheet_ = new Sheet(Decode(file));
        } catch (const std::out_of_range&) { // truncated: SetUp reports it
            sheet_ = new Sheet();
            sheet_->file = std::move(file);
        }
    }
    static void TearDownTestSuite() {
        delete sheet_;
        sheet_ = nullptr;
    }
    void SetUp() override {
        ASSERT_GE(sheet_->file.size(), 1078u) << CITY2_BMP << " is missing or short";
        ASSERT_EQ(sheet_->width, 640);
        ASSERT_GE(sheet_->height, 695);
    }

    // Painted pixels of a rectangle, in reading order.
    static std::vector<Rgb> Opaque(const Rect& b) {
        std::vector<Rgb> out;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                if (sheet_->At(x, y) != sheet_->Key()) out.push_back(sheet_->ColourAt(x, y));
        return out;
    }

    static const Sheet& S() { return *sheet_; }

  private:
    static Sheet* sheet_;
};

Sheet* SheetTest::sheet_ = nullptr;

// Runs the generator with the given arguments; returns its exit code.
int RunGenerator(const std::string& args) {
    const int status = std::system(("\"" SHEETGEN "\" " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A scratch file name unique to this build, so two build trees can run
// their suites side by side.
std::string Scratch(const std::string& name) {
    const std::string tag = std::to_string(std::hash<std::string>{}(SHEETGEN));
    return (std::filesystem::path(::testing::TempDir()) / ("sheet_" + tag + "_" + name)).string();
}

Rgb Mean(const std::vector<Rgb>& colours) {
    Rgb sum{0, 0, 0};
    for (const Rgb& c : colours) {
        sum.r += c.r;
        sum.g += c.g;
        sum.b += c.b;
    }
    const int n = std::max<int>(1, static_cast<int>(colours.size()));
    return {sum.r / n, sum.g / n, sum.b / n};
}

// ---- the file ----

TEST_F(SheetTest, HeadersDescribeAnUncompressedBottomUp8BitImage) {
    const Bytes& f = S().file;
    struct Field {
        const char* what;
        size_t offset;
        int bytes;
        uint32_t want;
    } fields[] = {
        {"bfType", 0, 2, 'B' | ('M' << 8)},
        {"bfReserved", 6, 4, 0},
        {"bfOffBits", 10, 4, 14 + 40 + 256 * 4},
        {"biSize", 14, 4, 40},
        {"biWidth", 18, 4, 640},
        {"biPlanes", 26, 2, 1},
        {"biBitCount", 28, 2, 8},
        {"biCompression (BI_RGB)", 30, 4, 0},
    };
    for (const Field& field : fields) {
        const uint32_t got = field.bytes == 2 ? U16(f, field.offset) : U32(f, field.offset);
        EXPECT_EQ(got, field.want) << field.what;
    }
    const int32_t height = static_cast<int32_t>(U32(f, 22));
    EXPECT_GE(height, 695) << "biHeight must be positive (bottom-up) and tall enough";
    const uint32_t clrUsed = U32(f, 46);
    EXPECT_TRUE(clrUsed == 0 || clrUsed == 256) << "biClrUsed " << clrUsed;
    EXPECT_EQ(U32(f, 2), f.size()) << "bfSize";
    EXPECT_EQ(f.size(), 1078u + 640u * static_cast<uint32_t>(height)) << "rows of 640 bytes";
}

TEST_F(SheetTest, ColourTableHasBlackFirstOneKeyAndNoRepeats) {
    const Bytes& f = S().file;
    EXPECT_EQ(S().colours[0].r + S().colours[0].g + S().colours[0].b, 0) << "entry 0 is black";
    for (size_t i = 0; i < 256; ++i)
        EXPECT_EQ(f[54 + i * 4 + 3], 0) << "rgbReserved of entry " << i;

    const std::set<Rgb> distinct(S().colours.begin(), S().colours.end());
    EXPECT_EQ(distinct.size(), 256u) << "GDI would fold repeated colours together";

    const Rgb key = S().colours[S().Key()];
    const auto sameAsKey = [&](const Rgb& c) { return !(c < key) && !(key < c); };
    EXPECT_EQ(std::count_if(S().colours.begin(), S().colours.end(), sameAsKey), 1);
}

TEST_F(SheetTest, GeneratorWritesTheSameBytesEveryRun) {
    std::vector<Bytes> runs;
    for (const char* name : {"a.bmp", "b.bmp"}) {
        const std::string out = Scratch(name);
        ASSERT_EQ(RunGenerator("\"" + out + "\""), 0);
        runs.push_back(ReadFile(out));
        std::filesystem::remove(out);
    }
    EXPECT_FALSE(runs[0].empty());
    EXPECT_TRUE(runs[0] == runs[1]) << "two runs differ";
    EXPECT_TRUE(runs[0] == S().file) << "a fresh run differs from the built sheet";
}

TEST(SheetgenCommandLine, WritesWhatItIsAskedForAndRejectsTheRest) {
    const std::string bmp = Scratch("cli.bmp"), png = Scratch("cli.png");
    const std::string q = "\"";
    struct Case {
        const char* what;
        std::string args;
        int wantExit;
        bool wantBmp, wantPng;
    } cases[] = {
        {"no arguments", "", 2, false, false},
        {"unknown option", q + bmp + q + " --shiny", 2, false, false},
        {"--png without a file", q + bmp + q + " --png", 2, false, false},
        {"bad crop", q + bmp + q + " --crop 1,2,3," + q + png + q, 2, false, false},
        {"sheet only", q + bmp + q, 0, true, false},
        {"sheet and review", q + bmp + q + " --png " + q + png + q, 0, true, true},
        {"sheet and crop", q + bmp + q + " --crop 151,581,192,610,4," + png, 0, true, true},
        {"unwritable sheet", "/nonexistent/dir/city2.bmp", 1, false, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(bmp);
        std::filesystem::remove(png);
        EXPECT_EQ(RunGenerator(c.args), c.wantExit) << c.what;
        EXPECT_EQ(std::filesystem::exists(bmp), c.wantBmp) << c.what;
        const Bytes picture = ReadFile(png);
        EXPECT_EQ(!picture.empty(), c.wantPng) << c.what;
        if (c.wantPng) {
            ASSERT_GE(picture.size(), 24u) << c.what;
            EXPECT_EQ(picture[1], 'P');
            EXPECT_EQ(picture[12], 'I') << "IHDR comes first";
        }
    }
    std::filesystem::remove(bmp);
    std::filesystem::remove(png);
}

TEST(SheetgenCommandLine, ReviewPictureIsTheSheetAtTwiceItsSize) {
    const std::string bmp = Scratch("review.bmp"), png = Scratch("review.png");
    ASSERT_EQ(RunGenerator("\"" + bmp + "\" --png \"" + png + "\""), 0);
    const Bytes picture = ReadFile(png);
    ASSERT_GE(picture.size(), 24u);
    const auto be32 = [&](size_t at) {
        return (uint32_t{picture[at]} << 24) | (picture[at + 1] << 16) | (picture[at + 2] << 8) |
               picture[at + 3];
    };
    EXPECT_EQ(be32(16), 2u * 640u) << "width";
    EXPECT_EQ(be32(20), 2u * U32(ReadFile(bmp), 22)) << "height";
    std::filesystem::remove(bmp);
    std::filesystem::remove(png);
}

TEST(SheetgenCommandLine, IconIsTheShipOnATransparentSquare) {
    const std::string bmp = Scratch("icon.bmp"), raw = Scratch("icon.rgba");
    ASSERT_EQ(RunGenerator("\"" + bmp + "\" --icon 64,\"" + raw + "\""), 0);
    const Bytes rgba = ReadFile(raw);
    ASSERT_EQ(rgba.size(), 64u * 64u * 4u);
    auto alpha = [&](int x, int y) { return rgba[(static_cast<size_t>(y) * 64 + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);   // corners are see-through
    EXPECT_EQ(alpha(63, 63), 0);
    EXPECT_EQ(alpha(32, 32), 255); // the ship's hull in the middle
    int opaque = 0;
    for (size_t i = 3; i < rgba.size(); i += 4) {
        ASSERT_TRUE(rgba[i] == 0 || rgba[i] == 255);
        if (rgba[i] == 255) {
            opaque++;
            EXPECT_FALSE(rgba[i - 3] == 255 && rgba[i - 2] == 0 && rgba[i - 1] == 255) << "no key magenta";
        }
    }
    EXPECT_GT(opaque, 64 * 64 / 5);
    EXPECT_EQ(RunGenerator("\"" + bmp + "\" --icon 8,\"" + raw + "\""), 2); // too small to draw
    std::filesystem::remove(bmp);
    std::filesystem::remove(raw);
}

// ---- transparency and placement ----

TEST_F(SheetTest, EverySpriteRectangleHoldsArt) {
    for (const sheet::NamedRect& sprite : kSprites) {
        const int area = sprite.rect.Width() * sprite.rect.Height();
        const int painted = static_cast<int>(Opaque(sprite.rect).size());
        EXPECT_GT(painted * 10, area) << sprite.name << " is under a tenth painted";
    }
}

TEST_F(SheetTest, SpriteAreaIsTransparentOutsideTheSprites) {
    int stray = 0;
    for (int y = sheet::kSpriteAreaTop; y < S().height; ++y) {
        for (int x = 0; x < S().width; ++x) {
            const bool inSprite =
                std::any_of(std::begin(kSprites), std::end(kSprites),
                            [&](const sheet::NamedRect& s) { return s.rect.Contains(x, y); });
            if (!inSprite && S().At(x, y) != S().Key() && stray++ < 5)
                ADD_FAILURE() << "painted pixel outside every sprite at " << x << "," << y;
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST_F(SheetTest, BackgroundHasNoTransparentPixel) {
    int holes = 0;
    for (int y = kBackground.top; y < kBackground.bottom; ++y)
        for (int x = kBackground.left; x < kBackground.right; ++x)
            holes += S().At(x, y) == S().Key();
    EXPECT_EQ(holes, 0);
}

// ---- the art's intent ----

int MedianLuma(const Sheet& s, int y) {
    std::vector<int> row;
    for (int x = kBackground.left; x < kBackground.right; ++x)
        row.push_back(s.ColourAt(x, y).Luma());
    std::nth_element(row.begin(), row.begin() + row.size() / 2, row.end());
    return row[row.size() / 2];
}

TEST_F(SheetTest, SkyDarkensUpwardsAndTheNearestBuildingsAreDarkest) {
    struct Pair {
        const char* what;
        int darkerRow, lighterRow;
    } pairs[] = {
        {"zenith against mid sky", 4, 120},
        {"mid sky against the sky behind the towers", 120, 200},
        {"street-level buildings against the far skyline", 470, 300},
    };
    for (const Pair& p : pairs)
        EXPECT_LT(MedianLuma(S(), p.darkerRow), MedianLuma(S(), p.lighterRow)) << p.what;

    std::set<uint8_t> used(S().pixels.begin(), S().pixels.begin() + 479 * S().width);
    EXPECT_GE(used.size(), 30u) << "the backdrop needs sky, moon, buildings and windows";
}

TEST_F(SheetTest, GunsHaveMetalWhereTheShotsLeave) {
    const int playerX = sheet::kPlayer.left + sheet::kPlayerGunX, playerY = sheet::kPlayer.top + sheet::kPlayerGunY;
    const int bossX = sheet::kBoss.left + sheet::kBossGunX, bossY = sheet::kBoss.top + sheet::kBossGunY;
    struct Muzzle {
        const char* what;
        Rect near; // sheet pixels around the point where shots appear
    } muzzles[] = {
        {"player nose", {playerX, playerY, playerX + 9, playerY + 7}},
        {"Boss cannon", {bossX - 8, bossY, bossX + 2, bossY + 10}},
    };
    for (const Muzzle& m : muzzles)
        EXPECT_GE(Opaque(m.near).size(), 12u) << m.what;
}

TEST_F(SheetTest, ShotsAreBrightAndOfDifferentColours) {
    const Rgb player = Mean(Opaque(sheet::kPlayerShot));
    const Rgb boss = Mean(Opaque(sheet::kBossShot));
    EXPECT_GT(player.Luma(), 110);
    EXPECT_GT(boss.Luma(), 90);
    EXPECT_GT(player.b, player.r) << "player shot should be cool";
    EXPECT_GT(boss.r, boss.b) << "Boss shot should be warm";
}

// The smallest box around a sprite's painted pixels.
Rect PaintedBounds(const Sheet& s, const Rect& b) {
    Rect out{b.right, b.bottom, b.left, b.top};
    for (int y = b.top; y < b.bottom; ++y) {
        for (int x = b.left; x < b.right; ++x) {
            if (s.At(x, y) == s.Key()) continue;
            out = {std::min(out.left, x), std::min(out.top, y), std::max(out.right, x + 1),
                   std::max(out.bottom, y + 1)};
        }
    }
    return out;
}

TEST_F(SheetTest, ExplosionGrowsAndFadesAroundItsCentre) {
    int previousWidth = 0, previousLuma = 256;
    for (int frame = 0; frame < sheet::kExplosionFrames; ++frame) {
        const Rect& b = sheet::kExplosion[frame];
        const Rect painted = PaintedBounds(S(), b);
        const int width = painted.right - painted.left;
        const int luma = Mean(Opaque(b)).Luma();
        EXPECT_GE(width, previousWidth) << "frame " << frame + 1 << " shrinks";
        EXPECT_LT(luma, previousLuma) << "frame " << frame + 1 << " is no darker";
        // Twice the centres, to stay in whole numbers.
        EXPECT_NEAR(painted.left + painted.right, b.left + b.right, 5) << "frame " << frame + 1;
        EXPECT_NEAR(painted.top + painted.bottom, b.top + b.bottom, 5) << "frame " << frame + 1;
        previousWidth = width;
        previousLuma = luma;
    }
}

// Share of positions where one sprite is painted and the other is not,
// comparing their top-left-aligned rectangles (the second one mirrored if
// asked).
double ShapeDifference(const Sheet& s, const Rect& a, const Rect& b, bool mirror) {
    const int w = std::min(a.right - a.left, b.right - b.left);
    const int h = std::min(a.bottom - a.top, b.bottom - b.top);
    int differ = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int bx = mirror ? b.right - 1 - x : b.left + x;
            differ += (s.At(a.left + x, a.top + y) == s.Key()) != (s.At(bx, b.top + y) == s.Key());
        }
    }
    return static_cast<double>(differ) / (w * h);
}

TEST_F(SheetTest, LookAlikeSpritesAreClearlyDifferent) {
    struct Pair {
        int a, b;
        bool mirror;
    } pairs[] = {
        {4, 5, false}, // the two enemies
        {4, 5, true},  // ... and not one flipped to make the other
        {6, 7, false}, // shield and bomb
        {7, 8, false}, // bomb and extra life
        {6, 8, false}, // shield and extra life
    };
    for (const Pair& p : pairs)
        EXPECT_GT(ShapeDifference(S(), kSprites[p.a].rect, kSprites[p.b].rect, p.mirror), 0.15)
            << kSprites[p.a].name << " vs " << kSprites[p.b].name << (p.mirror ? " mirrored" : "");
}

TEST_F(SheetTest, BonusItemsSitInTheirOwnRectangles) {
    // A swapped rectangle would hand the player the wrong bonus.
    struct Item {
        int sprite;
        const char* looks;
        bool (*fits)(const Rgb&);
    } items[] = {
        {6, "blue and gold shield", [](const Rgb& c) { return c.b > c.r && c.b > c.g; }},
        {7, "dark round bomb", [](const Rgb& c) { return c.Luma() < 80; }},
        {8, "red heart", [](const Rgb& c) { return c.r > c.g + 40 && c.r > c.b + 40; }},
    };
    for (const Item& item : items) {
        const Rgb mean = Mean(Opaque(kSprites[item.sprite].rect));
        EXPECT_TRUE(item.fits(mean)) << kSprites[item.sprite].name << " should be a " << item.looks
                                     << "; mean " << mean.r << "," << mean.g << "," << mean.b;
    }
}

} // namespace
