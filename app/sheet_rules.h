// What the sheet checker and the start-up share: the least sheet the game's
// rectangles fit on, and the problems that make a sheet unusable.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CDib;

// The background and every sprite rectangle lie inside this much.
#define SHEET_MIN_WIDTH 639
#define SHEET_MIN_HEIGHT 695

// Every reason the game cannot start with `sheet` (just read from `name`
// with the result `read`), one sentence each; empty when it can.
std::vector<std::string> SheetUnusableProblems(CDib* sheet, BOOL read, LPCSTR name);

// The file's two headers as stored. False when the file cannot be opened
// or is shorter than both.
bool PeekSheetHeaders(LPCSTR name, BITMAPFILEHEADER* file, BITMAPINFOHEADER* info);
