// CDib::ReadBMP on the files editors write besides the 40-byte header, and
// the files it refuses rather than misread.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "dib.h"

namespace {

class ReadBmpHeaders : public ::testing::Test {
  protected:
    ScratchDir dir;
    CDib dib;

    std::string Write(const std::vector<uint8_t>& bytes) { return dir.Write("image.bmp", bytes); }
    bool IsBlankStart() {
        return dib.GetWidth() == 640 && dib.GetHeight() == 480 && dib.lpColorTable[200].rgbGreen == 200 &&
               GlobalSize(GlobalHandle(dib.lpBits)) == 640u * 480u;
    }
};

TEST_F(ReadBmpHeaders, LongerHeadersKeepTheirColourTableAndBecomePlainOnes) {
    for (uint32_t headerSize : {52u, 56u, 108u, 124u}) {
        for (uint32_t clrUsed : {0u, 16u}) {
            SCOPED_TRACE(testing::Message() << headerSize << "-byte header, clrUsed " << clrUsed);
            BmpLayout layout;
            layout.headerSize = headerSize;
            layout.clrUsed = clrUsed;
            layout.colorEntries = clrUsed ? clrUsed : 256;
            layout.gap = 3;
            CDib fresh;
            ASSERT_TRUE(fresh.ReadBMP(Write(BuildBmp(layout)).c_str()));
            const BITMAPINFOHEADER& h = fresh.lpInfo->bmiHeader;
            EXPECT_EQ(h.biSize, 40u);
            EXPECT_EQ(h.biWidth, 4);
            EXPECT_EQ(h.biHeight, 2);
            EXPECT_EQ(h.biBitCount, 8);
            EXPECT_EQ(h.biClrUsed, clrUsed);
            // Entry i is (i, 255 - i, i / 2), not the header's 0xA5 filler.
            EXPECT_EQ(fresh.lpColorTable[0].rgbGreen, 255);
            EXPECT_EQ(fresh.lpColorTable[15].rgbBlue, 15);
            EXPECT_EQ(fresh.lpColorTable[15].rgbRed, 7);
            EXPECT_EQ(fresh.lpColorTable[16].rgbBlue, clrUsed ? 0 : 16);
            EXPECT_EQ(fresh.lpBits[2], 14); // from bfOffBits, past the gap
        }
    }
}

TEST_F(ReadBmpHeaders, RefusedHeadersLeaveTheImageUntouched) {
    auto layout = [](auto change) {
        BmpLayout l;
        change(l);
        return BuildBmp(l);
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int code;
    } cases[] = {
        {"OS/2 header", BuildOs2Bmp(4, 2, 8), CDib::ERROR_OS2_HEADER},
        {"RLE8", layout([](BmpLayout& l) { l.compression = BI_RLE8; }), CDib::ERROR_COMPRESSED},
        {"RLE4", layout([](BmpLayout& l) { l.bitCount = 4, l.colorEntries = 16, l.compression = BI_RLE4; }),
         CDib::ERROR_COMPRESSED},
        {"16-bit bit fields, V5",
         layout([](BmpLayout& l) {
             l.headerSize = 124, l.bitCount = 16, l.colorEntries = 0, l.compression = BI_BITFIELDS;
         }),
         CDib::ERROR_COMPRESSED},
        {"PNG inside", layout([](BmpLayout& l) { l.compression = 5; }), CDib::ERROR_COMPRESSED},
        {"2 bits", layout([](BmpLayout& l) { l.bitCount = 2; }), CDib::ERROR_BIT_DEPTH},
        {"0 bits", layout([](BmpLayout& l) { l.bitCount = 0; }), CDib::ERROR_BIT_DEPTH},
        {"64 bits", layout([](BmpLayout& l) { l.bitCount = 64; }), CDib::ERROR_BIT_DEPTH},
        {"width 0", layout([](BmpLayout& l) { l.width = 0; }), CDib::ERROR_SIZE},
        {"height 0", layout([](BmpLayout& l) { l.height = 0; }), CDib::ERROR_SIZE},
        {"negative width", layout([](BmpLayout& l) { l.width = -4; }), CDib::ERROR_SIZE},
        {"width 32768", layout([](BmpLayout& l) { l.width = 32768; }), CDib::ERROR_SIZE},
        {"height 32768", layout([](BmpLayout& l) { l.height = 32768; }), CDib::ERROR_SIZE},
        {"top-down 32768", layout([](BmpLayout& l) { l.height = -32768; }), CDib::ERROR_SIZE},
        {"most negative height", layout([](BmpLayout& l) { l.height = INT32_MIN; }), CDib::ERROR_SIZE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(dib.ReadBMP(Write(c.bytes).c_str()));
        EXPECT_EQ(dib.nError, c.code);
        EXPECT_TRUE(IsBlankStart());
    }
}

TEST_F(ReadBmpHeaders, SidesUpTo32767AndTopDownFilesAreRead) {
    BmpLayout wide;
    wide.width = 32767, wide.height = 1, wide.pixelBytes = 32768;
    EXPECT_TRUE(dib.ReadBMP(Write(BuildBmp(wide)).c_str()));
    BmpLayout topDownV5;
    topDownV5.headerSize = 124, topDownV5.height = -2, topDownV5.pixelBytes = 8;
    ASSERT_TRUE(dib.ReadBMP(Write(BuildBmp(topDownV5)).c_str()));
    EXPECT_EQ(dib.GetHeight(), -2);
    EXPECT_EQ(dib.lpInfo->bmiHeader.biSize, 40u);
}

// The rows of 4 x 2 at 8 bits take 8 bytes; of 5 x 1 at 24 bits, 16 (15
// padded to 4).
TEST_F(ReadBmpHeaders, PixelBlockShorterThanTheRowsIsRefusedHoldingWhatWasRead) {
    struct Case {
        const char* what;
        BmpLayout layout;
        int code;
    } cases[] = {
        {"8 bits, 7 of 8 bytes", BmpLayout{.pixelBytes = 7}, CDib::ERROR_PIXELS_SHORT},
        {"24 bits, row padding missing",
         BmpLayout{.width = 5, .height = 1, .bitCount = 24, .colorEntries = 0, .pixelBytes = 15},
         CDib::ERROR_PIXELS_SHORT},
        {"top-down, 7 of 8 bytes", BmpLayout{.height = -2, .pixelBytes = 7}, CDib::ERROR_PIXELS_SHORT},
        // A file shorter than bfSize says is cut short first.
        {"file cut short", BmpLayout{.pixelBytes = 7, .bfSizeAdjust = 10}, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDib fresh;
        EXPECT_FALSE(fresh.ReadBMP(Write(BuildBmp(c.layout)).c_str()));
        EXPECT_EQ(fresh.nError, c.code);
        EXPECT_EQ(fresh.GetWidth(), c.layout.width); // the new header, complete
        ASSERT_NE(fresh.lpBits, nullptr);
        EXPECT_EQ(fresh.lpBits[1], 7);
    }
    BmpLayout exact;
    exact.pixelBytes = 8;
    EXPECT_TRUE(dib.ReadBMP(Write(BuildBmp(exact)).c_str()));
}

} // namespace
