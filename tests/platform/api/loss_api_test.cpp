// Surface loss as the game meets it: an exclusive-mode application that is
// minimized loses every surface; Restore waits for it to be active again,
// brings back the primary's whole chain, and refuses the implicitly created
// back buffer.
#include "api_fixture.h"

namespace {

using api::ApiTest;
using api::EmptyDesc;
using SurfaceLoss = ApiTest;

TEST_F(SurfaceLoss, MinimizingLosesEverySurfaceAndEveryDrawingCallSaysSo) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    ASSERT_EQ(Fill(sheet, 3), DD_OK);
    Deactivate();
    for (LPDIRECTDRAWSURFACE surface : {primary, back, sheet})
        EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
    // Wine departs: fills and blits onto a lost surface answer DD_OK.
    const HRESULT drawing = api::RunningOnWine() ? DD_OK : DDERR_SURFACELOST;
    EXPECT_EQ(Fill(back, 1), drawing);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), drawing);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
}

TEST_F(SurfaceLoss, RestoreWaitsForReactivationAndThenBringsBackTheChain) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    Deactivate();
    EXPECT_EQ(primary->Restore(), DDERR_WRONGMODE);

    Activate();
    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST); // still lost until restored
    // Wine departs: Restore of an implicitly created back buffer answers DD_OK.
    const HRESULT implicit = api::RunningOnWine() ? DD_OK : DDERR_IMPLICITLYCREATED;
    EXPECT_EQ(back->Restore(), implicit);
    ASSERT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(primary->IsLost(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    EXPECT_EQ(back->Restore(), implicit); // lost or not, that check comes first
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(sheet->IsLost(), DDERR_SURFACELOST);
    ASSERT_EQ(sheet->Restore(), DD_OK);
    EXPECT_EQ(sheet->Restore(), DD_OK); // not lost: nothing to do
    EXPECT_EQ(Fill(sheet, 1), DD_OK);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DD_OK);
}

TEST_F(SurfaceLoss, ASurfaceThatWasNeverLostRestoresAsItIs) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    ASSERT_EQ(Fill(sheet, 5), DD_OK);
    EXPECT_EQ(sheet->Restore(), DD_OK);
    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(Pixels(sheet), std::vector<uint8_t>(256, 5));
}

TEST_F(SurfaceLoss, ANormalLevelApplicationKeepsItsSurfacesWhenMinimized) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    Deactivate();
    EXPECT_EQ(sheet->IsLost(), DD_OK);
    EXPECT_EQ(Fill(sheet, 1), DD_OK);
}

} // namespace
