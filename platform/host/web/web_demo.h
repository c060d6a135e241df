// The web host's demos: the live game recorded from start-up by the demo
// layer (demo_layer.h) and saved with F9 as a download, and a demo the page
// hands over played instead of the page's input, with its pauses and
// progress. The page's entry starts a playback before the program runs.
#pragma once

#include <string>

namespace webhost {

// Called once by the page's entry, before WinMain: a demo the page left at
// `path` (removed then) is checked against the page's city2.bmp and, when
// it passes, played from start-up; a refused one is reported to the page,
// which says why, and the live game runs and records as usual.
void StartPlaybackIfAsked(const char* path);

// F9: hands the page the whole record so far (the page sees F9 between
// passes, after the frame on the canvas was drawn), with the hash of that
// frame, and says so on stderr. The page offers it as a download.
void SaveDemo();

// A pass of a playback begins: holds the program while the page pauses it.
void HoldPausedPlayback();

// The screen hash (screen_hash.h) of the frame last put on the canvas; the
// blank screen's before the first. Kept by web_display.cpp.
std::string ShownScreenHash();

} // namespace webhost
