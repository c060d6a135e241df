#include "present_choice.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace hostcommon {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

PresentPath ParsePresentPath(const char* value, std::string& problem) {
    problem.clear();
    if (!value) return PresentPath::Auto;
    std::string v = Lower(value);
    if (v.empty() || v == "auto") return PresentPath::Auto;
    if (v == "gpu") return PresentPath::Gpu;
    if (v == "software") return PresentPath::Software;
    problem = "QV_PRESENT=" + std::string(value) +
              " is not one of auto, gpu, software: the renderer decides";
    return PresentPath::Auto;
}

bool RendersInSoftware(std::string_view rendererName, std::string_view glRenderer) {
    if (Lower(rendererName) == "software") return true;
    static constexpr std::array<std::string_view, 5> kCpuRasterizers = {
        "llvmpipe", "softpipe", "swrast", "software rasterizer", "gdi generic"};
    std::string gl = Lower(glRenderer);
    return std::any_of(kCpuRasterizers.begin(), kCpuRasterizers.end(),
                       [&](std::string_view name) { return gl.find(name) != std::string::npos; });
}

const char* PresentPathName(PresentPath path) {
    switch (path) {
    case PresentPath::Gpu:
        return "gpu";
    case PresentPath::Software:
        return "software";
    case PresentPath::Auto:
        break;
    }
    return "auto";
}

} // namespace hostcommon
