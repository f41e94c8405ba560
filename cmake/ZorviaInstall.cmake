# Installing the game box and packaging it as a .deb.
#
# Everything the program loads sits in one program folder
# (<prefix>/lib/zorvia): the executable and the SQLite driver under the name
# the program loads. <prefix>/bin/zorvia links to the executable. An
# installed program folder is read-only for its users, so the game database
# and the flash folder go to each user's data folder, created on first start.
set(ZORVIA_INSTALL_DIR "lib/zorvia" CACHE STRING "Program folder below the install prefix")

install(TARGETS zorvia RUNTIME DESTINATION ${ZORVIA_INSTALL_DIR})
install(FILES ${ZORVIA_BIN_DIR}/iInter.dll DESTINATION ${ZORVIA_INSTALL_DIR}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# The Flash player that the game box serves to its pages (target zorvia_player).
install(DIRECTORY ${ZORVIA_PLAYER_FOLDER}/ DESTINATION ${ZORVIA_INSTALL_DIR}/player
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# bin/zorvia -> ../lib/zorvia/zorvia, relative so that it holds under any
# prefix and inside the package.
file(RELATIVE_PATH _zorvia_link_target ${CMAKE_INSTALL_PREFIX}/bin
     ${CMAKE_INSTALL_PREFIX}/${ZORVIA_INSTALL_DIR}/zorvia)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
file(CREATE_LINK ${_zorvia_link_target} ${CMAKE_BINARY_DIR}/install-links/zorvia SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install-links/zorvia DESTINATION bin)

install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/zorvia.desktop DESTINATION share/applications)
install(DIRECTORY ${ZORVIA_ICON_TREE}/ DESTINATION share/icons/hicolor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvia)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zorvia")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zorvia游戏盒子 - desktop game box for a portal of Flash mini-games")
set(CPACK_PACKAGE_DESCRIPTION
    "Plays the portal's Flash mini-games in tabs, keeps downloaded games and favourites.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zorvia <zorvia@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Libraries the executable links come from dpkg-shlibdeps; what it loads
# otherwise is named here: Qt's Chinese texts and a font with Chinese glyphs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-noto-cjk")
include(CPack)
