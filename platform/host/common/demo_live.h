// A live host's demo: the record kept from start-up, the data file it is
// tied to, and saving it. The demo layer (demo_layer.h) keeps one where
// a person plays; the host saves it on the player's key (or at the end).
// Nothing here touches a host library; it is checked on its own.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_recorder.h"
#include "key_table.h"

namespace hostcommon {

class LiveDemo final {
  public:
    // Starts recording the changes of `keys`, which must outlive this.
    explicit LiveDemo(host::KeyTable& keys) { keys.SetObserver(&recorder_); }

    DemoRecorder& Record() { return recorder_; }

    // The program opened `path`: the first file opened is the data the
    // demo is tied to, and is hashed now. A file that cannot be read leaves
    // the demo tied to an empty sheet.
    void NoteFileOpened(const char* path);

    bool File(DemoRecorder::Extent extent, std::vector<uint8_t>& file, uint32_t& passes,
              std::string& error) const {
        return recorder_.File(sheet_, extent, file, passes, error);
    }

  private:
    DemoRecorder recorder_;
    DemoSheet sheet_;
    bool sheetKnown_ = false;
};

// A file name for something saved at local time `when`:
// quorvanteledix-YYYY-MM-DD-HHMMSS plus `extension`, with -N before the
// extension for the Nth attempt (N >= 2) when the earlier names are taken.
std::string DatedFileName(const std::tm& when, int attempt, const std::string& extension);

// The saved demo's file name for local time `when`:
// quorvanteledix-YYYY-MM-DD-HHMMSS.demo, with -N before ".demo" for the
// Nth attempt (N >= 2) when the earlier names are taken.
std::string DemoFileName(const std::tm& when, int attempt);

struct SavedDemo {
    bool ok = false;
    std::filesystem::path path;
    std::string error;
};

// Writes `bytes` as a new file in `folder` under the first free name for
// `when`; an existing file is never overwritten, and a failed write leaves
// no file behind.
SavedDemo SaveDemoIn(const std::filesystem::path& folder, const std::tm& when,
                     const std::vector<uint8_t>& bytes);
// Writes `bytes` to `path`, replacing what was there.
SavedDemo SaveDemoAs(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// What the host says on stderr of a saved demo:
// "Demo saved to PATH (N passes), screen HASH".
std::string DemoSavedLine(const std::filesystem::path& path, uint32_t passes, const std::string& screenHash);

} // namespace hostcommon
