// CDib::ReadBMP: every failure code with what the object holds afterwards,
// colour counts, and where the pixel data is taken from.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "dib.h"

namespace {

class ReadBMP : public ::testing::Test {
  protected:
    ScratchDir dir;
    CDib dib;

    std::string Write(const std::vector<uint8_t>& bytes) { return dir.Write("image.bmp", bytes); }
    static std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size) {
        bytes.resize(size);
        return bytes;
    }
    bool IsBlankStart() {
        return dib.GetWidth() == 640 && dib.GetHeight() == 480 && dib.lpColorTable[200].rgbGreen == 200;
    }
};

TEST_F(ReadBMP, EarlyFailuresLeaveTheImageUntouched) {
    std::vector<uint8_t> good = BuildBmp({});
    std::vector<uint8_t> mb = good;
    mb[0] = 'M';
    mb[1] = 'B';
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int code;
    } cases[] = {
        {"ten bytes", Cut(good, 10), 3},
        {"begins with MB", mb, 4},
        {"thirty bytes", Cut(good, 30), 5},
        {"empty file", {}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(dib.ReadBMP(Write(c.bytes).c_str()));
        EXPECT_EQ(dib.nError, c.code);
        EXPECT_TRUE(IsBlankStart());
    }
    EXPECT_FALSE(dib.ReadBMP((dir.Write("x", {}) + "-missing").c_str()));
    EXPECT_EQ(dib.nError, 1);
    EXPECT_TRUE(IsBlankStart());
}

TEST_F(ReadBMP, ReadsHeaderColoursAndExactlyTheFilesPixelBytes) {
    BmpLayout layout;
    layout.gap = 6; // skipped: pixels come from bfOffBits
    layout.pixelBytes = 16;
    ASSERT_TRUE(dib.ReadBMP(Write(BuildBmp(layout)).c_str()));
    EXPECT_EQ(dib.GetWidth(), 4);
    EXPECT_EQ(dib.GetHeight(), 2);
    EXPECT_EQ(dib.lpColorTable[3].rgbBlue, 3);
    EXPECT_EQ(dib.lpColorTable[3].rgbGreen, 252);
    EXPECT_EQ(GlobalSize(GlobalHandle(dib.lpBits)), 16u);
    for (int k = 0; k < 16; k++) EXPECT_EQ(dib.lpBits[k], static_cast<uint8_t>(k * 7));
    EXPECT_EQ(dib.rcBounds.right, 640); // not touched by reading
}

TEST_F(ReadBMP, ColourCountFollowsBitDepthOrClrUsed) {
    struct Case {
        uint16_t bits;
        uint32_t clrUsed;
        uint32_t entriesRead;
    } cases[] = {{8, 0, 256}, {8, 16, 16}, {4, 0, 16}, {1, 0, 2}, {24, 0, 0}, {32, 0, 0}, {8, 1000, 256}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, clrUsed " << c.clrUsed);
        BmpLayout layout;
        layout.bitCount = c.bits;
        layout.clrUsed = c.clrUsed;
        layout.colorEntries = c.clrUsed > 256 ? 300 : c.entriesRead;
        layout.pixelBytes = c.bits > 8 ? 4 * 2 * c.bits / 8 : 16; // every row of 4 x 2
        CDib fresh;
        ASSERT_TRUE(fresh.ReadBMP(Write(BuildBmp(layout)).c_str()));
        for (uint32_t i = 0; i < 256; i++) {
            const RGBQUAD& e = fresh.lpColorTable[i];
            if (i < c.entriesRead) {
                ASSERT_EQ(e.rgbBlue, static_cast<uint8_t>(i)) << i;
                ASSERT_EQ(e.rgbGreen, static_cast<uint8_t>(255 - i)) << i;
            } else {
                ASSERT_TRUE(e.rgbBlue == 0 && e.rgbGreen == 0 && e.rgbRed == 0) << i; // black
            }
        }
        EXPECT_EQ(fresh.lpBits[1], 7); // the pixels start at bfOffBits whatever was read
    }
}

TEST_F(ReadBMP, ShortColourTableGivesSixAndKeepsThePreviousPixels) {
    LPBYTE before = dib.lpBits;
    std::vector<uint8_t> bytes = BuildBmp({});
    EXPECT_FALSE(dib.ReadBMP(Write(Cut(bytes, 54 + 100)).c_str()));
    EXPECT_EQ(dib.nError, 6);
    EXPECT_EQ(dib.lpBits, before);
    EXPECT_EQ(dib.GetWidth(), 4); // the new header
    EXPECT_EQ(dib.lpColorTable[24].rgbBlue, 24); // read as far as it went
    EXPECT_EQ(dib.lpColorTable[25].rgbBlue, 0);  // zero after that
}

TEST_F(ReadBMP, PixelBlockFailures) {
    struct Case {
        const char* what;
        BmpLayout layout;
        size_t cutTo; // 0: whole file
        int code;
        bool hasBits;
    } cases[] = {
        {"bfSize equals bfOffBits", BmpLayout{.pixelBytes = 0}, 0, 11, false},
        {"bfOffBits beyond bfSize", BmpLayout{.bfSizeAdjust = -20}, 0, 11, false},
        {"pixel data cut short", BmpLayout{}, 54 + 1024 + 5, 12, true},
        {"bfSize claims more than the file", BmpLayout{.bfSizeAdjust = 4000}, 0, 12, true},
        {"huge bfSize", BmpLayout{.bfSizeAdjust = 0x7FFFFF00}, 0, 11, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = BuildBmp(c.layout);
        if (c.cutTo) bytes.resize(c.cutTo);
        CDib fresh;
        EXPECT_FALSE(fresh.ReadBMP(Write(bytes).c_str()));
        EXPECT_EQ(fresh.nError, c.code);
        EXPECT_NE(fresh.lpInfo, nullptr);
        EXPECT_EQ(fresh.lpBits != nullptr, c.hasBits);
        EXPECT_EQ(fresh.GetWidth(), 4);
    }
}

TEST_F(ReadBMP, SuccessKeepsTheEarlierErrorCode) {
    EXPECT_FALSE(dib.ReadBMP(Write(Cut(BuildBmp({}), 10)).c_str()));
    ASSERT_TRUE(dib.ReadBMP(Write(BuildBmp({})).c_str()));
    EXPECT_EQ(dib.nError, 3);
}

TEST_F(ReadBMP, FreedObjectCanReadAgain) {
    dib.Free();
    ASSERT_TRUE(dib.ReadBMP(Write(BuildBmp({})).c_str()));
    EXPECT_EQ(dib.GetWidth(), 4);
}

TEST_F(ReadBMP, TopDownFileKeepsItsNegativeHeight) {
    BmpLayout layout;
    layout.height = -2;
    ASSERT_TRUE(dib.ReadBMP(Write(BuildBmp(layout)).c_str()));
    EXPECT_EQ(dib.GetHeight(), -2);
    EXPECT_EQ(dib.GetPixelByte(0, 0), 0); // first stored row is the top one
    EXPECT_EQ(dib.GetPixelByte(0, 1), static_cast<uint8_t>(4 * 7));
}

} // namespace
