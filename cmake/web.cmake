# The browser build's options and flags, configured by emcmake cmake
# (scripts/web drives it). Included before any target is made, so every
# object, the platform's and the game's among them, is built with them;
# cmake/web_targets.cmake then adds the browser build's targets.
#
# QV_WEB_SIMD builds with WebAssembly SIMD (the blitter's vector path);
# without it the portable loops are used, for browsers without SIMD.
option(QV_WEB_SIMD "Use WebAssembly SIMD" ON)

# Flags every object and link shares.
set(QV_WEB_FLAGS -O3)
if(QV_WEB_SIMD)
  # -msse2 maps the blitter's SSE2 intrinsics onto WebAssembly SIMD. Every
  # engine with SIMD also has bulk memory: memcpy and memset become single
  # instructions instead of calls out to JavaScript (one per blitted row).
  list(APPEND QV_WEB_FLAGS -msimd128 -msse2 -mbulk-memory)
endif()
add_compile_options(${QV_WEB_FLAGS})
add_link_options(${QV_WEB_FLAGS})
if(QV_WEB_SIMD)
  # emscripten's prebuilt C library is marked as built without bulk memory;
  # mixing it with objects that use it is sound on engines that have it.
  add_link_options(-Wl,--no-check-features)
endif()
# Win32 never hands out an address below 64 KB: such values stand for
# integer atoms and resource ids (a class name, say). WebAssembly places
# static data from 1 KB on; it starts at 64 KB here instead.
add_link_options(-sGLOBAL_BASE=65536)
