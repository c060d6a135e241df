// quorvanteledix-headless: runs the program's own WinMain on the headless
// host, feeding it scripted keys and a scripted clock pass by pass (or a
// demo's recorded ones), and writing a trace line (and pictures) after
// each pass.
//
// A pass is one idle pass of the message loop: one call of UpdateFrame. The
// runner hears of it through the host: the loop going idle while the program
// is active starts a pass, and the next time the message functions take the
// host's events the pass is over.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "demo_file.h"
#include "host_core.h"
#include "game_state.h"
#include "headless.h"
#include "input_script.h"
#include "runner_options.h"
#include "sheet_check.h"
#include "trace.h"
#include "winmain.h"

namespace {

const int HeldKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL};

class Runner {
  public:
    Runner(RunnerOptions options, Script script, std::ostream* trace, const hostcommon::DemoPlayer* demo)
        : options_(std::move(options)), script_(std::move(script)), trace_(trace), demo_(demo) {}

    // Idle peek: deliver the next line's key presses first (the loop takes
    // them before going idle), else start the next pass. A demo brings its
    // keys and clock itself.
    void OnIdle() {
        if (!AppActive) return; // no frame follows
        if (demo_) {
            if (options_.frames >= 0 && passes_ >= options_.frames) hostcommon::Demos().Stop();
            if (passes_ == 0) WriteShot(0);
            passRunning_ = !demo_->Ended();
            return;
        }
        if (options_.frames >= 0 && passes_ >= options_.frames) {
            if (!quitSent_) headless::PressKey(VK_ESCAPE);
            quitSent_ = true;
            HoldKeys(nullptr);
            return;
        }
        const ScriptLine* line = CurrentLine();
        if (line && !pressesSent_) {
            pressesSent_ = true;
            for (int vk : line->pressed) headless::PressKey(vk);
            if (!line->pressed.empty()) return;
        }
        if (passes_ == 0) WriteShot(0); // the screen start-up left
        headless::SetTickCount(Tick(passes_));
        HoldKeys(line);
        passRunning_ = true;
    }

    // The message functions are about to take events: a running pass is
    // over (a demo's next pass is queued after this).
    void OnPump() {
        if (!passRunning_) return;
        passRunning_ = false;
        long long frame = ++passes_;
        const headless::Frame& screen = headless::Screen();
        if (trace_) {
            std::string hash = options_.screenHash ? ScreenHash(screen) : std::string();
            uint32_t tick = demo_ ? demo_->LastTick() : Tick(frame - 1);
            *trace_ << TraceLine(frame, GameState, tick, options_.screenHash ? &hash : nullptr) << '\n';
        }
        WriteShot(frame);
        AdvanceScript();
    }

    void WriteShot(long long pass) {
        auto shot = options_.shots.find(pass);
        if (shot == options_.shots.end()) return;
        if (!WriteScreenPng(headless::Screen(), shot->second))
            std::fprintf(stderr, "quorvanteledix-headless: cannot write %s\n", shot->second.c_str());
        options_.shots.erase(shot);
    }
    uint32_t Tick(long long pass) const {
        return options_.startTick + static_cast<uint32_t>(static_cast<unsigned long long>(pass) * options_.msPerFrame);
    }
    const ScriptLine* CurrentLine() const {
        return line_ < script_.lines.size() ? &script_.lines[line_] : nullptr;
    }
    void AdvanceScript() {
        const ScriptLine* line = CurrentLine();
        if (!line || ++passesInLine_ < line->count) return;
        line_++;
        passesInLine_ = 0;
        pressesSent_ = false;
    }
    // What GetAsyncKeyState reports during the pass: the line's held keys.
    static void HoldKeys(const ScriptLine* line) {
        for (int vk : HeldKeys) {
            bool held = false;
            if (line)
                for (int h : line->held) held = held || h == vk;
            if (held != host::Keys().IsDown(vk)) headless::SetKeyDown(vk, held);
        }
    }

    RunnerOptions options_;
    Script script_;
    std::ostream* trace_;
    long long passes_ = 0;
    size_t line_ = 0;
    long long passesInLine_ = 0;
    bool pressesSent_ = false;
    bool passRunning_ = false;
    bool quitSent_ = false;
    const hostcommon::DemoPlayer* demo_; // the playback, or null
};

int UsageError(const std::string& message) {
    std::fprintf(stderr, "quorvanteledix-headless: %s\n%s", message.c_str(), RunnerUsage());
    return 2;
}

bool ReadScript(const std::string& name, Script& script, std::string& error) {
    if (name.empty()) return true;
    if (name == "-") return ParseScript(std::cin, script, error) || (error = "standard input: " + error, false);
    std::ifstream file(name);
    if (!file) {
        error = "cannot read input script " + name;
        return false;
    }
    if (!ParseScript(file, script, error)) {
        error = name + ": " + error;
        return false;
    }
    return true;
}

// Prints every problem of the sheet `name` and answers its verdict: 0 the
// game can use it, 1 it can but something looks wrong, 2 it cannot. A bare
// name is looked for in the current folder only, so that a sheet installed
// with the game does not stand in for a missing one.
int CheckSheetFile(std::string name) {
    if (name.find('/') == std::string::npos && !std::filesystem::exists(name)) name = "./" + name;
    SheetReport report = CheckSheet(name.c_str());
    static const char* const kVerdicts[] = {
        "the game can use this sheet.",
        "the game can use this sheet, but:",
        "the game cannot use this sheet:",
    };
    std::printf("%s: %s\n", name.c_str(), kVerdicts[report.verdict]);
    for (const std::string& problem : report.problems) std::printf("- %s\n", problem.c_str());
    return report.verdict;
}

} // namespace

int main(int argc, char** argv) {
    RunnerOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) return UsageError(error);
    if (!options.checkSheet.empty()) return CheckSheetFile(options.checkSheet);
    Script script;
    if (!ReadScript(options.input, script, error)) return UsageError(error);
    // A demo plays from start-up: its ticks, events, key changes and answers
    // are the program's input (see demo_layer.h).
    const hostcommon::DemoPlayer* demo = nullptr;
    if (!options.demo.empty()) {
        hostcommon::Demo recorded;
        if (!LoadDemo(options.demo, recorded, error)) {
            std::fprintf(stderr, "quorvanteledix-headless: %s\n", error.c_str());
            return 2;
        }
        hostcommon::Demos().Play(recorded);
        demo = hostcommon::Demos().Player();
    }

    std::unique_ptr<std::ofstream> traceFile;
    std::ostream* trace = nullptr;
    if (options.trace == "-") {
        trace = &std::cout;
    } else if (!options.trace.empty()) {
        traceFile = std::make_unique<std::ofstream>(options.trace);
        if (!*traceFile) return UsageError("cannot write trace file " + options.trace);
        trace = traceFile.get();
    }

    headless::SetTickCount(options.startTick);
    Runner runner(options, std::move(script), trace, demo);
    headless::SetIdleHook([&runner] { runner.OnIdle(); });
    headless::SetPumpHook([&runner] { runner.OnPump(); });
    // Minimized with F12, the program waits for the user to come back: do
    // so. (A demo's program waits as the live one did, until the recorded event.)
    headless::SetWaitHook([] { headless::Activate(); });
    int result = WinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    if (trace) trace->flush();
    return result;
}
