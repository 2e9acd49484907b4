# Installation and the Debian package.
#   cmake --install build --prefix /usr      bin/, share/orvalix/, desktop files,
#                                            man pages, the command line's bash completion
#   cd build && cpack -G DEB                 orvalix_<version>_<arch>.deb
# Installed layout: the executables in bin/, translations and images in
# share/orvalix/ (the application falls back to them when its working
# directory has no translations/ or image/ folder), the style sheet is
# compiled into the executable.
include(GNUInstallDirs)

set(ORVALIX_APP_ID io.orvalix.Orvalix)
set(ORVALIX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/orvalix)

install(TARGETS orvalix orvalix-unit orvalix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${ORVALIX_RUN_DIR}/translations/
    DESTINATION ${ORVALIX_DATA_DIR}/translations
    FILES_MATCHING PATTERN "*.qm" PATTERN "language.dat")
install(FILES
    ${PROJECT_SOURCE_DIR}/src/ui/resources/images/app.ico
    ${PROJECT_SOURCE_DIR}/src/ui/resources/images/logo.png
    DESTINATION ${ORVALIX_DATA_DIR}/image)

install(FILES ${PROJECT_SOURCE_DIR}/dist/linux/${ORVALIX_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/ui/resources/images/app.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
    RENAME ${ORVALIX_APP_ID}.png)
configure_file(${PROJECT_SOURCE_DIR}/dist/linux/${ORVALIX_APP_ID}.metainfo.xml
    ${CMAKE_BINARY_DIR}/${ORVALIX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${ORVALIX_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/docs/orvalix.1 ${PROJECT_SOURCE_DIR}/docs/orvalix-unit.1
    ${PROJECT_SOURCE_DIR}/docs/orvalix-cli.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The command line: its completion where bash-completion looks it up by the
# program's name, and the parameter table the man page points to.
install(FILES ${PROJECT_SOURCE_DIR}/dist/completion/orvalix-cli.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME orvalix-cli)
install(FILES ${PROJECT_SOURCE_DIR}/docs/cli.md
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvalix)

set(CPACK_PACKAGE_NAME orvalix)
set(CPACK_PACKAGE_VENDOR "Orvalix")
set(CPACK_PACKAGE_CONTACT "Orvalix developers <dev@orvalix.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Control application for networked loudspeaker-management DSP units")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# dpkg-shlibdeps adds the libraries the executables link (Qt core, gui,
# widgets, network, sql, the C/C++ runtime, with the versions actually used);
# the SQLite driver is a plugin loaded at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5widgets5 (>= 5.12), libqt5network5 (>= 5.12), libqt5sql5-sqlite (>= 5.12)")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese translation needs a font with Han glyphs; Debian installs none
# by default, and without one every Chinese text is a row of boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei")
set(CPACK_STRIP_FILES ON)
include(CPack)
