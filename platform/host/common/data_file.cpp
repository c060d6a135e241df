// The search order of data files. (Windows looks beside the program first;
// here the current folder wins, so that a file where the program is started
// overrides the one installed with it.)
#include "data_file.h"

#include <system_error>

namespace fs = std::filesystem;

namespace hostcommon {

namespace {

// The folder of the running program, empty when it cannot be told.
fs::path ProgramFolder() {
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

} // namespace

std::vector<fs::path> DataFilePlaces(const std::string& name) {
    std::vector<fs::path> places{fs::path(name)};
    bool bare = !name.empty() && name.find('/') == std::string::npos;
    fs::path folder = bare ? ProgramFolder() : fs::path();
    if (folder.empty()) return places;
    places.push_back(folder / name);
    places.push_back(folder / ".." / "share" / "quorvanteledix" / name);
    return places;
}

fs::path FindDataFile(const std::string& name) {
    for (const fs::path& place : DataFilePlaces(name)) {
        std::error_code error;
        if (fs::is_regular_file(place, error)) return place;
    }
    return {};
}

} // namespace hostcommon
