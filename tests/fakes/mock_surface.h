// A GoogleMock IDirectDrawSurface, for the tests where the order of calls is
// the behaviour: restoring after a lost surface, repeating while busy.
#pragma once

#include <gmock/gmock.h>

#include <ddraw.h>

class MockSurface : public IDirectDrawSurface {
  public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, LPVOID*), (override));
    MOCK_METHOD(ULONG, AddRef, (), (override));
    MOCK_METHOD(ULONG, Release, (), (override));
    MOCK_METHOD(HRESULT, Blt, (LPRECT, IDirectDrawSurface*, LPRECT, DWORD, LPDDBLTFX), (override));
    MOCK_METHOD(HRESULT, BltFast, (DWORD, DWORD, IDirectDrawSurface*, LPRECT, DWORD), (override));
    MOCK_METHOD(HRESULT, Flip, (IDirectDrawSurface*, DWORD), (override));
    MOCK_METHOD(HRESULT, GetAttachedSurface, (LPDDSCAPS, IDirectDrawSurface**), (override));
    MOCK_METHOD(HRESULT, GetDC, (HDC*), (override));
    MOCK_METHOD(HRESULT, GetSurfaceDesc, (LPDDSURFACEDESC), (override));
    MOCK_METHOD(HRESULT, IsLost, (), (override));
    MOCK_METHOD(HRESULT, Lock, (LPRECT, LPDDSURFACEDESC, DWORD, HANDLE), (override));
    MOCK_METHOD(HRESULT, ReleaseDC, (HDC), (override));
    MOCK_METHOD(HRESULT, Restore, (), (override));
    MOCK_METHOD(HRESULT, SetColorKey, (DWORD, LPDDCOLORKEY), (override));
    MOCK_METHOD(HRESULT, SetPalette, (IDirectDrawPalette*), (override));
    MOCK_METHOD(HRESULT, Unlock, (LPVOID), (override));

    virtual ~MockSurface() = default;
};

class MockDirectDraw : public IDirectDraw {
  public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, LPVOID*), (override));
    MOCK_METHOD(ULONG, AddRef, (), (override));
    MOCK_METHOD(ULONG, Release, (), (override));
    MOCK_METHOD(HRESULT, CreatePalette, (DWORD, LPPALETTEENTRY, IDirectDrawPalette**, IUnknown*), (override));
    MOCK_METHOD(HRESULT, CreateSurface, (LPDDSURFACEDESC, IDirectDrawSurface**, IUnknown*), (override));
    MOCK_METHOD(HRESULT, FlipToGDISurface, (), (override));
    MOCK_METHOD(HRESULT, RestoreDisplayMode, (), (override));
    MOCK_METHOD(HRESULT, SetCooperativeLevel, (HWND, DWORD), (override));
    MOCK_METHOD(HRESULT, SetDisplayMode, (DWORD, DWORD, DWORD), (override));

    virtual ~MockDirectDraw() = default;
};
