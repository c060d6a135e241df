// The sheet map (city2-map.png): its plan names every rectangle and the key
// in letters the font has, with no label over the art or over another label;
// the picture the build draws shows the sheet unchanged inside every frame;
// and the copy in docs/ is that picture.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../tools/sheetgen/label_font.h"
#include "../../tools/sheetgen/map_layout.h"

namespace {

using sheetmap::Label;

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

Rect Grown(const Rect& r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

std::string Describe(const Rect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// ---- the plan ----

TEST(SheetMapPlan, NamesEveryRectangleAndTheKeyInLettersTheFontHas) {
    const sheetmap::Plan plan = sheetmap::PlanMap();
    ASSERT_EQ(plan.frames.size(), sheet::kSprites.size() + 1) << "every sprite and the background";
    ASSERT_EQ(plan.labels.size(), plan.frames.size() + 2) << "and the key and the caption";
    for (std::size_t i = 0; i < sheet::kSprites.size(); ++i) {
        EXPECT_EQ(plan.labels[i].text, sheet::kSprites[i].name);
        EXPECT_EQ(Describe(plan.frames[i]), Describe(sheetmap::ToMap(sheet::kSprites[i].rect)));
    }
    EXPECT_EQ(plan.labels[sheet::kSprites.size()].text, "background (0, 0)-(639, 479)");
    EXPECT_EQ(plan.labels[plan.frames.size()].text, "key colour (1, 500)");
    EXPECT_NE(plan.labels.back().text.find("640 x 700 pixels"), std::string::npos)
        << plan.labels.back().text;
    for (const Label& label : plan.labels)
        for (char c : label.text)
            EXPECT_TRUE(font::HasGlyph(c))
                << "'" << c << "' of \"" << label.text << "\" would show as a block";
}

TEST(SheetMapPlan, LabelsSitBesideWhatTheyNameAndCoverNoArtNoFrameAndNoOtherLabel) {
    const sheetmap::Plan plan = sheetmap::PlanMap();
    const Rect onSheet = sheetmap::ToMap({0, 0, sheet::kWidth, sheet::kHeight});
    const std::vector<Label> named(plan.labels.begin(),
                                   plan.labels.end() - 1); // all but the caption
    for (std::size_t i = 0; i < named.size(); ++i) {
        const Label& label = named[i];
        const std::string what = "\"" + label.text + "\" at " + Describe(label.box);
        EXPECT_TRUE(Inside(label.box, onSheet)) << what << " leaves the sheet";
        // A frame's line is one pixel outside its rectangle.
        for (const Rect& frame : plan.frames)
            EXPECT_FALSE(Overlap(label.box, Grown(frame, 1)))
                << what << " covers " << Describe(frame);
        EXPECT_FALSE(Overlap(label.box, plan.ring)) << what << " covers the key ring";
        for (std::size_t j = i + 1; j < named.size(); ++j)
            EXPECT_FALSE(Overlap(label.box, named[j].box))
                << what << " covers \"" << named[j].text << "\"";
        // Beside its target: within a few pixels of it, and level with part of it.
        EXPECT_TRUE(Overlap(label.box, Grown(label.target, 4)))
            << what << " is far from " << Describe(label.target);
    }
    const Rect caption = plan.labels.back().box;
    EXPECT_TRUE(Inside(caption, {0, onSheet.bottom, sheetmap::kWidth, sheetmap::kHeight}))
        << "the caption belongs below the sheet: " << Describe(caption);
}

// ---- the picture ----

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;

    Rgb At(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[at], rgb[at + 1], rgb[at + 2]};
    }
};

Picture ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture out;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb = std::move(rgb);
    return out;
}

// The generated city2.bmp as colours: 8-bit, bottom-up, the colour table
// after a 40-byte header, as the generator writes it.
Picture ReadSheet(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> f(std::istreambuf_iterator<char>(file), {});
    Picture out;
    if (f.size() < 1078) return out;
    const auto u32 = [&](std::size_t at) {
        return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | f[at + 3] << 24;
    };
    const int width = u32(18), height = u32(22);
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3},
                      bits = u32(10);
    if (f.size() < bits + stride * height) return out;
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t entry = 54 + 4 * f[bits + (height - 1 - y) * stride + x];
            out.rgb.insert(out.rgb.end(), {f[entry + 2], f[entry + 1], f[entry]});
        }
    }
    return out;
}

TEST(SheetMapPicture, ShowsTheSheetUncoveredInsideEveryFrameAndAFrameAroundIt) {
    const Picture map = ReadPng(CITY2_MAP);
    const Picture sheet = ReadSheet(CITY2_BMP);
    ASSERT_EQ(map.width, sheetmap::kWidth) << CITY2_MAP;
    ASSERT_EQ(map.height, sheetmap::kHeight) << CITY2_MAP;
    ASSERT_EQ(sheet.width, sheet::kWidth) << CITY2_BMP;

    std::vector<sheet::NamedRect> parts(sheet::kSprites.begin(), sheet::kSprites.end());
    parts.push_back({"background", sheet::kBackground});
    for (const sheet::NamedRect& part : parts) {
        const Rect r = sheetmap::ToMap(part.rect);
        int changed = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                changed += !(map.At(x, y) == sheet.At((x - sheetmap::kMargin) / sheetmap::kScale,
                                                      (y - sheetmap::kMargin) / sheetmap::kScale));
        EXPECT_EQ(changed, 0) << part.name << ": map pixels that differ from the sheet";

        const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
        for (auto [x, y] :
             {std::pair{midX, r.top - 1}, {midX, r.bottom}, {r.left - 1, midY}, {r.right, midY}})
            EXPECT_TRUE(map.At(x, y) == sheetmap::kFrameColour)
                << part.name << " unframed at " << x << "," << y;
    }
    const Rect ring = sheetmap::PlanMap().ring;
    const int ringY = (ring.top + ring.bottom) / 2;
    EXPECT_TRUE(map.At(ring.right - 3, ringY) == sheetmap::kRingColour) << "the key's ring";
}

TEST(SheetMapPicture, CopyInDocsIsWhatTheGeneratorDraws) {
    const Picture built = ReadPng(CITY2_MAP), copy = ReadPng(MAP_COPY);
    const std::string refresh =
        std::string("docs/city2-map.png is out of date; refresh it with\n  cp ") + CITY2_MAP + " " +
        MAP_COPY + "\nand commit it.";
    ASSERT_GT(built.width, 0) << CITY2_MAP << " is missing or unreadable";
    ASSERT_GT(copy.width, 0) << MAP_COPY << " is missing or unreadable; " << refresh;
    ASSERT_EQ(copy.width, built.width) << refresh;
    ASSERT_EQ(copy.height, built.height) << refresh;
    // Pixels, not bytes: another zlib may pack the same picture differently.
    EXPECT_TRUE(copy.rgb == built.rgb) << refresh;
}

} // namespace
