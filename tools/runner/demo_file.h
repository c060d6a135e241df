// Loading a demo for replay: the file read and checked, and the sheet it
// was played with compared with the city2.bmp this runner's game will read.
#pragma once

#include <string>

#include "demo_format.h"

// Reads the demo at `path` into `demo`. False, with `error` saying what is
// wrong (naming both sheets' hashes when they differ), when the file cannot
// be read, is not a valid demo, or was made with another city2.bmp.
bool LoadDemo(const std::string& path, hostcommon::Demo& demo, std::string& error);
