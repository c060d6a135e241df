# Offline play for the page in ${QV_WEB_OUT}: the ship as the icons its
# manifest names (192 and 512 pixels, drawn by the native sheet generator),
# and, once every file is in the folder, their list with content hashes
# written into its sw.js (scripts/lib/precache.py, which scripts/web runs
# again on dist/web/). Included by web/CMakeLists.txt after its targets.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(QV_WEB_ICONS ${QV_WEB_OUT}/icon-192.png ${QV_WEB_OUT}/icon-512.png)
# sheetgen always writes a sheet as well; this copy is not the page's.
add_custom_command(OUTPUT ${QV_WEB_ICONS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
    COMMAND ${QV_SHEETGEN} ${CMAKE_BINARY_DIR}/icons/web-icons-sheet.bmp
        --icon 192,${QV_WEB_OUT}/icon-192.png --icon 512,${QV_WEB_OUT}/icon-512.png
    DEPENDS ${QV_SHEETGEN}
    COMMENT "Drawing the page's icons"
    VERBATIM)
add_custom_target(web_icons ALL DEPENDS ${QV_WEB_ICONS})

# The folder is also CMake's binary folder for web/: its own files are left
# out of the list. The stamp depends on everything the list holds, so any
# changed file rewrites it.
set(QV_PRECACHE_STAMP ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/precache.stamp)
add_custom_command(OUTPUT ${QV_PRECACHE_STAMP}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/lib/precache.py ${QV_WEB_OUT}
        --except CMakeFiles --except Makefile --except *.cmake --except *.ninja
    COMMAND ${CMAKE_COMMAND} -E touch ${QV_PRECACHE_STAMP}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/lib/precache.py quorvanteledix_web
        ${QV_PAGE_OUTPUTS} ${QV_WEB_OUT}/city2.bmp ${QV_WEB_ICONS}
    COMMENT "Listing the page's files in sw.js"
    VERBATIM)
add_custom_target(web_precache ALL DEPENDS ${QV_PRECACHE_STAMP})
add_dependencies(web_precache quorvanteledix_web web_page web_icons)
