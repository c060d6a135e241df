// The web host's demos: the live game recorded from start-up and saved with
// F9 as a download, and a demo the page hands over played instead of the
// page's input (web_playback.h). The rest of the host reports to it at each
// point where the program learns something from the host; the page's entry
// starts a playback before the program runs.
#pragma once

#include <cstdint>
#include <string>

namespace hostcommon {
class DemoRecorder; // demo_recorder.h
}

namespace webhost {

class Playback; // web_playback.h

// Called once by the page's entry, before WinMain: a demo the page left at
// `path` (removed then) is checked against the page's city2.bmp and, when
// it passes, played from start-up; a refused one is reported to the page,
// which says why, and the live game runs and records as usual.
void StartPlaybackIfAsked(const char* path);

// The demo being played, or null in a live game.
Playback* Playing();
// The live game's record, or null during a playback.
hostcommon::DemoRecorder* Recording();

// GetTickCount's value: `own` (recorded) in a live game, the recorded one
// in a playback.
uint32_t Tick(uint32_t own);
// Any other answer the host gives the program, the same way.
int32_t Answer(int32_t own);
inline bool Answer(bool own) {
    return Answer(int32_t{own ? 1 : 0}) != 0;
}

// F9: hands the page the whole record so far (the page sees F9 between
// passes, after the frame on the canvas was drawn), with the hash of that
// frame, and says so on stderr. The page offers it as a download.
void SaveDemo();

// Playback only. A pass begins: holds the program while the page pauses
// the playback, then queues the pass and tells the page how far it is.
void PlaybackPump();
// GetMessageA waits: queues what woke the live program.
void PlaybackWait();

// The screen hash (screen_hash.h) of the frame last put on the canvas; the
// blank screen's before the first. Kept by web_display.cpp.
std::string ShownScreenHash();

} // namespace webhost
