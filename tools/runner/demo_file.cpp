// Reading a demo and checking its sheet.
#include "demo_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "data_file.h"

namespace fs = std::filesystem;

namespace {

// Reads at most `limit` + 1 bytes, so an oversized file is seen as such
// without reading all of it.
bool ReadFile(const fs::path& path, size_t limit, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.clear();
    char chunk[65536];
    while (bytes.size() <= limit && file.read(chunk, sizeof chunk).gcount() > 0)
        bytes.insert(bytes.end(), chunk, chunk + file.gcount());
    return !file.bad();
}

std::string Describe(const hostcommon::DemoSheet& sheet) {
    return hostcommon::HashHex(sheet.hash) + " (" + std::to_string(sheet.size) + " bytes)";
}

} // namespace

bool LoadDemo(const std::string& path, hostcommon::Demo& demo, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, hostcommon::kDemoMaxFileBytes, bytes)) {
        error = "cannot read demo " + path;
        return false;
    }
    if (!hostcommon::ReadDemoFile(bytes.data(), bytes.size(), demo, error)) {
        error = path + ": " + error;
        return false;
    }
    // The city2.bmp the game's OpenFile will read.
    fs::path sheetPath = hostcommon::FindDataFile("city2.bmp");
    std::vector<uint8_t> sheet;
    if (sheetPath.empty() || !ReadFile(sheetPath, hostcommon::kDemoMaxFileBytes, sheet)) {
        error = "cannot read city2.bmp to check " + path + " against it";
        return false;
    }
    hostcommon::DemoSheet here{hostcommon::ContentHash(sheet.data(), sheet.size()),
                               static_cast<uint32_t>(sheet.size())};
    if (here.hash != demo.sheet.hash || here.size != demo.sheet.size) {
        error = path + " was played with a city2.bmp of hash " + Describe(demo.sheet) +
                "; this city2.bmp has hash " + Describe(here);
        return false;
    }
    return true;
}
