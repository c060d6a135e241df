// The sheet's 256-colour table, laid out as named ramps. Each ramp runs from
// its darkest shade (index 0) to its lightest.
#pragma once

#include <array>
#include <cstdint>

struct Rgb {
    uint8_t r, g, b;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

using Palette = std::array<Rgb, 256>;

struct Ramp {
    uint8_t first;
    uint8_t count;

    // Shade i of the ramp, clamped to its ends so callers can over-reach.
    constexpr uint8_t operator[](int i) const {
        if (i < 0) i = 0;
        if (i >= count) i = count - 1;
        return static_cast<uint8_t>(first + i);
    }
    constexpr uint8_t Darkest() const { return first; }
    constexpr uint8_t Lightest() const { return static_cast<uint8_t>(first + count - 1); }
};

namespace pal {

constexpr uint8_t kBlack = 0;

// Background: 1..47
constexpr Ramp kSky{1, 15};      // zenith (darkest) to horizon glow
constexpr Ramp kStar{16, 4};     // dim, blue, yellow, white
constexpr Ramp kMoonHalo{20, 2}; // two rings of lit sky around the moon
constexpr Ramp kMoon{22, 4};     // crater, shade, face, highlight
constexpr Ramp kFarCity{26, 4};  // detail, shadow side, wall, lit edge
constexpr Ramp kMidCity{30, 4};
constexpr Ramp kNearCity{34, 4};
constexpr Ramp kWindow{38, 6};      // dim amber .. bright yellow
constexpr uint8_t kWindowCool = 44; // television blue
constexpr uint8_t kBeacon = 45;     // red aircraft warning light
constexpr uint8_t kBeaconDim = 46;

// The player's ship: 48..67
constexpr Ramp kMetal{48, 5};
constexpr Ramp kPlayerPaint{53, 4};
constexpr Ramp kGlass{57, 4};
constexpr uint8_t kPlayerLine = 61;

// Enemies and the Boss: 64..111
constexpr Ramp kRedHull{64, 5};
constexpr uint8_t kRedLine = 69;
constexpr Ramp kGreenHull{70, 5};
constexpr uint8_t kGreenLine = 75;
constexpr Ramp kAmber{76, 3}; // the green saucer's dome
constexpr Ramp kBossHull{80, 6};
constexpr uint8_t kBossLine = 86;
constexpr Ramp kBronze{87, 4};
constexpr Ramp kBossGlow{91, 4}; // eye, vents and muzzle

// Fire, smoke and shots: 96..127
constexpr Ramp kFire{96, 8}; // ember .. white-hot
constexpr Ramp kSmoke{104, 6};
constexpr Ramp kPlayerBolt{112, 4}; // blue edge .. white core
constexpr Ramp kBossBolt{116, 4};   // deep red edge .. pink-white core

// Bonus items: 128..159
constexpr Ramp kShieldBlue{128, 4};
constexpr Ramp kGold{132, 3};
constexpr uint8_t kShieldLine = 135;
constexpr Ramp kBombBody{136, 4};
constexpr Ramp kFuse{140, 2};
constexpr Ramp kHeart{142, 4};
constexpr uint8_t kHeartLine = 146;
constexpr Ramp kLifeText{147, 2}; // lime text and its shadow
constexpr uint8_t kItemLine = 149;

// 160..253 hold filler colours that nothing draws with.
constexpr uint8_t kKey = 254; // transparent: magenta, used nowhere else
constexpr uint8_t kWhite = 255;

constexpr Rgb kKeyColour{255, 0, 255};

} // namespace pal

// The full table; every entry is a different colour.
const Palette& SheetPalette();
