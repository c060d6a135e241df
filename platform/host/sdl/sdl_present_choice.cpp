// Whether the SDL host presents through its renderer or straight into the
// window's own pixels: decided once the renderer exists, by asking it (and,
// for OpenGL, the driver) whether it runs on the CPU.
#include <cstring>
#include <string>

#include "present_choice.h"
#include "sdl_host.h"

namespace sdlhost {

namespace {

// The GL_RENDERER string of the current OpenGL context ("llvmpipe (LLVM
// 15.0.6, 256 bits)", say); empty when there is none.
std::string CurrentGlRenderer() {
    if (!SDL_GL_GetCurrentContext()) return {};
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* text = getString ? getString(kGlRenderer) : nullptr;
    return text ? reinterpret_cast<const char*>(text) : "";
}

} // namespace

bool PresentInSoftware(hostcommon::PresentPath asked, SDL_Renderer* renderer, std::string& why) {
    if (asked == hostcommon::PresentPath::Software) {
        why = "QV_PRESENT=software";
        return true;
    }
    if (asked == hostcommon::PresentPath::Gpu) {
        why = "QV_PRESENT=gpu";
        return false;
    }
    if (!renderer) {
        why = "no renderer could be made";
        return true;
    }
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) {
        why = "the renderer does not say what it is";
        return false;
    }
    std::string gl = std::strncmp(info.name, "opengl", 6) == 0 ? CurrentGlRenderer() : "";
    why = std::string("renderer ") + info.name + (gl.empty() ? "" : " on " + gl);
    return hostcommon::RendersInSoftware(info.name, gl);
}

} // namespace sdlhost
