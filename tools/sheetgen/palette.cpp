// The colour values behind the ramps in palette.h, and the filler colours
// for the entries nothing draws with. GDI matches colours by value when the
// game loads the sheet, so every entry must differ from every other.
#include "palette.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

struct RampColours {
    Ramp ramp;
    std::initializer_list<Rgb> colours;
};

const RampColours kRamps[] = {
    {pal::kSky,
     {{4, 5, 18},
      {6, 7, 24},
      {8, 9, 30},
      {11, 11, 36},
      {14, 13, 42},
      {17, 15, 48},
      {21, 17, 54},
      {26, 20, 60},
      {32, 23, 66},
      {39, 27, 72},
      {47, 31, 78},
      {56, 35, 83},
      {66, 39, 88},
      {78, 44, 92},
      {92, 50, 96}}},
    {pal::kStar, {{120, 122, 160}, {190, 206, 255}, {255, 232, 176}, {250, 250, 236}}},
    {pal::kMoonHalo, {{14, 15, 42}, {22, 23, 56}}},
    {pal::kMoon, {{152, 150, 140}, {192, 190, 172}, {226, 224, 204}, {250, 248, 232}}},
    {pal::kFarCity, {{20, 22, 44}, {24, 26, 52}, {29, 31, 60}, {44, 48, 80}}},
    {pal::kMidCity, {{12, 12, 28}, {15, 15, 34}, {19, 19, 40}, {32, 32, 58}}},
    {pal::kNearCity, {{4, 4, 10}, {6, 6, 14}, {9, 9, 19}, {20, 20, 34}}},
    {pal::kWindow,
     {{70, 56, 36},
      {110, 84, 46},
      {170, 120, 60},
      {220, 160, 70},
      {245, 205, 100},
      {255, 240, 160}}},
    {{pal::kWindowCool, 1}, {{120, 170, 220}}},
    {{pal::kBeacon, 1}, {{255, 40, 40}}},
    {{pal::kBeaconDim, 1}, {{150, 20, 30}}},
    {pal::kMetal, {{44, 52, 68}, {84, 96, 116}, {128, 142, 162}, {176, 188, 204}, {226, 232, 242}}},
    {pal::kPlayerPaint, {{22, 52, 130}, {40, 92, 200}, {86, 148, 245}, {168, 208, 255}}},
    {pal::kGlass, {{12, 54, 74}, {30, 120, 150}, {96, 206, 228}, {214, 250, 255}}},
    {{pal::kPlayerLine, 1}, {{14, 16, 30}}},
    {pal::kRedHull, {{84, 14, 20}, {140, 24, 30}, {196, 44, 40}, {236, 96, 70}, {255, 170, 140}}},
    {{pal::kRedLine, 1}, {{36, 6, 10}}},
    {pal::kGreenHull,
     {{20, 56, 26}, {36, 100, 40}, {66, 150, 54}, {124, 198, 84}, {196, 238, 146}}},
    {{pal::kGreenLine, 1}, {{8, 28, 12}}},
    {pal::kAmber, {{150, 90, 10}, {230, 160, 30}, {255, 230, 120}}},
    {pal::kBossHull,
     {{36, 20, 46}, {58, 32, 74}, {86, 50, 104}, {118, 74, 136}, {152, 106, 168}, {192, 152, 204}}},
    {{pal::kBossLine, 1}, {{18, 8, 22}}},
    {pal::kBronze, {{86, 54, 22}, {146, 100, 44}, {204, 154, 72}, {244, 214, 136}}},
    {pal::kBossGlow, {{130, 0, 14}, {210, 24, 24}, {255, 96, 44}, {255, 206, 128}}},
    {pal::kFire,
     {{84, 16, 8},
      {144, 28, 10},
      {204, 54, 16},
      {242, 104, 22},
      {255, 160, 40},
      {255, 214, 80},
      {255, 244, 160},
      {255, 255, 228}}},
    {pal::kSmoke,
     {{38, 36, 40}, {62, 58, 62}, {90, 86, 88}, {122, 118, 118}, {158, 154, 150}, {196, 192, 186}}},
    {pal::kPlayerBolt, {{24, 96, 224}, {60, 186, 255}, {150, 238, 255}, {236, 255, 255}}},
    {pal::kBossBolt, {{140, 10, 52}, {236, 40, 84}, {255, 130, 164}, {255, 232, 240}}},
    {pal::kShieldBlue, {{22, 40, 120}, {40, 78, 188}, {82, 130, 240}, {162, 200, 255}}},
    {pal::kGold, {{150, 100, 20}, {222, 172, 40}, {255, 232, 112}}},
    {{pal::kShieldLine, 1}, {{10, 14, 40}}},
    {pal::kBombBody, {{22, 22, 30}, {46, 46, 58}, {78, 78, 98}, {146, 146, 176}}},
    {pal::kFuse, {{116, 78, 40}, {184, 142, 84}}},
    {pal::kHeart, {{112, 10, 32}, {192, 22, 52}, {242, 62, 84}, {255, 156, 166}}},
    {{pal::kHeartLine, 1}, {{50, 4, 14}}},
    {pal::kLifeText, {{40, 110, 20}, {190, 255, 80}}},
    {{pal::kItemLine, 1}, {{8, 8, 12}}},
    {{pal::kKey, 1}, {pal::kKeyColour}},
    {{pal::kWhite, 1}, {{255, 255, 255}}},
};

[[noreturn]] void Fail(const char* what, int index) {
    std::fprintf(stderr, "sheetgen: palette entry %d: %s\n", index, what);
    std::abort();
}

bool Taken(const Palette& table, const std::array<bool, 256>& used, Rgb colour) {
    for (int i = 0; i < 256; ++i)
        if (used[i] && table[i] == colour) return true;
    return false;
}

// A muted colour derived from the index, nudged until no entry has it yet.
Rgb FillerFor(int index, const Palette& table, const std::array<bool, 256>& used) {
    Rgb colour{static_cast<uint8_t>(index * 53 + 17), static_cast<uint8_t>(index * 97 + 101),
               static_cast<uint8_t>(index * 29 + 200)};
    while (Taken(table, used, colour))
        colour.b = static_cast<uint8_t>(colour.b + 1);
    return colour;
}

Palette Build() {
    Palette table{};
    std::array<bool, 256> used{};
    table[pal::kBlack] = {0, 0, 0};
    used[pal::kBlack] = true;
    for (const RampColours& entry : kRamps) {
        if (entry.colours.size() != entry.ramp.count)
            Fail("ramp has the wrong number of colours", entry.ramp.first);
        int index = entry.ramp.first;
        for (Rgb colour : entry.colours) {
            if (used[index]) Fail("assigned twice", index);
            if (Taken(table, used, colour)) Fail("colour already in the table", index);
            table[index] = colour;
            used[index] = true;
            ++index;
        }
    }
    for (int i = 0; i < 256; ++i) {
        if (!used[i]) {
            table[i] = FillerFor(i, table, used);
            used[i] = true;
        }
    }
    return table;
}

} // namespace

const Palette& SheetPalette() {
    static const Palette table = Build();
    return table;
}
