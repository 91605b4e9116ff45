# Installing vorn2 as a desktop application, and its Debian package.
#   cmake --install BUILD [--prefix /usr]    the executable, the menu entry and the icons
#   cpack --config BUILD/CPackConfig.cmake   vorn2_<version>_<arch>.deb (scripts/package.sh)
include(GNUInstallDirs)

install(TARGETS vorn2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/vorn2.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(VORN_ICON_THEME ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/vorn2-16.png
        DESTINATION ${VORN_ICON_THEME}/16x16/apps RENAME vorn2.png)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/vorn2-48.png
        DESTINATION ${VORN_ICON_THEME}/48x48/apps RENAME vorn2.png)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/vorn2.svg
        DESTINATION ${VORN_ICON_THEME}/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorn2)
set(CPACK_PACKAGE_VENDOR "vorn2")
set(CPACK_PACKAGE_CONTACT "vorn2 maintainers <maintainers@vorn2.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop text marquee")
set(CPACK_PACKAGE_DESCRIPTION
    "A thin strip across the bottom of the desktop scrolls one line of text from right to\n\
left without end. The text comes from a local file or a web page, cleaned into one line.\n\
A small control panel starts, stops and pauses the scroll, sets its speed and timing,\n\
picks the strip's font and colours and keeps it above other windows.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the executable links (Qt 6 Widgets, Gui with its xcb platform plugin, Network,
# Core) are found by dpkg-shlibdeps. What Qt loads at run time is named here: its TLS backend
# for https (the OpenSSL plugin, shipped in libqt6network6, opens libssl3) and the
# certificates it checks servers against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6network6, libssl3, ca-certificates")
# The strip's standard font: the Japanese text it is made for needs a Japanese face.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")
include(CPack)
