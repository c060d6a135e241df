// Surface loss and Restore: deactivation of an exclusive-mode application,
// the host's "lose all surfaces" request, what lost surfaces answer, and
// what Restore brings back.
#include "ddraw_fixture.h"

#include <functional>

namespace {

using SurfaceLoss = DirectDrawTest;

TEST_F(SurfaceLoss, DeactivationLosesEverySurfaceOfAnExclusiveApplication) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    platform::SetAppActive(false);
    for (LPDIRECTDRAWSURFACE surface : {primary, back, sheet})
        EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);

    EXPECT_EQ(Fill(back, 1), DDERR_SURFACELOST);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Flip(nullptr, 0), DDERR_SURFACELOST);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    EXPECT_EQ(sheet->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    HDC hdc = nullptr;
    EXPECT_EQ(sheet->GetDC(&hdc), DDERR_SURFACELOST);
    EXPECT_EQ(headless::FlipCount(), 0);
}

TEST_F(SurfaceLoss, LostSourceRefusesTheBlitToo) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    headless::LoseAllSurfaces();
    ASSERT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    ASSERT_EQ(sheet->Restore(), DD_OK);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DD_OK);
}

TEST_F(SurfaceLoss, NormalLevelApplicationKeepsItsSurfacesWhenDeactivated) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    platform::SetAppActive(false);
    EXPECT_EQ(sheet->IsLost(), DD_OK);
    EXPECT_EQ(Fill(sheet, 1), DD_OK);
}

TEST_F(SurfaceLoss, RestoreWaitsForReactivationAndThenBringsBackTheChain) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    platform::SetAppActive(false);
    EXPECT_EQ(primary->Restore(), DDERR_WRONGMODE);
    EXPECT_EQ(sheet->Restore(), DDERR_WRONGMODE);

    platform::SetAppActive(true);
    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST); // still lost until restored
    EXPECT_EQ(back->Restore(), DDERR_IMPLICITLYCREATED);
    ASSERT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(primary->IsLost(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(sheet->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(sheet->Restore(), DD_OK);
    EXPECT_EQ(Fill(sheet, 1), DD_OK);
}

// Each back buffer of the chain, the one GetAttachedSurface hands out and
// the one behind it, answers DDERR_IMPLICITLYCREATED in every state: that
// answer comes before the lost check and before the inactive one.
TEST_F(SurfaceLoss, ImplicitlyCreatedBackBuffersRefuseRestoreLostOrNot) {
    Chain(2);
    LPDIRECTDRAWSURFACE second = nullptr;
    DDSCAPS caps{DDSCAPS_FLIP};
    ASSERT_EQ(back->GetAttachedSurface(&caps, &second), DD_OK);
    owned.push_back(second);
    ASSERT_NE(second, primary);

    struct Step {
        const char* state;
        std::function<void()> enter;
        HRESULT backLost; // what IsLost says of the back buffers then
    };
    const Step steps[] = {
        {"never lost", [] {}, DD_OK},
        {"lost, application inactive", [] { platform::SetAppActive(false); }, DDERR_SURFACELOST},
        {"lost, application active again", [] { platform::SetAppActive(true); }, DDERR_SURFACELOST},
        {"chain restored through the front", [&] { ASSERT_EQ(primary->Restore(), DD_OK); }, DD_OK},
        {"lost on the host's request", [] { headless::LoseAllSurfaces(); }, DDERR_SURFACELOST},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.state);
        step.enter();
        for (LPDIRECTDRAWSURFACE surface : {back, second}) {
            EXPECT_EQ(surface->Restore(), DDERR_IMPLICITLYCREATED);
            EXPECT_EQ(surface->IsLost(), step.backLost); // refusing changed nothing
        }
    }
    // The front still brings the whole chain back.
    ASSERT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    EXPECT_EQ(second->IsLost(), DD_OK);
}

TEST_F(SurfaceLoss, RestoredSurfacesHaveLostTheirPixels) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    ASSERT_EQ(Fill(sheet, 5), DD_OK);
    ASSERT_EQ(Fill(back, 6), DD_OK);
    ASSERT_EQ(sheet->Restore(), DD_OK); // not lost: nothing happens
    EXPECT_EQ(Pixels(sheet), std::vector<uint8_t>(256, 5));

    headless::LoseAllSurfaces();
    ASSERT_EQ(sheet->Restore(), DD_OK);
    ASSERT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(Pixels(sheet), std::vector<uint8_t>(256, 0));
    EXPECT_EQ(Pixels(back), std::vector<uint8_t>(640 * 480, 0));
}

TEST_F(SurfaceLoss, HostRequestLosesOnlyTheSurfacesThatExist) {
    Exclusive();
    LPDIRECTDRAWSURFACE before = Offscreen(8, 8);
    headless::LoseAllSurfaces();
    LPDIRECTDRAWSURFACE after = Offscreen(8, 8);
    EXPECT_EQ(before->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(after->IsLost(), DD_OK);
}

TEST_F(SurfaceLoss, RestoringThePrimaryShowsItsClearedPixels) {
    Chain(2);
    ASSERT_EQ(Fill(primary, 9), DD_OK);
    ASSERT_EQ(headless::Screen().pixels[0], 9);
    headless::LoseAllSurfaces();
    ASSERT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(headless::Screen().pixels, std::vector<uint8_t>(640 * 480, 0));
}

} // namespace
