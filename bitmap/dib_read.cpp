// CDib::ReadBMP: reading a Windows BMP file into the object, in four pieces —
// file header, info header, colour table, pixel data from bfOffBits on.
#include "dib.h"

#include <cstring>

#include "global_block.h"

// The colour table has room for 256 entries, so no more are ever read; the
// rest of a longer table is skipped with everything else before bfOffBits.
static const DWORD MAX_TABLE_ENTRIES = 256;

BOOL CDib::ReadBMP(LPCSTR name) {
    OFSTRUCT scratch;
    HFILE file = OpenFile(name, &scratch, OF_READ);
    if (file == HFILE_ERROR) {
        SetError(1);
        return FALSE;
    }
    LONG base = _llseek(file, 0, FILE_BEGIN);

    // Up to the end of the info header the object stays untouched.
    BITMAPFILEHEADER fileHeader;
    if (_lread(file, &fileHeader, sizeof(fileHeader)) != sizeof(fileHeader)) {
        SetError(3);
        _lclose(file);
        return FALSE;
    }
    if (fileHeader.bfType != 0x4D42) { // "BM"
        SetError(4);
        _lclose(file);
        return FALSE;
    }
    BITMAPINFOHEADER infoHeader;
    if (_lread(file, &infoHeader, sizeof(infoHeader)) != sizeof(infoHeader)) {
        SetError(5);
        _lclose(file);
        return FALSE;
    }

    if (!AllocInfo()) { // nError is 8
        _lclose(file);
        return FALSE;
    }
    std::memcpy(lpInfo, &infoHeader, sizeof(infoHeader));

    // The table is taken to follow the first 40 bytes of the header.
    DWORD colors = NumColors(&infoHeader);
    if (colors > MAX_TABLE_ENTRIES) colors = MAX_TABLE_ENTRIES;
    UINT tableBytes = colors * sizeof(RGBQUAD);
    if (tableBytes != 0 && _lread(file, lpColorTable, tableBytes) != tableBytes) {
        SetError(6);
        _lclose(file);
        return FALSE;
    }

    if (lpBits) {
        FreeLockedBlock(lpBits);
        lpBits = nullptr;
    }
    // Unsigned: bfOffBits beyond bfSize asks for an impossible size and fails.
    DWORD size = fileHeader.bfSize - fileHeader.bfOffBits;
    lpBits = static_cast<LPBYTE>(AllocLockedBlock(size));
    if (!lpBits) {
        SetError(11);
        _lclose(file);
        return FALSE;
    }
    _llseek(file, base + static_cast<LONG>(fileHeader.bfOffBits), FILE_BEGIN);
    if (_lread(file, lpBits, size) != size) {
        SetError(12);
        _lclose(file);
        return FALSE;
    }
    _lclose(file);
    return TRUE;
}
