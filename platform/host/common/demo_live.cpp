// Tying a live demo to its data file, and writing it out.
#include "demo_live.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace hostcommon {

namespace {

constexpr int kMaxAttempts = 1000;

// Writes the bytes to a file that must not exist yet (`exclusive`) or is
// replaced. On failure the file is removed again; `taken` tells that the
// name was in use.
SavedDemo Write(const fs::path& path, const std::vector<uint8_t>& bytes, bool exclusive, bool* taken = nullptr) {
    SavedDemo saved{false, path, {}};
    std::FILE* file = std::fopen(path.c_str(), exclusive ? "wbx" : "wb");
    if (!file) {
        if (taken) *taken = errno == EEXIST;
        saved.error = std::strerror(errno);
        return saved;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0) ok = false;
    if (!ok) {
        saved.error = "the file could not be written in full";
        std::error_code ec;
        fs::remove(path, ec);
        return saved;
    }
    saved.ok = true;
    return saved;
}

} // namespace

void LiveDemo::NoteFileOpened(const char* path) {
    if (sheetKnown_ || !path) return;
    sheetKnown_ = true;
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    sheet_ = {ContentHash(bytes.data(), bytes.size()), static_cast<uint32_t>(bytes.size())};
}

std::string DatedFileName(const std::tm& when, int attempt, const std::string& extension) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &when);
    std::string name = std::string("quorvanteledix-") + stamp;
    if (attempt >= 2) {
        name += '-';
        name += std::to_string(attempt);
    }
    return name + extension;
}

std::string DemoFileName(const std::tm& when, int attempt) {
    return DatedFileName(when, attempt, ".demo");
}

SavedDemo SaveDemoIn(const fs::path& folder, const std::tm& when, const std::vector<uint8_t>& bytes) {
    SavedDemo saved;
    for (int attempt = 1; attempt <= kMaxAttempts; attempt++) {
        bool taken = false;
        saved = Write(folder / DemoFileName(when, attempt), bytes, true, &taken);
        if (!taken) return saved;
    }
    return saved;
}

SavedDemo SaveDemoAs(const fs::path& path, const std::vector<uint8_t>& bytes) {
    return Write(path, bytes, false);
}

std::string DemoSavedLine(const fs::path& path, uint32_t passes, const std::string& screenHash) {
    return "Demo saved to " + path.string() + " (" + std::to_string(passes) + " passes), screen " + screenHash;
}

} // namespace hostcommon
