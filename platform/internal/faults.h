// Fault injection at the API boundary: each API entry point asks the fault
// registry whether a test made it fail. Only the headless host's test
// controls fill the registry; with it empty (SDL, web) this is one test.
#pragma once

#include <cstdint>

#include "fault_registry.h"

namespace platform {

// True when `api` must fail now; *code receives the injected code.
inline bool InjectedFailure(const char* api, int32_t* code) {
    return hostcommon::faults::TakeFailure(api, code);
}

// As above, for APIs whose failure has no code to report.
inline bool InjectedFailure(const char* api) {
    int32_t unused = 0;
    return hostcommon::faults::TakeFailure(api, &unused);
}

} // namespace platform
