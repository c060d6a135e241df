// What the page asks of a sprite sheet the player chose before it restarts
// the game with it: the program's own check of the file (CheckSheet), as
// one string the page splits into lines. Built into the page's program only.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "sheet_check.h"

// The page writes the sheet to /candidate.bmp and asks whether the game
// can use it, while the program runs. Returns the verdict's digit (0 good,
// 1 usable but doubtful, 2 unusable), then each problem the check found on
// a line of its own, naming the file by that path. The file is removed;
// the string stays valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* qv_sheet_check() {
    static std::string answer;
    SheetReport report = CheckSheet("/candidate.bmp");
    std::remove("/candidate.bmp");
    answer = std::to_string(static_cast<int>(report.verdict));
    for (const std::string& problem : report.problems) {
        answer += '\n';
        // A line break inside a sentence would read as two problems.
        for (char c : problem) answer += c == '\n' || c == '\r' ? ' ' : c;
    }
    return answer.c_str();
}
