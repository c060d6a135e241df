// Which way a host shows its frames: through the GPU (a texture uploaded,
// then a scaled draw) or, where the renderer itself runs on the CPU, by
// converting and scaling into the window's own pixels in one pass
// (scale_convert.h). Decided from what the renderer reports, unless the
// person playing says otherwise in QV_PRESENT.
#pragma once

#include <string>
#include <string_view>

namespace hostcommon {

enum class PresentPath { Auto, Gpu, Software };

// QV_PRESENT's value: unset, empty or "auto" let the renderer decide;
// "gpu" and "software" force a path (case does not matter). Anything else
// counts as "auto" and sets `problem` to a line saying so.
PresentPath ParsePresentPath(const char* value, std::string& problem);

// The renderer draws with the CPU: SDL's "software" renderer, or an OpenGL
// one whose GL_RENDERER string names a rasterizer that runs on the CPU
// (Mesa's llvmpipe, softpipe, swrast; Microsoft's GDI Generic).
bool RendersInSoftware(std::string_view rendererName, std::string_view glRenderer);

const char* PresentPathName(PresentPath path);

} // namespace hostcommon
