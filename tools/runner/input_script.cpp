// Parsing the runner's input script.
#include "input_script.h"

#include <cctype>
#include <sstream>

#include <windows.h>

namespace {

struct KeyName {
    const char* name;
    int vk;
    bool held;
};

const KeyName Keys[] = {
    {"Left", VK_LEFT, true}, {"Right", VK_RIGHT, true}, {"Up", VK_UP, true},       {"Down", VK_DOWN, true},
    {"Ctrl", VK_CONTROL, true}, {"P", 'P', false},      {"Esc", VK_ESCAPE, false}, {"Enter", VK_RETURN, false},
    {"F12", VK_F12, false},
};

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) begin++;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) end--;
    return text.substr(begin, end - begin);
}

bool ParseCount(const std::string& word, long long& count) {
    if (word.empty() || word.size() > 12) return false;
    for (char c : word)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    count = std::stoll(word);
    return count >= 1;
}

bool ParseKeys(const std::string& word, ScriptLine& line, std::string& why) {
    if (word == "-") return true;
    std::stringstream names(word);
    std::string name;
    while (std::getline(names, name, '+')) {
        const KeyName* found = nullptr;
        for (const KeyName& key : Keys)
            if (name == key.name) found = &key;
        if (!found) {
            why = "unknown key \"" + name + "\" (keys: Left Right Up Down Ctrl P Esc Enter F12)";
            return false;
        }
        (found->held ? line.held : line.pressed).push_back(found->vk);
    }
    if (word.back() == '+' || word.front() == '+') {
        why = "empty key name in \"" + word + "\"";
        return false;
    }
    return true;
}

} // namespace

bool ParseScript(std::istream& in, Script& script, std::string& error) {
    std::string raw;
    for (int number = 1; std::getline(in, raw); number++) {
        std::string text = Trim(raw);
        if (text.empty() || text[0] == '#') continue;
        std::stringstream words(text);
        std::string countWord, keysWord, extra;
        words >> countWord >> keysWord >> extra;
        ScriptLine line;
        std::string why;
        if (keysWord.empty() || !extra.empty())
            why = "expected \"COUNT KEYS\"";
        else if (!ParseCount(countWord, line.count))
            why = "COUNT must be a whole number of at least 1, not \"" + countWord + "\"";
        else
            ParseKeys(keysWord, line, why);
        if (!why.empty()) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        script.lines.push_back(line);
    }
    return true;
}
