// xxh3sum FILE: prints the XXH3-64 of a file's bytes as 16 hex digits, the
// way the runner's "screen" hash is printed. The interface test uses it to
// hash the pixels and palette it decoded from a picture.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "demo_format.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: xxh3sum FILE\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "xxh3sum: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::printf("%s\n", hostcommon::HashHex(hostcommon::ContentHash(bytes.data(), bytes.size())).c_str());
    return 0;
}
