// Screenshots: the PNG written (read back with libpng), the pictures folder
// chosen, and names that never overwrite an earlier screenshot.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <png.h>
#include <unistd.h>

#include "sdl_screenshot.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 640, kHeight = 480;

struct ReadPng {
    bool ok = false;
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    std::vector<png_color> palette;
    std::vector<uint8_t> indices;
};

// Reads a PNG as it is stored, without libpng's conversions. Only trivially
// destructible objects live in this frame, for libpng's longjmp.
bool ReadInto(png_structp png, png_infop info, std::FILE* file, ReadPng& out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_read_info(png, info);
    png_get_IHDR(png, info, &out.width, &out.height, &out.bitDepth, &out.colorType, nullptr,
                 nullptr, nullptr);
    png_colorp colors = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colors, &count) == PNG_INFO_PLTE)
        out.palette.assign(colors, colors + count);
    size_t rowBytes = png_get_rowbytes(png, info);
    out.indices.resize(rowBytes * out.height);
    for (png_uint_32 y = 0; y < out.height; y++)
        png_read_row(png, out.indices.data() + y * rowBytes, nullptr);
    png_read_end(png, nullptr);
    return true;
}

ReadPng ReadBack(const fs::path& path) {
    ReadPng result;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return result;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    result.ok = ReadInto(png, info, file, result);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return result;
}

// A frame whose every index and palette entry differs from its neighbours,
// so that a swapped channel, a shifted row or a lost entry shows.
struct Frame {
    std::vector<uint8_t> indices = std::vector<uint8_t>(size_t{kWidth} * kHeight);
    std::array<host::PaletteEntry, 256> palette{};
    Frame() {
        for (int y = 0; y < kHeight; y++)
            for (int x = 0; x < kWidth; x++)
                indices[size_t(y) * kWidth + x] = static_cast<uint8_t>(x * 7 + y * 13);
        for (int i = 0; i < 256; i++)
            palette[i] = host::PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    }
};

class TempFolder : public testing::Test {
  protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(testing::TempDir()) /
                  (std::string("sdl_screenshot_") + test->name() + "_" +
                   std::to_string(static_cast<long>(getpid())));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

std::tm Moment() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11; // December
    t.tm_mday = 8;
    t.tm_hour = 18;
    t.tm_min = 55;
    t.tm_sec = 1;
    return t;
}

using Screenshot = TempFolder;

TEST_F(Screenshot, IsAnEightBitPalettedPngOfTheFrame) {
    Frame frame;
    sdlhost::SavedScreenshot saved = sdlhost::SaveScreenshotIn(
        folder_, Moment(), frame.indices.data(), kWidth, kHeight, frame.palette.data());
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(saved.path, folder_ / "quorvanteledix-2026-12-08-185501.png");

    ReadPng png = ReadBack(saved.path);
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.width, png_uint_32{kWidth});
    EXPECT_EQ(png.height, png_uint_32{kHeight});
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colorType, PNG_COLOR_TYPE_PALETTE);
    ASSERT_EQ(png.palette.size(), 256u);
    for (int i = 0; i < 256; i++) {
        EXPECT_EQ(png.palette[i].red, frame.palette[i].red) << "entry " << i;
        EXPECT_EQ(png.palette[i].green, frame.palette[i].green) << "entry " << i;
        EXPECT_EQ(png.palette[i].blue, frame.palette[i].blue) << "entry " << i;
    }
    EXPECT_TRUE(png.indices == frame.indices);
}

TEST_F(Screenshot, RowsAreTakenAtThePitch) {
    constexpr int width = 3, height = 2, pitch = 5;
    const uint8_t rows[pitch * height] = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99};
    Frame frame;
    fs::path path = folder_ / "pitch.png";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(sdlhost::WritePalettedPng(file, rows, width, height, pitch, frame.palette.data()));
    std::fclose(file);
    ReadPng png = ReadBack(path);
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.indices, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST_F(Screenshot, NamesTakenGetANumber) {
    Frame frame;
    std::vector<fs::path> paths;
    for (int i = 0; i < 3; i++) {
        sdlhost::SavedScreenshot saved = sdlhost::SaveScreenshotIn(
            folder_, Moment(), frame.indices.data(), kWidth, kHeight, frame.palette.data());
        ASSERT_TRUE(saved.ok) << saved.error;
        paths.push_back(saved.path.filename());
    }
    EXPECT_EQ(paths, (std::vector<fs::path>{"quorvanteledix-2026-12-08-185501.png",
                                            "quorvanteledix-2026-12-08-185501-2.png",
                                            "quorvanteledix-2026-12-08-185501-3.png"}));
}

TEST_F(Screenshot, ExistingFileIsNeverOverwritten) {
    fs::path first = folder_ / "quorvanteledix-2026-12-08-185501.png";
    std::ofstream(first) << "keep me";
    Frame frame;
    sdlhost::SavedScreenshot saved = sdlhost::SaveScreenshotIn(
        folder_, Moment(), frame.indices.data(), kWidth, kHeight, frame.palette.data());
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.path.filename(), "quorvanteledix-2026-12-08-185501-2.png");
    std::ifstream kept(first);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "keep me");
}

TEST_F(Screenshot, MissingFolderFailsWithAReason) {
    Frame frame;
    sdlhost::SavedScreenshot saved = sdlhost::SaveScreenshotIn(
        folder_ / "gone", Moment(), frame.indices.data(), kWidth, kHeight, frame.palette.data());
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.empty());
    EXPECT_FALSE(fs::exists(folder_ / "gone"));
}

TEST(ScreenshotPng, RefusesMissingOrEmptyInput) {
    Frame frame;
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(sdlhost::WritePalettedPng(file, nullptr, 4, 4, 4, frame.palette.data()));
    EXPECT_FALSE(sdlhost::WritePalettedPng(file, frame.indices.data(), 4, 4, 4, nullptr));
    EXPECT_FALSE(sdlhost::WritePalettedPng(file, frame.indices.data(), 0, 4, 4, frame.palette.data()));
    EXPECT_FALSE(sdlhost::WritePalettedPng(file, frame.indices.data(), 4, 4, 3, frame.palette.data()));
    EXPECT_FALSE(sdlhost::WritePalettedPng(nullptr, frame.indices.data(), 4, 4, 4, frame.palette.data()));
    std::fclose(file);
}

TEST(ScreenshotName, DateAndTimeThenAttempt) {
    std::tm t = Moment();
    EXPECT_EQ(sdlhost::ScreenshotName(t, 1), "quorvanteledix-2026-12-08-185501.png");
    EXPECT_EQ(sdlhost::ScreenshotName(t, 2), "quorvanteledix-2026-12-08-185501-2.png");
    EXPECT_EQ(sdlhost::ScreenshotName(t, 12), "quorvanteledix-2026-12-08-185501-12.png");
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_hour = 3;
    t.tm_min = 4;
    t.tm_sec = 5;
    EXPECT_EQ(sdlhost::ScreenshotName(t, 1), "quorvanteledix-2026-01-02-030405.png");
}

// The pictures folder: $XDG_PICTURES_DIR, ~/Pictures, the current folder,
// each only when it is an existing folder.
struct FolderCase {
    const char* name;
    bool xdgSet, xdgExists, homeSet, picturesExists;
    const char* expected; // "xdg", "pictures" or "current"
};

class PicturesFolder : public TempFolder, public testing::WithParamInterface<FolderCase> {};

TEST_P(PicturesFolder, FirstExistingChoiceWins) {
    const FolderCase& c = GetParam();
    fs::path xdg = folder_ / "xdg-pictures", home = folder_ / "home";
    fs::path current = folder_ / "current";
    fs::create_directories(home);
    if (c.xdgExists) fs::create_directories(xdg);
    if (c.picturesExists) fs::create_directories(home / "Pictures");
    fs::path chosen = sdlhost::PicturesFolder(c.xdgSet ? xdg.c_str() : nullptr,
                                              c.homeSet ? home.c_str() : nullptr, current);
    fs::path expected = std::string(c.expected) == "xdg"        ? xdg
                        : std::string(c.expected) == "pictures" ? home / "Pictures"
                                                                : current;
    EXPECT_EQ(chosen, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screenshot, PicturesFolder,
    testing::Values(FolderCase{"XdgFolder", true, true, true, true, "xdg"},
                    FolderCase{"XdgMissingFallsToPictures", true, false, true, true, "pictures"},
                    FolderCase{"XdgUnsetFallsToPictures", false, false, true, true, "pictures"},
                    FolderCase{"NoPicturesFallsToCurrent", false, false, true, false, "current"},
                    FolderCase{"NoHomeFallsToCurrent", false, false, false, true, "current"},
                    FolderCase{"XdgWithoutHome", true, true, false, false, "xdg"},
                    FolderCase{"NothingExists", true, false, true, false, "current"}),
    [](const testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });

TEST_F(Screenshot, EmptyXdgOrHomeIsIgnored) {
    EXPECT_EQ(sdlhost::PicturesFolder("", "", folder_), folder_);
}

TEST_F(Screenshot, XdgNamingAFileIsIgnored) {
    fs::path file = folder_ / "not-a-folder";
    std::ofstream(file) << "x";
    EXPECT_EQ(sdlhost::PicturesFolder(file.c_str(), nullptr, folder_), folder_);
}

// The whole PrintScreen path with the environment pointing at a folder.
TEST_F(Screenshot, SavesToXdgPicturesDir) {
    const char* old = std::getenv("XDG_PICTURES_DIR");
    std::string saved = old ? old : "";
    setenv("XDG_PICTURES_DIR", folder_.c_str(), 1);
    Frame frame;
    testing::internal::CaptureStderr();
    sdlhost::SaveScreenshot(frame.indices.data(), kWidth, kHeight, frame.palette.data());
    std::string said = testing::internal::GetCapturedStderr();
    if (old)
        setenv("XDG_PICTURES_DIR", saved.c_str(), 1);
    else
        unsetenv("XDG_PICTURES_DIR");

    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder_)) files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(said, "Screenshot saved to " + files[0].string() + "\n");
    EXPECT_EQ(files[0].filename().string().rfind("quorvanteledix-", 0), 0u);
    EXPECT_EQ(ReadBack(files[0]).indices, frame.indices);
}

} // namespace
