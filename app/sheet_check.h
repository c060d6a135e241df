// Whether a BMP file can serve as the game's sprite sheet, and what looks
// wrong in it. The file is read as the start-up reads it (CDib::ReadBMP),
// then held against what the game takes from it: at least 639 x 695 pixels
// of 8 bits, a colour table whose first and last entries Windows keeps black
// and white, the colour key at (1, 500), and the sprite rectangles.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CDib;

// How usable a sheet is; the numbers are the checker's exit statuses.
enum SheetVerdict {
    SHEET_GOOD = 0,     // the game can use it and nothing looks wrong
    SHEET_DOUBTFUL = 1, // the game can use it, but something looks wrong
    SHEET_UNUSABLE = 2, // the game cannot start with it
};

struct SheetReport {
    SheetVerdict verdict = SHEET_GOOD;
    // Every problem found, each a plain sentence that says what to do about
    // it; the ones that make the sheet unusable come first.
    std::vector<std::string> problems;
};

// Reads the file `name` as the game does and reports every problem found.
SheetReport CheckSheet(LPCSTR name);

// Why the game cannot start with `sheet`, just read from `name` with the
// result `read`: a sentence naming the file and the fix, or an empty string
// when the sheet is usable.
std::string SheetRefusal(CDib* sheet, BOOL read, LPCSTR name);
