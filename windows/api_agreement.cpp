// What the game takes from <windows.h> and <ddraw.h>, checked at compile
// time: every function and interface method it calls with its exact type and
// calling convention, every structure it fills or reads with its size and
// field offsets, every constant with its value. The Windows build compiles
// this against the SDK; scripts/build-windows also compiles it against
// platform/include, so a difference between the two fails one of the builds
// instead of changing what the game does. Nothing here emits code.
#include <cstddef>
#include <type_traits>
#include <utility>

#include <ddraw.h>
#include <windows.h>

// COM methods use the SDK's method calling convention (__stdcall on 32-bit
// Windows); platform/'s methods, like its WINAPI functions, use the host's.
#ifndef STDMETHODCALLTYPE
#define STDMETHODCALLTYPE
#endif

#define QV_SAME_TYPE(expression, type)                                                             \
    static_assert(std::is_same_v<decltype(expression), type>, #expression " is " #type)

namespace {

// ---- Scalar types: width and signedness decide the game's arithmetic -------

template <typename T, std::size_t Bytes, bool Signed>
constexpr bool IsInteger = std::is_integral_v<T> && (sizeof(T) == Bytes) &&
                           (std::is_signed_v<T> == Signed);

static_assert(IsInteger<BYTE, 1, false>, "BYTE");
static_assert(IsInteger<WORD, 2, false> && IsInteger<SHORT, 2, true>, "WORD, SHORT");
static_assert(IsInteger<DWORD, 4, false> && IsInteger<LONG, 4, true>, "DWORD, LONG");
static_assert(IsInteger<UINT, 4, false> && IsInteger<BOOL, 4, true>, "UINT, BOOL");
static_assert(IsInteger<HRESULT, 4, true> && IsInteger<COLORREF, 4, false>, "HRESULT, COLORREF");
static_assert(IsInteger<HFILE, 4, true> && IsInteger<ATOM, 2, false>, "HFILE, ATOM");
static_assert(IsInteger<WPARAM, sizeof(void*), false> && IsInteger<LPARAM, sizeof(void*), true>,
              "WPARAM, LPARAM");
static_assert(IsInteger<LRESULT, sizeof(void*), true> && IsInteger<SIZE_T, sizeof(void*), false>,
              "LRESULT, SIZE_T");
static_assert(std::is_pointer_v<HWND> && std::is_pointer_v<HDC> && std::is_pointer_v<HGLOBAL>,
              "handles");
// GetStockObject's result becomes an HBRUSH with a static_cast.
static_assert(std::is_same_v<HGDIOBJ, void*>, "HGDIOBJ is an untyped pointer");

// ---- Structures: sizes and the offsets of the fields the game touches ------

static_assert(sizeof(RECT) == 16 && offsetof(RECT, right) == 8, "RECT");
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is packed");
static_assert(offsetof(BITMAPFILEHEADER, bfSize) == 2 &&
                  offsetof(BITMAPFILEHEADER, bfOffBits) == 10,
              "BITMAPFILEHEADER fields");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER");
static_assert(offsetof(BITMAPINFOHEADER, biBitCount) == 14 &&
                  offsetof(BITMAPINFOHEADER, biCompression) == 16 &&
                  offsetof(BITMAPINFOHEADER, biClrUsed) == 32,
              "BITMAPINFOHEADER fields");
static_assert(sizeof(RGBQUAD) == 4 && offsetof(RGBQUAD, rgbRed) == 2,
              "RGBQUAD runs blue, green, red");
static_assert(sizeof(BITMAPINFO) == 44 && offsetof(BITMAPINFO, bmiColors) == 40, "BITMAPINFO");
static_assert(sizeof(PALETTEENTRY) == 4 && offsetof(PALETTEENTRY, peBlue) == 2,
              "PALETTEENTRY runs red, green, blue");
static_assert(sizeof(LOGPALETTE) == 8 && offsetof(LOGPALETTE, palPalEntry) == 4, "LOGPALETTE");
static_assert(sizeof(OFSTRUCT) == 136, "OFSTRUCT");
static_assert(sizeof(DDCOLORKEY) == 8 && sizeof(DDSCAPS) == 4, "DDCOLORKEY, DDSCAPS");
static_assert(sizeof(DDPIXELFORMAT) == 32 && offsetof(DDPIXELFORMAT, dwRGBBitCount) == 12,
              "DDPIXELFORMAT");
static_assert(offsetof(DDSURFACEDESC, dwFlags) == 4 && offsetof(DDSURFACEDESC, dwWidth) == 12 &&
                  offsetof(DDSURFACEDESC, lPitch) == 16 &&
                  offsetof(DDSURFACEDESC, dwBackBufferCount) == 20,
              "DDSURFACEDESC fields before lpSurface");

// The layouts that hold pointers, as a 32-bit program sees them.
constexpr bool Is32Bit = sizeof(void*) == 4;
static_assert(!Is32Bit ||
                  (sizeof(DDSURFACEDESC) == 108 && offsetof(DDSURFACEDESC, lpSurface) == 36 &&
                   offsetof(DDSURFACEDESC, ddpfPixelFormat) == 72 &&
                   offsetof(DDSURFACEDESC, ddsCaps) == 104),
              "DDSURFACEDESC in 32-bit");
static_assert(!Is32Bit || (sizeof(DDBLTFX) == 100 && offsetof(DDBLTFX, dwFillColor) == 80),
              "DDBLTFX in 32-bit");
static_assert(!Is32Bit ||
                  (sizeof(WNDCLASSA) == 40 && sizeof(MSG) == 28 && sizeof(PAINTSTRUCT) == 64),
              "WNDCLASSA, MSG, PAINTSTRUCT in 32-bit");

// ---- Constants ---------------------------------------------------------------

static_assert(TRUE == 1 && FALSE == 0, "TRUE, FALSE");
static_assert(WM_DESTROY == 0x0002 && WM_PAINT == 0x000F && WM_ACTIVATEAPP == 0x001C &&
                  WM_KEYDOWN == 0x0100,
              "window messages");
static_assert(VK_RETURN == 0x0D && VK_CONTROL == 0x11 && VK_ESCAPE == 0x1B && VK_F12 == 0x7B,
              "virtual keys");
static_assert(VK_LEFT == 0x25 && VK_UP == 0x26 && VK_RIGHT == 0x27 && VK_DOWN == 0x28,
              "arrow keys");
static_assert(CS_DBLCLKS == 0x0008 && WS_EX_TOPMOST == 0x00000008, "class and extended styles");
static_assert(static_cast<DWORD>(WS_POPUP) == 0x80000000u && WS_VISIBLE == 0x10000000,
              "window styles");
static_assert(CW_USEDEFAULT == static_cast<int>(0x80000000u), "CW_USEDEFAULT");
static_assert(SW_MINIMIZE == 6 && PM_NOREMOVE == 0 && MB_OK == 0,
              "ShowWindow, PeekMessage, MessageBox");
static_assert(WHITE_BRUSH == 0 && DIB_RGB_COLORS == 0 && BI_RGB == 0 && SRCCOPY == 0x00CC0020,
              "GDI");
static_assert(GMEM_MOVEABLE == 0x0002 && OF_READ == 0 && FILE_BEGIN == 0 && HFILE_ERROR == -1,
              "KERNEL32");

QV_SAME_TYPE(DD_OK, HRESULT);
QV_SAME_TYPE(DDERR_SURFACELOST, HRESULT);
QV_SAME_TYPE(DDERR_WASSTILLDRAWING, HRESULT);
QV_SAME_TYPE(DDERR_IMPLICITLYCREATED, HRESULT);
QV_SAME_TYPE(DDERR_INVALIDPARAMS, HRESULT);
static_assert(DD_OK == 0, "DD_OK");
static_assert(DDERR_SURFACELOST == static_cast<HRESULT>(0x887601C2u), "DDERR_SURFACELOST");
static_assert(DDERR_WASSTILLDRAWING == static_cast<HRESULT>(0x8876021Cu), "DDERR_WASSTILLDRAWING");
static_assert(DDERR_IMPLICITLYCREATED == static_cast<HRESULT>(0x8876024Cu),
              "DDERR_IMPLICITLYCREATED");
static_assert(DDERR_INVALIDPARAMS == static_cast<HRESULT>(0x80070057u), "DDERR_INVALIDPARAMS");

static_assert(DDSCL_FULLSCREEN == 0x01 && DDSCL_EXCLUSIVE == 0x10, "cooperative levels");
static_assert(DDSD_CAPS == 0x01 && DDSD_HEIGHT == 0x02 && DDSD_WIDTH == 0x04 &&
                  DDSD_BACKBUFFERCOUNT == 0x20,
              "surface description flags");
static_assert(DDSCAPS_BACKBUFFER == 0x0004 && DDSCAPS_COMPLEX == 0x0008 && DDSCAPS_FLIP == 0x0010 &&
                  DDSCAPS_OFFSCREENPLAIN == 0x0040 && DDSCAPS_PRIMARYSURFACE == 0x0200,
              "surface capabilities");
static_assert(DDPCAPS_8BIT == 0x04 && DDCKEY_SRCBLT == 0x08 && DDBLT_COLORFILL == 0x0400,
              "palette, key, fill");
static_assert(DDBLTFAST_SRCCOLORKEY == 0x01 && DDBLTFAST_WAIT == 0x10, "BltFast flags");

// ---- Functions: exact types, calling convention included ----------------------

QV_SAME_TYPE(&WinMain, int(WINAPI*)(HINSTANCE, HINSTANCE, LPSTR, int));
QV_SAME_TYPE(WNDCLASSA{}.lpfnWndProc, WNDPROC);
static_assert(std::is_same_v<WNDPROC, LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM)>, "WNDPROC");

QV_SAME_TYPE(&GetTickCount, DWORD(WINAPI*)(void));
QV_SAME_TYPE(&OpenFile, HFILE(WINAPI*)(LPCSTR, LPOFSTRUCT, UINT));
QV_SAME_TYPE(&_llseek, LONG(WINAPI*)(HFILE, LONG, int));
QV_SAME_TYPE(&_lread, UINT(WINAPI*)(HFILE, LPVOID, UINT));
QV_SAME_TYPE(&_lclose, HFILE(WINAPI*)(HFILE));
QV_SAME_TYPE(&GlobalAlloc, HGLOBAL(WINAPI*)(UINT, SIZE_T));
QV_SAME_TYPE(&GlobalLock, LPVOID(WINAPI*)(HGLOBAL));
QV_SAME_TYPE(&GlobalUnlock, BOOL(WINAPI*)(HGLOBAL));
QV_SAME_TYPE(&GlobalHandle, HGLOBAL(WINAPI*)(LPCVOID));
QV_SAME_TYPE(&GlobalFree, HGLOBAL(WINAPI*)(HGLOBAL));
QV_SAME_TYPE(&GlobalSize, SIZE_T(WINAPI*)(HGLOBAL));

QV_SAME_TYPE(&RegisterClassA, ATOM(WINAPI*)(const WNDCLASSA*));
QV_SAME_TYPE(&CreateWindowExA, HWND(WINAPI*)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND,
                                             HMENU, HINSTANCE, LPVOID));
QV_SAME_TYPE(&ShowWindow, BOOL(WINAPI*)(HWND, int));
QV_SAME_TYPE(&UpdateWindow, BOOL(WINAPI*)(HWND));
QV_SAME_TYPE(&SetFocus, HWND(WINAPI*)(HWND));
QV_SAME_TYPE(&GetActiveWindow, HWND(WINAPI*)(void));
QV_SAME_TYPE(&ShowCursor, int(WINAPI*)(BOOL));
QV_SAME_TYPE(&LoadIconA, HICON(WINAPI*)(HINSTANCE, LPCSTR));
QV_SAME_TYPE(&LoadCursorA, HCURSOR(WINAPI*)(HINSTANCE, LPCSTR));
QV_SAME_TYPE(&PeekMessageA, BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT, UINT));
QV_SAME_TYPE(&GetMessageA, BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT));
QV_SAME_TYPE(&TranslateMessage, BOOL(WINAPI*)(const MSG*));
QV_SAME_TYPE(&DispatchMessageA, LRESULT(WINAPI*)(const MSG*));
QV_SAME_TYPE(&DefWindowProcA, LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM));
QV_SAME_TYPE(&PostQuitMessage, void(WINAPI*)(int));
QV_SAME_TYPE(&BeginPaint, HDC(WINAPI*)(HWND, LPPAINTSTRUCT));
QV_SAME_TYPE(&EndPaint, BOOL(WINAPI*)(HWND, const PAINTSTRUCT*));
QV_SAME_TYPE(&MessageBoxA, int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT));
QV_SAME_TYPE(&GetAsyncKeyState, SHORT(WINAPI*)(int));
// Variadic, so the caller's convention (__cdecl) on every host.
QV_SAME_TYPE(&wsprintfA, int (*)(LPSTR, LPCSTR, ...));

QV_SAME_TYPE(&StretchDIBits, int(WINAPI*)(HDC, int, int, int, int, int, int, int, int, const VOID*,
                                          const BITMAPINFO*, UINT, DWORD));
QV_SAME_TYPE(&GetPixel, COLORREF(WINAPI*)(HDC, int, int));
QV_SAME_TYPE(&SetPixel, COLORREF(WINAPI*)(HDC, int, int, COLORREF));
QV_SAME_TYPE(&CreatePalette, HPALETTE(WINAPI*)(const LOGPALETTE*));
QV_SAME_TYPE(&GetStockObject, HGDIOBJ(WINAPI*)(int));

QV_SAME_TYPE(&DirectDrawCreate, HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*));

// ---- Interface methods ------------------------------------------------------------

QV_SAME_TYPE(&IDirectDraw::SetCooperativeLevel,
             HRESULT (STDMETHODCALLTYPE IDirectDraw::*)(HWND, DWORD));
QV_SAME_TYPE(&IDirectDraw::SetDisplayMode,
             HRESULT (STDMETHODCALLTYPE IDirectDraw::*)(DWORD, DWORD, DWORD));
QV_SAME_TYPE(&IDirectDraw::CreateSurface,
             HRESULT (STDMETHODCALLTYPE IDirectDraw::*)(LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*,
                                                        IUnknown*));
QV_SAME_TYPE(&IDirectDraw::CreatePalette,
             HRESULT (STDMETHODCALLTYPE IDirectDraw::*)(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*,
                                                        IUnknown*));
QV_SAME_TYPE(&IDirectDraw::FlipToGDISurface, HRESULT (STDMETHODCALLTYPE IDirectDraw::*)());

using Surface = IDirectDrawSurface;
QV_SAME_TYPE(&Surface::Blt, HRESULT (STDMETHODCALLTYPE Surface::*)(LPRECT, LPDIRECTDRAWSURFACE,
                                                                   LPRECT, DWORD, LPDDBLTFX));
QV_SAME_TYPE(&Surface::BltFast,
             HRESULT (STDMETHODCALLTYPE Surface::*)(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT,
                                                    DWORD));
QV_SAME_TYPE(&Surface::Flip, HRESULT (STDMETHODCALLTYPE Surface::*)(LPDIRECTDRAWSURFACE, DWORD));
QV_SAME_TYPE(&Surface::GetAttachedSurface,
             HRESULT (STDMETHODCALLTYPE Surface::*)(LPDDSCAPS, LPDIRECTDRAWSURFACE*));
QV_SAME_TYPE(&Surface::GetDC, HRESULT (STDMETHODCALLTYPE Surface::*)(HDC*));
QV_SAME_TYPE(&Surface::ReleaseDC, HRESULT (STDMETHODCALLTYPE Surface::*)(HDC));
QV_SAME_TYPE(&Surface::Lock,
             HRESULT (STDMETHODCALLTYPE Surface::*)(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE));
QV_SAME_TYPE(&Surface::Unlock, HRESULT (STDMETHODCALLTYPE Surface::*)(LPVOID));
QV_SAME_TYPE(&Surface::Restore, HRESULT (STDMETHODCALLTYPE Surface::*)());
QV_SAME_TYPE(&Surface::SetColorKey, HRESULT (STDMETHODCALLTYPE Surface::*)(DWORD, LPDDCOLORKEY));
QV_SAME_TYPE(&Surface::SetPalette, HRESULT (STDMETHODCALLTYPE Surface::*)(LPDIRECTDRAWPALETTE));

// Release is declared by IUnknown here and again by each interface in the
// SDK, so the call rather than the member is compared.
QV_SAME_TYPE(std::declval<IDirectDraw&>().Release(), ULONG);
QV_SAME_TYPE(std::declval<IDirectDrawSurface&>().Release(), ULONG);

} // namespace

#ifdef _WIN32
// The Windows build is a 32-bit program, and there the SDK's descriptions
// have the sizes the game passes in dwSize.
static_assert(sizeof(void*) == 4, "the Windows build is 32-bit");
static_assert(sizeof(DDSURFACEDESC) == 108, "DDSURFACEDESC is 108 bytes in the 32-bit SDK");
static_assert(sizeof(DDBLTFX) == 100, "DDBLTFX is 100 bytes in the 32-bit SDK");
#endif
