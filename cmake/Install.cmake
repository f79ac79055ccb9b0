# What `cmake --install` puts where (GNUInstallDirs; CMAKE_INSTALL_PREFIX and DESTDIR apply), and the
# Debian package that `cpack -G DEB` makes of the same files. Nothing installed refers to the build
# folder: the program finds its share folder relative to its own place (config_location.h).
include(GNUInstallDirs)

set(VARNEX_APP_ID org.varnex.Varnex)
set(VARNEX_VERSION 3.26c)
set(res ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS varnexw32 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${res}/varnexw32.ini ${res}/varnexw32.html DESTINATION ${CMAKE_INSTALL_DATADIR}/varnex)
install(FILES ${res}/${VARNEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${res}/${VARNEX_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${res}/${VARNEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${res}/varnexw32.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnex)
set(CPACK_PACKAGE_VERSION ${VARNEX_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnex developers")
set(CPACK_PACKAGE_CONTACT "Varnex developers <varnex@varnex.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "draw x/y graphs from plain-text data files")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Varnex draws x/y graphs from blocks of numeric columns with free text between
them: lines, splines, markers and error bars on linear or logarithmic axes,
with exact decimal tick labels. A graph reloads itself when its file changes.
Graphs go to the screen, the clipboard, a printer and SVG, PNG or PDF files,
also from the command line without a window.")
# The libraries the program links come from dpkg-shlibdeps; Qt's window-system plugins are loaded at
# run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
include(CPack)
