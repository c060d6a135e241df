// Screenshots: the frame on screen saved as an 8-bit paletted PNG in the
// user's pictures folder, under a name made of the date and time.
// Nothing here touches SDL: the display hands over its last frame.
#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "host.h"

namespace sdlhost {

// Writes width x height palette indices (rows `pitch` bytes apart) with
// their 256-entry palette to `file` as an 8-bit paletted PNG. False when
// libpng fails or the file cannot be written; the file is left open.
bool WritePalettedPng(std::FILE* file, const uint8_t* indices, int width, int height, int pitch,
                      const host::PaletteEntry* palette);

// The folder screenshots go to: `xdgPictures` when it names an existing
// folder, else `home`/Pictures when that exists, else `currentFolder`.
// Either string may be null or empty.
std::filesystem::path PicturesFolder(const char* xdgPictures, const char* home,
                                     const std::filesystem::path& currentFolder);

// The file name for a screenshot taken at local time `when`:
// quorvanteledix-YYYY-MM-DD-HHMMSS.png, with -N before ".png" for the Nth
// attempt (N >= 2) when the earlier names are taken.
std::string ScreenshotName(const std::tm& when, int attempt);

struct SavedScreenshot {
    bool ok = false;
    std::filesystem::path path; // where it was saved, or the file that failed
    std::string error;          // why it failed
};

// Saves a width x height frame (rows `width` bytes apart) in `folder` under
// the first name for `when` that is not taken; an existing file is never
// overwritten. A failed write leaves no file behind.
SavedScreenshot SaveScreenshotIn(const std::filesystem::path& folder, const std::tm& when,
                                 const uint8_t* indices, int width, int height,
                                 const host::PaletteEntry* palette);

// PrintScreen: saves the frame to the user's pictures folder ($XDG_PICTURES_DIR,
// ~/Pictures or the current folder) at the present local time, and says
// where, or why it could not, on stderr.
void SaveScreenshot(const uint8_t* indices, int width, int height,
                    const host::PaletteEntry* palette);

} // namespace sdlhost
