// Demo files: items round-trip through the file, the body's compression
// keeps a long unattended game small, and every kind of bad file is
// refused with a message rather than misread.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "demo_format.h"
#include "demo_lz.h"
#include "demo_recorder.h"

namespace {

using hostcommon::Demo;
using hostcommon::DemoItem;
using hostcommon::DemoOp;
using hostcommon::DemoRecorder;
using hostcommon::DemoSheet;

constexpr DemoSheet kSheet{0x0123456789abcdefULL, 449078};

std::vector<uint8_t> FileOf(const std::vector<DemoItem>& items, uint32_t* passesOut = nullptr) {
    std::vector<uint8_t> body;
    uint32_t tick = 0, passes = 0;
    for (const DemoItem& item : items) {
        hostcommon::EncodeDemoItem(item, tick, body);
        if (item.op == DemoOp::Pump) passes++;
    }
    if (passesOut) *passesOut = passes;
    return hostcommon::WriteDemoFile(kSheet, passes, body);
}

std::string Refusal(const std::vector<uint8_t>& file) {
    Demo demo;
    std::string error;
    EXPECT_FALSE(hostcommon::ReadDemoFile(file.data(), file.size(), demo, error));
    EXPECT_FALSE(error.empty());
    return error;
}

TEST(DemoFile, EveryKindOfItemRoundTrips) {
    std::vector<DemoItem> items = {
        {DemoOp::Answer, 0, false, false, 1},           // a grant before the first pass
        {DemoOp::Answer, 0, false, false, 0xFFFFFFFFu}, // -1
        {DemoOp::Pump},
        {DemoOp::KeyPress, 0x11},
        {DemoOp::KeyDown, 0x11, false, false},
        {DemoOp::KeyDown, 'P', true, false},
        {DemoOp::KeyUp, 0x12, false, true},
        {DemoOp::Tick, 0, false, false, 4000000000u},
        {DemoOp::Tick, 0, false, false, 5u}, // wrapped past 2^32
        {DemoOp::Tick, 0, false, false, 5u},
        {DemoOp::Pump},
        {DemoOp::Deactivate},
        {DemoOp::KeyReleaseAll},
        {DemoOp::KeyRelease, 255},
        {DemoOp::Activate},
        {DemoOp::Close},
        {DemoOp::Pump},
    };
    std::vector<uint8_t> file = FileOf(items);
    Demo demo;
    std::string error;
    ASSERT_TRUE(hostcommon::ReadDemoFile(file.data(), file.size(), demo, error)) << error;
    EXPECT_EQ(demo.sheet.hash, kSheet.hash);
    EXPECT_EQ(demo.sheet.size, kSheet.size);
    EXPECT_EQ(demo.passes, 3u);
    EXPECT_EQ(demo.items, items);
}

TEST(DemoFile, AnHourOfPlayWithoutInputIsAFewKilobytes) {
    // 60 passes a second, each reading the clock once; the clock advances
    // 17, 17, 16 ms with now and then a late frame.
    DemoRecorder recorder;
    uint32_t tick = 1000000;
    std::mt19937 random(7);
    const int passes = 60 * 60 * 60;
    for (int i = 0; i < passes; i++) {
        recorder.Pump();
        tick += (i % 3 == 2) ? 16 : 17;
        if (random() % 2000 == 0) tick += 1;
        recorder.Tick(tick);
    }
    std::vector<uint8_t> file;
    uint32_t saved = 0;
    std::string error;
    ASSERT_TRUE(recorder.File(kSheet, DemoRecorder::Extent::Everything, file, saved, error));
    EXPECT_EQ(saved, static_cast<uint32_t>(passes));
    EXPECT_LT(file.size(), 8u * 1024) << "bytes for an hour";
    Demo demo;
    ASSERT_TRUE(hostcommon::ReadDemoFile(file.data(), file.size(), demo, error)) << error;
    EXPECT_EQ(demo.items.back().value, tick);
}

TEST(DemoFile, CompletedPassesLeaveOutThePassBeingTaken) {
    DemoRecorder recorder;
    recorder.Pump();
    recorder.Tick(100);
    recorder.Pump();
    recorder.Event({host::EventKind::KeyDown, 0x25});
    std::vector<uint8_t> file;
    uint32_t passes = 0;
    std::string error;
    ASSERT_TRUE(recorder.File(kSheet, DemoRecorder::Extent::CompletedPasses, file, passes, error));
    EXPECT_EQ(passes, 1u);
    Demo demo;
    ASSERT_TRUE(hostcommon::ReadDemoFile(file.data(), file.size(), demo, error)) << error;
    ASSERT_EQ(demo.items.size(), 2u);
    EXPECT_EQ(demo.items[1].value, 100u);
    ASSERT_TRUE(recorder.File(kSheet, DemoRecorder::Extent::Everything, file, passes, error));
    EXPECT_EQ(passes, 2u);
}

TEST(DemoFile, BadFilesAreRefusedWithWhatIsWrong) {
    std::vector<uint8_t> good = FileOf({{DemoOp::Pump}, {DemoOp::Tick, 0, false, false, 42}, {DemoOp::Pump}});

    EXPECT_EQ(Refusal({}), "not a demo file");
    EXPECT_EQ(Refusal(std::vector<uint8_t>(good.begin(), good.begin() + 20)), "the header is cut short");
    std::vector<uint8_t> text = good;
    text[6] = '\r'; // a text transfer's damage
    EXPECT_EQ(Refusal(text), "not a demo file");
    std::vector<uint8_t> version = good;
    version[8] = 2;
    EXPECT_NE(Refusal(version).find("version 2"), std::string::npos);
    EXPECT_EQ(Refusal(std::vector<uint8_t>(good.begin(), good.end() - 1)), "the file is cut short");
    std::vector<uint8_t> trailing = good;
    trailing.push_back(0);
    EXPECT_EQ(Refusal(trailing), "bytes follow the end of the demo");
    std::vector<uint8_t> passes = good;
    passes[24] = 3;
    EXPECT_NE(Refusal(passes).find("promises 3 passes"), std::string::npos);
    std::vector<uint8_t> huge = good;
    huge[31] = 0x7F; // a body of 2 GB
    EXPECT_NE(Refusal(huge).find("larger than a demo"), std::string::npos);
    std::vector<uint8_t> big(hostcommon::kDemoMaxFileBytes + 1, 0);
    EXPECT_NE(Refusal(big).find("larger than a demo"), std::string::npos);

    // A body that decompresses but holds an unknown item or a cut varint.
    std::vector<uint8_t> unknown = hostcommon::WriteDemoFile(kSheet, 0, {0x42});
    EXPECT_NE(Refusal(unknown).find("unknown item"), std::string::npos);
    std::vector<uint8_t> cut = hostcommon::WriteDemoFile(kSheet, 0, {static_cast<uint8_t>(DemoOp::Tick), 0x80});
    EXPECT_NE(Refusal(cut).find("malformed tick"), std::string::npos);
    std::vector<uint8_t> repeatUp =
        hostcommon::WriteDemoFile(kSheet, 0, {static_cast<uint8_t>(DemoOp::KeyUp), 0x25, 1});
    EXPECT_NE(Refusal(repeatUp).find("cannot repeat"), std::string::npos);
}

TEST(DemoLz, RoundTripsAndRefusesBadStreams) {
    std::mt19937 random(3);
    std::vector<std::vector<uint8_t>> inputs = {{}, {1}, {1, 2, 3}};
    std::vector<uint8_t> mixed;
    for (int i = 0; i < 100000; i++) mixed.push_back(i % 7 == 0 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(i % 5));
    inputs.push_back(mixed);
    inputs.push_back(std::vector<uint8_t>(70000, 9)); // one long run
    for (const auto& input : inputs) {
        std::vector<uint8_t> packed = hostcommon::LzCompress(input), out;
        std::string error;
        ASSERT_TRUE(hostcommon::LzDecompress(packed.data(), packed.size(), input.size(), out, error)) << error;
        EXPECT_EQ(out, input);
    }
    std::vector<uint8_t> out;
    std::string error;
    const uint8_t fromBefore[] = {0, 4, 1}; // no literals, then a copy from nothing
    EXPECT_FALSE(hostcommon::LzDecompress(fromBefore, sizeof fromBefore, 4, out, error));
    EXPECT_NE(error.find("before its start"), std::string::npos);
    const uint8_t tooLong[] = {1, 7, 9, 1}; // one literal, a copy of 9 into an expected 5
    EXPECT_FALSE(hostcommon::LzDecompress(tooLong, sizeof tooLong, 5, out, error));
    EXPECT_NE(error.find("past its end"), std::string::npos);
    const uint8_t shortOne[] = {2, 7}; // two literals promised, one there
    EXPECT_FALSE(hostcommon::LzDecompress(shortOne, sizeof shortOne, 2, out, error));
    const uint8_t endless[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01};
    EXPECT_FALSE(hostcommon::LzDecompress(endless, sizeof endless, 2, out, error));
}

} // namespace
