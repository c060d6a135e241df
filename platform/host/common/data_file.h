// Where the program's data files are looked for: OpenFile opens the first
// one found, and the runner finds the city2.bmp a demo is checked against
// the same way, so both read the same file from any folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace hostcommon {

// The places to look for the data file `name` ('/' separated), in order:
// `name` as given (relative to the current folder), then, for a bare name,
// beside the running program, then in the installed data folder
// (../share/quorvanteledix/ from the program). A name with a folder in it,
// an empty one, or a program whose folder cannot be told gets only the
// first place.
std::vector<std::filesystem::path> DataFilePlaces(const std::string& name);

// The first place of DataFilePlaces(name) that holds a regular file, or an
// empty path when none does.
std::filesystem::path FindDataFile(const std::string& name);

} // namespace hostcommon
