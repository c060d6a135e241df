// The runner's input script: which keys are held during which passes, and
// which keys are pressed once before a pass.
//
//   # comment
//   COUNT KEYS      COUNT >= 1; KEYS is "-" or names joined by "+"
//
// Left, Right, Up, Down and Ctrl are held during each of the COUNT passes;
// P, Esc, Enter and F12 are pressed (key down, then key up) before the first
// of them, in the order written.
#pragma once

#include <istream>
#include <string>
#include <vector>

struct ScriptLine {
    long long count = 0;
    std::vector<int> held;    // virtual keys held during each pass
    std::vector<int> pressed; // virtual keys pressed before the first pass
};

struct Script {
    std::vector<ScriptLine> lines;
};

// Reads a script. On a malformed line returns false with `error` naming the
// line number and what is wrong.
bool ParseScript(std::istream& in, Script& script, std::string& error);
