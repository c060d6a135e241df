// Finding and reading the window icon's pixels.
#include "sdl_icon.h"

#include <fstream>
#include <system_error>

namespace sdlhost {

namespace fs = std::filesystem;

fs::path ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

std::optional<std::vector<uint8_t>> ReadIconFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    // One byte more than an icon, to tell a longer file from a proper one.
    std::vector<uint8_t> pixels(kIconBytes + 1);
    file.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    if (file.gcount() != static_cast<std::streamsize>(kIconBytes)) return std::nullopt;
    pixels.resize(kIconBytes);
    return pixels;
}

std::optional<std::vector<uint8_t>> FindIcon(const fs::path& exeFolder) {
    if (exeFolder.empty()) return std::nullopt;
    for (const fs::path& folder : {exeFolder, exeFolder / ".." / "share" / "quorvanteledix"})
        if (auto pixels = ReadIconFile(folder / kIconFileName)) return pixels;
    return std::nullopt;
}

} // namespace sdlhost
