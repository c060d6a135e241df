// The window icon: the ship, as raw 64 x 64 RGBA pixels that the build
// writes beside the executables and installs in share/quorvanteledix/.
// Nothing here touches SDL: the host makes the icon of what this reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace sdlhost {

constexpr int kIconSize = 64;
// R, G, B, A per pixel, rows top first.
constexpr size_t kIconBytes = size_t{kIconSize} * kIconSize * 4;
constexpr const char* kIconFileName = "quorvanteledix-icon.rgba";

// The folder of the running executable (from /proc/self/exe); empty when
// it cannot be told.
std::filesystem::path ExecutableFolder();

// The icon's pixels from `path`: exactly kIconBytes, or nothing when the
// file is missing, unreadable or of any other size.
std::optional<std::vector<uint8_t>> ReadIconFile(const std::filesystem::path& path);

// The icon for an executable in `exeFolder`: the icon file beside it, else
// the one in ../share/quorvanteledix/ from it; nothing when neither is a
// proper icon file (the window then keeps the desktop's default icon).
std::optional<std::vector<uint8_t>> FindIcon(const std::filesystem::path& exeFolder);

} // namespace sdlhost
