// Why the game cannot start with a sprite sheet, in words an artist can act
// on: the file's name, what is wrong, and how to save it so that it works.
#include "sheet_check.h"

#include <string>

#include "dib.h"
#include "sheet_rules.h"

// The two headers as the file has them, for the details a refusal names.
// False when they cannot be read.
bool PeekSheetHeaders(LPCSTR name, BITMAPFILEHEADER* file, BITMAPINFOHEADER* info) {
    OFSTRUCT scratch;
    HFILE handle = OpenFile(name, &scratch, OF_READ);
    if (handle == HFILE_ERROR) return false;
    bool read = _lread(handle, file, sizeof(*file)) == sizeof(*file) &&
                _lread(handle, info, sizeof(*info)) == sizeof(*info);
    _lclose(handle);
    return read;
}

static std::string CompressionName(DWORD compression) {
    switch (compression) {
    case 1: return "RLE8";
    case 2: return "RLE4";
    case 3: return "bit fields";
    case 4: return "JPEG";
    case 5: return "PNG";
    case 6: return "alpha bit fields";
    default: return "method " + std::to_string(compression);
    }
}

// The sentence for a read that failed with `code`; the headers, when they
// could be peeked, add the detail.
static std::string ReadFailure(int code, const std::string& file, bool peeked, const BITMAPINFOHEADER& info) {
    const std::string saveAgain = " Save it again as an uncompressed Windows BMP with 256 colours.";
    switch (code) {
    case 1:
        return file + " cannot be opened: it is missing or unreadable. Put the game's own sheet, or yours, "
                      "in the folder the game starts from.";
    case 3:
    case 5: return file + " is too short to be a BMP file." + saveAgain;
    case 4: return file + " is not a BMP file (it does not begin with \"BM\")." + saveAgain;
    case 6: return file + " ends inside its colour table: the file is damaged or incomplete." + saveAgain;
    case 8:
    case 11:
        return file + " has no pixel data that could be held (none, or more than memory allows)." + saveAgain;
    case 12:
    case CDib::ERROR_PIXELS_SHORT:
        return file + " ends before the last row of its picture: the file is damaged or incomplete." + saveAgain;
    case CDib::ERROR_OS2_HEADER:
        return file + " is an OS/2 BMP, which the game does not read. Save it as a Windows BMP "
                      "(ImageMagick: BMP3:" + file + ").";
    case CDib::ERROR_COMPRESSED:
        return file + " is compressed" + (peeked ? " (" + CompressionName(info.biCompression) + ")" : "") +
               ", and the game reads only uncompressed BMPs. Save it without compression "
               "(ImageMagick: -compress None; GIMP: untick \"Run-Length Encoded\").";
    case CDib::ERROR_BIT_DEPTH:
        return file + " has " + (peeked ? std::to_string(info.biBitCount) : std::string("an unknown number of")) +
               " bits per pixel, which no BMP has." + saveAgain;
    case CDib::ERROR_SIZE:
        return file + " claims a width or height of 0 or more than 32767 pixels: the file is damaged." + saveAgain;
    default: return file + " cannot be read (error " + std::to_string(code) + ")." + saveAgain;
    }
}

std::vector<std::string> SheetUnusableProblems(CDib* sheet, BOOL read, LPCSTR name) {
    std::string file = name;
    if (!read) {
        BITMAPFILEHEADER fileHeader;
        BITMAPINFOHEADER info{};
        bool peeked = PeekSheetHeaders(name, &fileHeader, &info);
        return {ReadFailure(sheet->nError, file, peeked, info)};
    }
    std::vector<std::string> problems;
    const BITMAPINFOHEADER& h = sheet->lpInfo->bmiHeader;
    if (h.biBitCount != 8)
        problems.push_back(file + " has " + std::to_string(h.biBitCount) +
                           " bits per pixel; the game needs 8 (256 colours with a palette). Convert it to "
                           "indexed colour (GIMP: Image > Mode > Indexed; ImageMagick: -type Palette) and save "
                           "it again.");
    if (h.biHeight < 0)
        problems.push_back(file + " stores its rows top-down, which the game cannot use. Save it as a usual "
                                  "bottom-up BMP.");
    else if (h.biWidth < SHEET_MIN_WIDTH || h.biHeight < SHEET_MIN_HEIGHT)
        problems.push_back(file + " is " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) +
                           " pixels; the game needs at least " + std::to_string(SHEET_MIN_WIDTH) + " x " +
                           std::to_string(SHEET_MIN_HEIGHT) +
                           ". Draw on a copy of the game's own sheet, which has every sprite in place.");
    return problems;
}

std::string SheetRefusal(CDib* sheet, BOOL read, LPCSTR name) {
    std::string text;
    for (const std::string& problem : SheetUnusableProblems(sheet, read, name))
        text += (text.empty() ? "" : " ") + problem;
    return text;
}
