# Installation and the Debian package. `cmake --install` puts the game and
# the headless runner in bin/, the sprite sheet and the window icon in
# share/quorvanteledix/ (where the game looks after its own folder), a
# desktop entry in share/applications/ and the icon in share/icons/hicolor/.
include(GNUInstallDirs)

if(TARGET quorvanteledix)
    install(TARGETS quorvanteledix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET quorvanteledix-headless)
    install(TARGETS quorvanteledix-headless RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(DEFINED QV_CITY2_BMP)
    install(FILES ${QV_CITY2_BMP} ${QV_ICON_RGBA} DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvanteledix)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/quorvanteledix.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${QV_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
endif()

set(CPACK_PACKAGE_NAME quorvanteledix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Side-view space shooter over a city at night")
set(CPACK_PACKAGE_DESCRIPTION
    "A small side-view space shooter for a 640 x 480 8-bit screen: steer your ship over a\n city at night, shoot the enemies coming in from both edges and the Boss that patrols\n its row, and collect shield, bomb and extra-life bonuses.")
set(CPACK_PACKAGE_CONTACT "Quorvanteledix developers <dev@quorvanteledix.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvanteledix developers <dev@quorvanteledix.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # quorvanteledix_<version>_<arch>.deb
# The dependencies are the runtime libraries the executables link (SDL2, libpng).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR DEB)
include(CPack)
