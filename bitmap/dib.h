// CDib: one device-independent bitmap in memory — a 1064-byte info block
// (BITMAPINFOHEADER and room for 256 colours) and a pixel block, both movable
// global memory kept locked for as long as the object holds them. Reads
// Windows BMP files and paints them onto GDI device contexts.
#pragma once

#include <windows.h>

class CDib {
  public:
    // A blank 640 x 480 8-bit image, every pixel 0, with the grey ramp as its
    // colours; an object without blocks when memory ran out.
    CDib();
    ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Reads a BMP file. FALSE on failure, with the reason in nError:
    // 1 not opened, 3 file header short, 4 not "BM", 5 info header short,
    // 8 no memory for the info block, 6 colour table short, 11 no memory for
    // the pixels (or none to hold), 12 pixel data short, and the files this
    // reader refuses rather than misread (the ERROR_ codes below). Headers
    // longer than 40 bytes are read; the info block keeps their first 40
    // bytes, with biSize 40.
    BOOL ReadBMP(LPCSTR name);
    // Files refused after the info header, the object left untouched: a
    // header under 40 bytes (OS/2), a compression other than BI_RGB, a bit
    // depth other than 1, 4, 8, 16, 24 or 32, a width or height of 0 or
    // beyond 32767.
    static const int ERROR_OS2_HEADER = 13;
    static const int ERROR_COMPRESSED = 14;
    static const int ERROR_BIT_DEPTH = 15;
    static const int ERROR_SIZE = 16;
    // A pixel block shorter than the rows the header describes; the object
    // holds what it read, as after code 12.
    static const int ERROR_PIXELS_SHORT = 17;
    // biWidth and biHeight as stored (negative height: top-down rows), or 0
    // without an info block.
    LONG GetWidth();
    LONG GetHeight();
    // The 256 colour entries behind the header. Null without an info block.
    RGBQUAD* GetColorTable();
    // Paints the whole image unscaled with its top-left corner at (x, y);
    // returns StretchDIBits' result, 0 when nothing could be painted.
    int Paint(HDC hdc, int x, int y);
    // Releases both blocks; the object can be filled again.
    void Free();

    // Makes a blank 8-bit image (pixels 0, grey ramp). FALSE when memory ran
    // out or either size is 0; the object is then without blocks.
    BOOL Create(LONG width, LONG height);
    // Replaces the info block with a zeroed one of GetInfoSize() bytes.
    // FALSE with nError 8 when memory ran out.
    BOOL AllocInfo();
    void SetError(int code);
    // Colours belonging to the image: biClrUsed, else 2, 16 or 256 for 1, 4
    // or 8 bits per pixel, else 0.
    static DWORD NumColors(const BITMAPINFOHEADER* header);
    // Bytes of the rows an uncompressed header describes: each row padded to
    // 4 bytes, times the height's magnitude.
    static unsigned long long PixelBytesDescribed(const BITMAPINFOHEADER* header);
    BOOL InitHeader(LONG width, LONG height);
    BOOL SetGreyRamp();
    void ResetBounds();
    static DWORD GetInfoSize();

    // Copies another image's whole info block into a new one of this object.
    BOOL CopyInfo(CDib* other);
    // Paints the image's own (0, 0, w, h) corner into `rect` of hdc, unscaled.
    int PaintRect(HDC hdc, LPRECT rect);
    // A GDI palette of the image's colours, owned by the caller; null on failure.
    HPALETTE CreateGdiPalette();
    // Copies the other image's colours (red, green, blue) into this one's table.
    BOOL CopyColors(CDib* other);
    // Copies `src` of an 8-bit source image to the top-left corner of `dst` in
    // this 8-bit image; CopyAreaTransparent skips source pixels equal to
    // `transparent`. Pixels that would fall outside either image are skipped.
    BOOL CopyArea(CDib* source, RECT src, RECT dst);
    BOOL CopyAreaTransparent(CDib* source, RECT src, RECT dst, BYTE transparent);
    // The 8-bit pixel at (x, y), counted from the top-left of the picture;
    // 0 outside the image.
    BYTE GetPixelByte(int x, int y);
    int GetPixelIndex(int x, int y);
    void SetBounds(LONG left, LONG top, LONG right, LONG bottom);

    LPBITMAPINFO lpInfo;  // header and colour table; null when none is held
    LPBYTE lpBits;        // the pixel block; null when none is held
    RGBQUAD* lpColorTable; // lpInfo + 40 bytes while lpInfo is set
    int nError;           // code of the last failure; success leaves it
    RECT rcBounds;        // the kept rectangle: the whole image after Create

  private:
    LPBYTE PixelAddress(int x, int y);
    BOOL CopyPixels(CDib* source, const RECT& src, const RECT& dst, bool keyed, BYTE transparent);
    int PaintArea(HDC hdc, int x, int y, int width, int height);
    bool CanPaint();
};
