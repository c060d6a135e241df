// CDib::ReadBMP: reading a Windows BMP file into the object, in four pieces —
// file header, info header, colour table, pixel data from bfOffBits on.
#include "dib.h"

#include <cstring>

#include "global_block.h"

// The colour table has room for 256 entries, so no more are ever read; the
// rest of a longer table is skipped with everything else before bfOffBits.
static const DWORD MAX_TABLE_ENTRIES = 256;
// Widths and heights a BMP may have here; a top-down file's height is
// negative, but no larger.
static const LONG MAX_SIDE = 32767;

// Why a header the reader took in full cannot describe a picture it can
// hold as it stands: 0 when it can, else the code to store. Editors write
// longer headers (52, 56, 108 and 124 bytes) that begin as the 40-byte one;
// an OS/2 header is shorter and laid out differently.
static int RefuseHeader(const BITMAPINFOHEADER& header) {
    if (header.biSize < sizeof(BITMAPINFOHEADER)) return CDib::ERROR_OS2_HEADER;
    if (header.biCompression != BI_RGB) return CDib::ERROR_COMPRESSED;
    switch (header.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return CDib::ERROR_BIT_DEPTH;
    }
    LONG height = header.biHeight;
    if (header.biWidth <= 0 || header.biWidth > MAX_SIDE || height == 0 || height > MAX_SIDE ||
        height < -MAX_SIDE)
        return CDib::ERROR_SIZE;
    return 0;
}

static BOOL Fail(CDib* dib, HFILE file, int code) {
    dib->SetError(code);
    if (file != HFILE_ERROR) _lclose(file);
    return FALSE;
}

BOOL CDib::ReadBMP(LPCSTR name) {
    OFSTRUCT scratch;
    HFILE file = OpenFile(name, &scratch, OF_READ);
    if (file == HFILE_ERROR) return Fail(this, file, 1);
    LONG base = _llseek(file, 0, FILE_BEGIN);

    // Up to the end of the info header, and for every header the reader
    // refuses, the object stays untouched.
    BITMAPFILEHEADER fileHeader;
    if (_lread(file, &fileHeader, sizeof(fileHeader)) != sizeof(fileHeader)) return Fail(this, file, 3);
    if (fileHeader.bfType != 0x4D42) return Fail(this, file, 4); // "BM"
    BITMAPINFOHEADER infoHeader;
    if (_lread(file, &infoHeader, sizeof(infoHeader)) != sizeof(infoHeader)) return Fail(this, file, 5);
    if (int refusal = RefuseHeader(infoHeader)) return Fail(this, file, refusal);

    if (!AllocInfo()) { // nError is 8
        _lclose(file);
        return FALSE;
    }
    // The block always holds a plain 40-byte header, whatever the file's was.
    DWORD headerSize = infoHeader.biSize;
    infoHeader.biSize = sizeof(BITMAPINFOHEADER);
    std::memcpy(lpInfo, &infoHeader, sizeof(infoHeader));

    // The colour table follows the file's header at its real size.
    DWORD colors = NumColors(&infoHeader);
    if (colors > MAX_TABLE_ENTRIES) colors = MAX_TABLE_ENTRIES;
    UINT tableBytes = colors * sizeof(RGBQUAD);
    if (tableBytes != 0 && headerSize != sizeof(BITMAPINFOHEADER)) {
        unsigned long long table = static_cast<unsigned long long>(static_cast<DWORD>(base)) +
                                   sizeof(BITMAPFILEHEADER) + headerSize;
        if (table > 0x7FFFFFFF) return Fail(this, file, 6); // past any file _llseek can reach
        _llseek(file, static_cast<LONG>(table), FILE_BEGIN);
    }
    if (tableBytes != 0 && _lread(file, lpColorTable, tableBytes) != tableBytes) return Fail(this, file, 6);

    if (lpBits) {
        FreeLockedBlock(lpBits);
        lpBits = nullptr;
    }
    // Unsigned: bfOffBits beyond bfSize asks for an impossible size and fails.
    DWORD size = fileHeader.bfSize - fileHeader.bfOffBits;
    lpBits = static_cast<LPBYTE>(AllocLockedBlock(size));
    if (!lpBits) return Fail(this, file, 11);
    _llseek(file, base + static_cast<LONG>(fileHeader.bfOffBits), FILE_BEGIN);
    if (_lread(file, lpBits, size) != size) return Fail(this, file, 12);
    // Every row the header describes must be there to be drawn.
    if (size < PixelBytesDescribed(&infoHeader)) return Fail(this, file, ERROR_PIXELS_SHORT);
    _lclose(file);
    return TRUE;
}
