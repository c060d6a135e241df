// A demo checked against the sheet the page plays with, its own city2.bmp
// or the one a player chose.
#include "web_demo_check.h"

namespace webhost {

namespace {

std::string Describe(const hostcommon::DemoSheet& sheet) {
    return "hash " + hostcommon::HashHex(sheet.hash) + " (" + std::to_string(sheet.size) + " bytes)";
}

} // namespace

bool CheckDemo(const uint8_t* data, size_t size, const uint8_t* sheet, size_t sheetSize,
               hostcommon::Demo& demo, std::string& error) {
    std::string why;
    if (!hostcommon::ReadDemoFile(data, size, demo, why)) {
        error = "the file is not a demo this page can play: " + why;
        return false;
    }
    if (!sheet) {
        error = "this page has no city2.bmp to check the demo against";
        return false;
    }
    hostcommon::DemoSheet here{hostcommon::ContentHash(sheet, sheetSize), static_cast<uint32_t>(sheetSize)};
    if (here.hash != demo.sheet.hash || here.size != demo.sheet.size) {
        error = "the demo was played with a city2.bmp of " + Describe(demo.sheet) +
                "; the sheet this page plays with has " + Describe(here);
        return false;
    }
    return true;
}

} // namespace webhost
