// Fault injection at the API boundary: each API entry point asks whether a
// test made it fail. The SDL host never injects, so in play this is one call.
#pragma once

#include <cstdint>

#include "host.h"

namespace platform {

// True when `api` must fail now; *code receives the injected code.
inline bool InjectedFailure(const char* api, int32_t* code) { return host::TakeInjectedFailure(api, code); }

// As above, for APIs whose failure has no code to report.
inline bool InjectedFailure(const char* api) {
    int32_t unused = 0;
    return host::TakeInjectedFailure(api, &unused);
}

} // namespace platform
