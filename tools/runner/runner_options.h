// The command line of quorvanteledix-headless.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct RunnerOptions {
    long long frames = -1;     // -1: run until the program ends by itself
    std::string input;         // script file, "-" for standard input, empty for none
    std::string trace;         // trace file, "-" for standard output, empty for none
    uint32_t msPerFrame = 16;
    uint32_t startTick = 1000000;
    std::map<long long, std::string> shots; // pass (from 1; 0: before the first) -> PNG file
    bool screenHash = false;
    std::string demo; // demo file to replay, empty for none
    std::string checkSheet; // sheet to check instead of playing, empty for none
};

// Parses argv. False with `error` set on a usage error.
bool ParseOptions(int argc, char** argv, RunnerOptions& options, std::string& error);

// The usage text.
const char* RunnerUsage();
