// Parsing the runner's command line.
#include "runner_options.h"

#include <cctype>

namespace {

bool ParseNumber(const std::string& text, unsigned long long limit, unsigned long long& value) {
    if (text.empty() || text.size() > 19) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = std::stoull(text);
    return value <= limit;
}

bool ParseShot(const std::string& text, RunnerOptions& options) {
    size_t equals = text.find('=');
    if (equals == std::string::npos || equals + 1 == text.size()) return false;
    unsigned long long pass = 0;
    if (!ParseNumber(text.substr(0, equals), 1ULL << 62, pass)) return false;
    options.shots[static_cast<long long>(pass)] = text.substr(equals + 1);
    return true;
}

} // namespace

const char* RunnerUsage() {
    return "usage: quorvanteledix-headless [--frames N] [--input FILE|-] [--trace FILE|-]\n"
           "                              [--ms-per-frame MS] [--start-tick T]\n"
           "                              [--shot N=FILE.png]... [--screen-hash]\n"
           "       quorvanteledix-headless --demo FILE [--frames N] [--trace FILE|-]\n"
           "                              [--shot N=FILE.png]... [--screen-hash]\n"
           "       quorvanteledix-headless --check-sheet FILE\n";
}

bool ParseOptions(int argc, char** argv, RunnerOptions& options, std::string& error) {
    // Checking a sheet plays nothing: it takes no other option.
    if (argc >= 2 && std::string(argv[1]) == "--check-sheet") {
        if (argc != 3 || !*argv[2]) {
            error = "--check-sheet takes one file and no other option";
            return false;
        }
        options.checkSheet = argv[2];
        return true;
    }
    bool scripted = false; // an option that only a scripted game takes
    for (int i = 1; i < argc; i++) {
        std::string option = argv[i];
        if (option == "--screen-hash") {
            options.screenHash = true;
            continue;
        }
        if (option != "--frames" && option != "--input" && option != "--trace" && option != "--ms-per-frame" &&
            option != "--start-tick" && option != "--shot" && option != "--demo") {
            error = option == "--check-sheet" ? "--check-sheet takes one file and no other option"
                                              : "unknown option \"" + option + "\"";
            return false;
        }
        if (i + 1 >= argc) {
            error = option + " needs a value";
            return false;
        }
        std::string value = argv[++i];
        unsigned long long number = 0;
        bool ok = true;
        if (option == "--frames") {
            ok = ParseNumber(value, 1ULL << 62, number);
            options.frames = static_cast<long long>(number);
        } else if (option == "--ms-per-frame" || option == "--start-tick") {
            ok = ParseNumber(value, 0xFFFFFFFFULL, number);
            (option == "--ms-per-frame" ? options.msPerFrame : options.startTick) = static_cast<uint32_t>(number);
        } else if (option == "--shot") {
            ok = ParseShot(value, options);
        } else if (option == "--demo") {
            ok = !value.empty();
            options.demo = value;
        } else {
            ok = !value.empty();
            (option == "--input" ? options.input : options.trace) = value;
        }
        if (!ok) {
            error = "bad value \"" + value + "\" for " + option;
            return false;
        }
        scripted = scripted || option == "--input" || option == "--ms-per-frame" || option == "--start-tick";
    }
    if (!options.demo.empty() && scripted) {
        error = "--demo brings its own keys and clock: --input, --ms-per-frame and --start-tick do not go with it";
        return false;
    }
    return true;
}
