// Whether the page may play a demo: the file must be a sound demo
// (hostcommon::ReadDemoFile says what is wrong with one that is not), and
// it must have been played with the very city2.bmp the page has, by
// content hash and size; a demo of another sheet would play another game.
// Nothing here touches the browser, so it is checked on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "demo_format.h"

namespace webhost {

// Reads the demo in data[0..size) into `demo` and checks it against the
// page's sheet (`sheet`, `sheetSize` bytes; null when the page has none).
// False, with `error` saying what is wrong in a sentence the page shows
// (naming both sheets' hashes and sizes when they differ).
bool CheckDemo(const uint8_t* data, size_t size, const uint8_t* sheet, size_t sheetSize,
               hostcommon::Demo& demo, std::string& error);

} // namespace webhost
