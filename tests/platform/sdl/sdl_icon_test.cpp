// The window icon file: found beside the executable or in the installed
// data folder, and taken only when it is exactly 64 x 64 RGBA.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "sdl_icon.h"

namespace {

namespace fs = std::filesystem;

class WindowIcon : public testing::Test {
  protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::path(testing::TempDir()) / (std::string("sdl_icon_") + test->name() + "_" +
                                                std::to_string(static_cast<long>(getpid())));
        fs::remove_all(root_);
        fs::create_directories(bin());
        fs::create_directories(share());
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path bin() const { return root_ / "bin"; }
    fs::path share() const { return root_ / "share" / "quorvanteledix"; }

    // Writes an icon file of `size` bytes, every byte `fill`.
    static void Write(const fs::path& folder, size_t size, uint8_t fill) {
        std::vector<char> bytes(size, static_cast<char>(fill));
        std::ofstream(folder / sdlhost::kIconFileName, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path root_;
};

// The icon the build draws beside the executables is one the host takes:
// the sheet generator and the host agree on its name and size.
TEST(WindowIconOfTheBuild, IsFoundBesideTheExecutables) {
    auto icon = sdlhost::FindIcon(sdlhost::ExecutableFolder());
    ASSERT_TRUE(icon) << "no proper " << sdlhost::kIconFileName << " beside the test program";
    size_t opaque = 0;
    for (size_t i = 3; i < icon->size(); i += 4) opaque += (*icon)[i] == 0xFF;
    EXPECT_GT(opaque, 0u) << "the ship shows";
    EXPECT_LT(opaque, size_t{sdlhost::kIconSize} * sdlhost::kIconSize) << "around it is clear";
}

TEST_F(WindowIcon, BesideTheExecutableWins) {
    Write(bin(), sdlhost::kIconBytes, 0x11);
    Write(share(), sdlhost::kIconBytes, 0x22);
    auto icon = sdlhost::FindIcon(bin());
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), sdlhost::kIconBytes);
    EXPECT_EQ(icon->front(), 0x11);
    EXPECT_EQ(icon->back(), 0x11);
}

TEST_F(WindowIcon, InstalledDataFolderIsTheFallback) {
    Write(share(), sdlhost::kIconBytes, 0x22);
    auto icon = sdlhost::FindIcon(bin());
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->front(), 0x22);
}

TEST_F(WindowIcon, WrongSizeBesideFallsBackToInstalled) {
    Write(bin(), sdlhost::kIconBytes - 1, 0x11);
    Write(share(), sdlhost::kIconBytes, 0x22);
    auto icon = sdlhost::FindIcon(bin());
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->front(), 0x22);
}

// Sizes around the right one, and none at all: no icon.
TEST_F(WindowIcon, AnythingButTheRightSizeIsNoIcon) {
    for (size_t size : {size_t{0}, sdlhost::kIconBytes - 1, sdlhost::kIconBytes + 1,
                        sdlhost::kIconBytes * 4}) {
        Write(bin(), size, 0x33);
        EXPECT_FALSE(sdlhost::ReadIconFile(bin() / sdlhost::kIconFileName)) << size << " bytes";
        EXPECT_FALSE(sdlhost::FindIcon(bin())) << size << " bytes";
    }
}

TEST_F(WindowIcon, MissingEverywhereOrNoFolderIsNoIcon) {
    EXPECT_FALSE(sdlhost::FindIcon(bin()));
    EXPECT_FALSE(sdlhost::FindIcon(fs::path()));
    // A folder where the file should be is no icon either.
    fs::create_directories(bin() / sdlhost::kIconFileName);
    EXPECT_FALSE(sdlhost::FindIcon(bin()));
}

TEST(ExecutableFolder, IsTheFolderOfThisTestProgram) {
    fs::path folder = sdlhost::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::exists(folder / "platform_sdl_unit_tests"));
}

} // namespace
