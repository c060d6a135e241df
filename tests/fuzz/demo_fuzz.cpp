// libFuzzer target: any bytes as a demo file. The reader must refuse or
// accept without reading outside the input or running away with memory,
// and what it accepts must write back to a file that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "demo_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hostcommon::Demo demo;
    std::string error;
    if (!hostcommon::ReadDemoFile(data, size, demo, error)) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    std::vector<uint8_t> body;
    uint32_t tick = 0;
    for (const hostcommon::DemoItem& item : demo.items) hostcommon::EncodeDemoItem(item, tick, body);
    std::vector<uint8_t> again = hostcommon::WriteDemoFile(demo.sheet, demo.passes, body);
    hostcommon::Demo reread;
    if (!hostcommon::ReadDemoFile(again.data(), again.size(), reread, error)) std::abort();
    if (!(reread.items == demo.items) || reread.passes != demo.passes || reread.sheet.hash != demo.sheet.hash)
        std::abort();
    return 0;
}
