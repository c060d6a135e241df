// The check a demo passes before the page plays it: refused, saying why,
// when it is not sound or was played with another city2.bmp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo_format.h"
#include "demo_recorder.h"
#include "web_demo_check.h"

namespace {

using hostcommon::Demo;
using hostcommon::DemoRecorder;

std::vector<uint8_t> DemoFile(const hostcommon::DemoSheet& sheet) {
    DemoRecorder record;
    record.Pump();
    record.Tick(16);
    std::vector<uint8_t> file;
    uint32_t passes = 0;
    std::string error;
    record.File(sheet, DemoRecorder::Extent::Everything, file, passes, error);
    return file;
}

TEST(WebDemoCheck, RefusesWhatCannotBePlayedHereSayingWhy) {
    const std::vector<uint8_t> sheet(1000, 0x5A);
    const std::vector<uint8_t> other(1000, 0x5B);
    const hostcommon::DemoSheet here{hostcommon::ContentHash(sheet.data(), sheet.size()), 1000};
    const hostcommon::DemoSheet there{hostcommon::ContentHash(other.data(), other.size()), 1000};
    const std::string hereHash = hostcommon::HashHex(here.hash), thereHash = hostcommon::HashHex(there.hash);
    std::vector<uint8_t> good = DemoFile(here);
    std::vector<uint8_t> cut(good.begin(), good.end() - 1);
    std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};

    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        const std::vector<uint8_t>* sheet;
        std::vector<std::string> said; // empty: played
    } cases[] = {
        {"a demo of this sheet", good, &sheet, {}},
        {"a demo of another sheet", DemoFile(there), &sheet,
         {"played with a city2.bmp of hash " + thereHash + " (1000 bytes)",
          "the sheet this page plays with has hash " + hereHash + " (1000 bytes)"}},
        {"the same hash, another size", DemoFile({here.hash, 999}), &sheet, {"(999 bytes)", "(1000 bytes)"}},
        {"a demo cut short", cut, &sheet, {"not a demo this page can play", "cut short"}},
        {"not a demo at all", text, &sheet, {"not a demo file"}},
        {"a page without its sheet", good, nullptr, {"no city2.bmp"}},
    };
    for (const Case& c : cases) {
        Demo demo;
        std::string error;
        bool ok = webhost::CheckDemo(c.file.data(), c.file.size(), c.sheet ? c.sheet->data() : nullptr,
                                     c.sheet ? c.sheet->size() : 0, demo, error);
        EXPECT_EQ(ok, c.said.empty()) << c.what << ": " << error;
        for (const std::string& part : c.said) EXPECT_NE(error.find(part), std::string::npos) << c.what << ": " << error;
        if (ok) {
            EXPECT_EQ(demo.passes, 1u) << c.what;
        }
    }
}

} // namespace
