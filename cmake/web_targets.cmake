# The browser build's targets: the game on the web host as the page's
# WebAssembly, the headless runner for Node, and the tests that run them.
# city2.bmp comes from the native sheet generator given in QV_SHEETGEN.
add_subdirectory(tools/sheetgen)
add_subdirectory(tools/runner)
add_subdirectory(web)

if(QV_TESTS)
  enable_testing()
  add_subdirectory(tests/wasm)
  # The page in a real browser, once: it serves dist/web/, where both
  # builds' programs are.
  if(QV_WEB_SIMD)
    add_subdirectory(tests/browser)
  endif()
endif()
