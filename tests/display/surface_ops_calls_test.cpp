// The surface operations' calls in order: what is repeated while the
// blitter is busy, what is restored after a loss, and what is given up.
#include <gtest/gtest.h>

#include "ddraw_setup.h"
#include "mock_surface.h"
#include "surface_ops.h"

namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::Return;
using ::testing::StrictMock;

class SurfaceOpsCalls : public ::testing::Test {
  protected:
    StrictMock<MockSurface> primary, back, offscreen;

    void SetUp() override {
        lpDDSPrimary = &primary;
        lpDDSBack = &back;
        lpDDSOffscreen = &offscreen;
    }
    void TearDown() override {
        lpDDSPrimary = lpDDSBack = lpDDSOffscreen = nullptr;
    }
    void ExpectRestoreAll() {
        EXPECT_CALL(primary, Restore()).WillOnce(Return(DD_OK));
        EXPECT_CALL(back, Restore()).WillOnce(Return(DDERR_IMPLICITLYCREATED));
        EXPECT_CALL(offscreen, Restore()).WillOnce(Return(DD_OK));
    }
};

TEST_F(SurfaceOpsCalls, ClearSurfaceFillsWithColourZeroWithoutWaitFlag) {
    EXPECT_CALL(back, Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, _))
        .WillOnce([](LPRECT, IDirectDrawSurface*, LPRECT, DWORD, LPDDBLTFX fx) {
            EXPECT_EQ(fx->dwSize, sizeof(DDBLTFX));
            EXPECT_EQ(fx->dwFillColor, 0u);
            return DD_OK;
        });
    EXPECT_EQ(ClearSurface(&back), DD_OK);
}

TEST_F(SurfaceOpsCalls, ClearSurfaceRepeatsWhileBusyAndPassesOtherFailuresBack) {
    InSequence order;
    EXPECT_CALL(back, Blt(_, _, _, _, _))
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DDERR_INVALIDPARAMS));
    EXPECT_EQ(ClearSurface(&back), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceOpsCalls, ClearSurfaceOnALostSurfaceRestoresAllAndGivesUpTheFill) {
    InSequence order;
    EXPECT_CALL(back, Blt(_, _, _, _, _)).WillOnce(Return(DDERR_SURFACELOST));
    ExpectRestoreAll();
    EXPECT_EQ(ClearSurface(&back), DD_OK); // no second Blt: StrictMock would fail
}

TEST_F(SurfaceOpsCalls, FlipPagesRepeatsWhileBusyThenRestoresOnLoss) {
    InSequence order;
    EXPECT_CALL(primary, Flip(nullptr, 0u))
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DDERR_SURFACELOST));
    ExpectRestoreAll();
    EXPECT_EQ(FlipPages(), DD_OK);
}

TEST_F(SurfaceOpsCalls, FlipPagesReturnsTheRestoreFailure) {
    InSequence order;
    EXPECT_CALL(primary, Flip(_, _)).WillOnce(Return(DDERR_SURFACELOST));
    EXPECT_CALL(primary, Restore()).WillOnce(Return(DDERR_WRONGMODE));
    EXPECT_EQ(FlipPages(), DDERR_WRONGMODE);
}

TEST_F(SurfaceOpsCalls, BltFastLoopRepeatsWhileBusyAndGivesUpAfterALoss) {
    InSequence order;
    RECT rect{1, 2, 3, 4};
    EXPECT_CALL(back, BltFast(5u, 6u, &offscreen, &rect, 0x11u))
        .WillOnce(Return(DDERR_WASSTILLDRAWING))
        .WillOnce(Return(DDERR_SURFACELOST));
    ExpectRestoreAll();
    EXPECT_EQ(BltFastLoop(&offscreen, &back, 5, 6, &rect, 0x11), 0); // even though the restore worked
}

TEST_F(SurfaceOpsCalls, DrawSpriteChoosesItsFlagsAndNeverRepeatsARefusal) {
    RECT rect{151, 581, 192, 610};
    EXPECT_CALL(back, BltFast(10u, 20u, &offscreen, _, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT)).WillOnce(Return(DD_OK));
    EXPECT_EQ(DrawSprite(10, 20, rect, 0), 1);
    EXPECT_CALL(back, BltFast(10u, 20u, &offscreen, _, DDBLTFAST_WAIT)).WillOnce(Return(DD_OK));
    EXPECT_EQ(DrawSprite(10, 20, rect, 1), 1);
    // A negative position reaches BltFast as a large unsigned value.
    EXPECT_CALL(back, BltFast(0xFFFFFFF6u, 20u, &offscreen, _, _)).WillOnce(Return(DDERR_INVALIDRECT));
    EXPECT_EQ(DrawSprite(-10, 20, rect, 0), 0);
}

TEST_F(SurfaceOpsCalls, RestoreAllStopsAtTheFirstRealFailure) {
    {
        InSequence order;
        EXPECT_CALL(primary, Restore()).WillOnce(Return(DD_OK));
        EXPECT_CALL(back, Restore()).WillOnce(Return(DDERR_OUTOFMEMORY));
    }
    EXPECT_EQ(RestoreAll(), DDERR_OUTOFMEMORY); // the sprite surface is not tried
}

TEST_F(SurfaceOpsCalls, RestoreAllGoesPastTheImplicitlyCreatedBackBuffer) {
    InSequence order;
    EXPECT_CALL(primary, Restore()).WillOnce(Return(DD_OK));
    EXPECT_CALL(back, Restore()).WillOnce(Return(DDERR_IMPLICITLYCREATED));
    EXPECT_CALL(offscreen, Restore()).WillOnce(Return(DDERR_GENERIC));
    EXPECT_EQ(RestoreAll(), DDERR_GENERIC);
}

TEST_F(SurfaceOpsCalls, CopyDibToSurfaceReportsAMissingDeviceContext) {
    InSequence order;
    EXPECT_CALL(offscreen, Restore()).WillOnce(Return(DD_OK));
    EXPECT_CALL(offscreen, GetDC(_)).WillOnce(Return(DDERR_SURFACELOST));
    EXPECT_EQ(CopyDibToSurface(&offscreen, nullptr), 0);
}

} // namespace
