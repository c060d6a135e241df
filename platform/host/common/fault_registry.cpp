// The fault registry's state: injected failures by API name, busy blitter
// calls left, and the surface-loss count.
#include "fault_registry.h"

#include <functional>
#include <map>
#include <string_view>

namespace hostcommon::faults {

namespace {

struct Failure {
    int32_t code;
    int skip;
    int count; // < 0: forever
};

struct Registry {
    std::map<std::string, Failure, std::less<>> failures;
    int stillDrawing = 0;
    uint32_t lossCount = 0;
};

Registry& R() {
    static Registry registry;
    return registry;
}

} // namespace

void Inject(const std::string& api, int32_t code, int count, int skip) {
    R().failures[api] = Failure{code, skip, count};
}

void SetStillDrawing(int n) {
    R().stillDrawing = n;
}

void LoseAllSurfaces() {
    R().lossCount++;
}

void Clear() {
    R().failures.clear();
    R().stillDrawing = 0;
}

bool TakeFailure(const char* api, int32_t* code) {
    Registry& r = R();
    if (r.failures.empty()) return false;
    auto it = r.failures.find(std::string_view(api));
    if (it == r.failures.end()) return false;
    Failure& f = it->second;
    if (f.skip > 0) {
        f.skip--;
        return false;
    }
    *code = f.code;
    if (f.count > 0 && --f.count == 0) r.failures.erase(it);
    return true;
}

bool TakeStillDrawing() {
    Registry& r = R();
    if (r.stillDrawing <= 0) return false;
    r.stillDrawing--;
    return true;
}

uint32_t SurfaceLossCount() {
    return R().lossCount;
}

} // namespace hostcommon::faults
