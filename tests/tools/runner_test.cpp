// The headless runner's stable interface: its script format, its options,
// its trace line and its screen hash.
#include <gtest/gtest.h>

#include <sstream>

#include "input_script.h"
#include "runner_options.h"
#include "trace.h"
#include "world.h"

namespace {

TEST(RunnerScript, ReadsCountsHeldAndPressedKeys) {
    std::istringstream in("# a comment\n\n  30 Right+Ctrl\n1 P+Esc\n2 -\n   # indented comment\n5 Enter+F12+Up\n");
    Script script;
    std::string error;
    ASSERT_TRUE(ParseScript(in, script, error)) << error;
    ASSERT_EQ(script.lines.size(), 4u);
    EXPECT_EQ(script.lines[0].count, 30);
    EXPECT_EQ(script.lines[0].held, (std::vector<int>{VK_RIGHT, VK_CONTROL}));
    EXPECT_TRUE(script.lines[0].pressed.empty());
    EXPECT_EQ(script.lines[1].pressed, (std::vector<int>{'P', VK_ESCAPE})); // in the order written
    EXPECT_TRUE(script.lines[2].held.empty());
    EXPECT_EQ(script.lines[3].pressed, (std::vector<int>{VK_RETURN, VK_F12}));
    EXPECT_EQ(script.lines[3].held, (std::vector<int>{VK_UP}));
}

TEST(RunnerScript, MalformedLinesAreReportedWithTheirNumber) {
    struct Case {
        const char* text;
        const char* errorStart;
    } cases[] = {
        {"5 Left\n0 Right\n", "line 2: COUNT"},
        {"5 Left\nx Right\n", "line 2: COUNT"},
        {"\n# c\n5\n", "line 3: expected"},
        {"5 Left Right\n", "line 1: expected"},
        {"5 Left+Jump\n", "line 1: unknown key \"Jump\""},
        {"5 left\n", "line 1: unknown key \"left\""},
        {"5 Left+\n", "line 1: empty key name"},
        {"-3 Left\n", "line 1: COUNT"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        Script script;
        std::string error;
        EXPECT_FALSE(ParseScript(in, script, error)) << c.text;
        EXPECT_EQ(error.rfind(c.errorStart, 0), 0u) << c.text << " gave: " << error;
    }
}

TEST(RunnerOptions, ParsesEveryOptionAndRefusesTheRest) {
    const char* good[] = {"runner",       "--frames", "100",   "--input",       "-",           "--trace",
                          "out.jsonl",    "--ms-per-frame", "20", "--start-tick", "4294967295", "--shot",
                          "5=a.png",      "--shot",   "0=b.png", "--screen-hash"};
    RunnerOptions options;
    std::string error;
    ASSERT_TRUE(ParseOptions(16, const_cast<char**>(good), options, error)) << error;
    EXPECT_EQ(options.frames, 100);
    EXPECT_EQ(options.input, "-");
    EXPECT_EQ(options.trace, "out.jsonl");
    EXPECT_EQ(options.msPerFrame, 20u);
    EXPECT_EQ(options.startTick, 4294967295u);
    EXPECT_EQ(options.shots.at(5), "a.png");
    EXPECT_EQ(options.shots.at(0), "b.png");
    EXPECT_TRUE(options.screenHash);

    RunnerOptions defaults;
    EXPECT_EQ(defaults.msPerFrame, 16u);
    EXPECT_EQ(defaults.startTick, 1000000u);

    const std::vector<std::vector<const char*>> bad = {
        {"runner", "--frames"},          {"runner", "--frames", "-1"},     {"runner", "--frames", "ten"},
        {"runner", "--bogus"},           {"runner", "--shot", "5"},        {"runner", "--shot", "x=a.png"},
        {"runner", "--shot", "5="},      {"runner", "--start-tick", "4294967296"}, {"runner", "frames"},
    };
    for (const auto& args : bad) {
        RunnerOptions o;
        EXPECT_FALSE(ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), o, error))
            << args.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(RunnerTrace, LineListsActiveSlotsInTheFixedOrder) {
    InitObjects();
    ResetGame();
    Boss.active = 1;
    Boss.x = 638;
    Boss.y = 160;
    Boss.mode = 8;
    EXPECT_EQ(TraceLine(1, 0, 1000000, nullptr),
              "{\"frame\":1,\"state\":0,\"tick\":1000000,\"Shield\":3000,\"Lives\":2,\"BossEnergy\":7000,"
              "\"Score\":0,\"Player\":[[0,320,240]],\"PlayerShots\":[],\"Explosions\":[],\"BonusItems\":[],"
              "\"LeftEnemies\":[],\"RightEnemies\":[],\"Boss\":[[0,638,160,8]],\"BossShots\":[]}");

    PlayerShots[3] = GameObject{352, 252, 26, 7, 5, 0, 0, 0, 0, 1, 0};
    Explosions[1] = GameObject{-5, 40, 38, 38, 0, 0, 1, 2, 4, 1, 0};
    RightEnemies[2] = GameObject{598, 100, 42, 31, 0, 0, 0, 0, 0, 1, -2};
    BonusItems[0] = GameObject{10, 350, 36, 32, 0, 0, 0, 0, 0, 1, 1};
    Score = -32759;
    std::string hash = "0123456789abcdef";
    std::string line = TraceLine(7, 2, 5, &hash);
    EXPECT_NE(line.find("\"Score\":-32759"), std::string::npos);
    EXPECT_NE(line.find("\"PlayerShots\":[[3,352,252]]"), std::string::npos);
    EXPECT_NE(line.find("\"Explosions\":[[1,-5,40,4,1]]"), std::string::npos);
    EXPECT_NE(line.find("\"BonusItems\":[[0,10,350,1]]"), std::string::npos);
    EXPECT_NE(line.find("\"RightEnemies\":[[2,598,100,-2]]"), std::string::npos);
    EXPECT_EQ(line.substr(line.size() - 29), ",\"screen\":\"0123456789abcdef\"}");
}

TEST(RunnerTrace, ScreenHashIsXxh3OfIndicesThenPalette) {
    // Values from xxHash's one-shot XXH3-64 over the same bytes laid out in
    // one block (tests/wasm's xxh3sum), so the streamed hash is pinned.
    headless::Frame blank; // nothing shown yet: all zeros
    EXPECT_EQ(ScreenHash(blank), "65a52a3f1285a59c");
    headless::Frame frame;
    frame.width = 640;
    frame.height = 480;
    frame.pixels.resize(307200);
    for (size_t i = 0; i < frame.pixels.size(); i++) frame.pixels[i] = static_cast<uint8_t>(i % 256);
    for (int i = 0; i < 256; i++) frame.palette[i] = host::PaletteEntry{uint8_t(i), uint8_t(255 - i), 7, 99};
    EXPECT_EQ(ScreenHash(frame), "9a4200972cfed90d");
    frame.palette[3].flags = 0; // the flags byte is not hashed
    EXPECT_EQ(ScreenHash(frame), "9a4200972cfed90d");
    frame.pixels[307199] ^= 1; // the last pixel is
    EXPECT_NE(ScreenHash(frame), "9a4200972cfed90d");
}

} // namespace
