# Installs the program where a Linux desktop finds it, and packs a .deb.
include(GNUInstallDirs)

target_compile_definitions(ravelon_platform PRIVATE
  RAVELON_APP_NAME="Ravelon" RAVELON_APP_VERSION="${PROJECT_VERSION}" RAVELON_DESKTOP_ID="org.ravelon.Ravelon")

install(TARGETS ravelon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/org.ravelon.Ravelon.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/org.ravelon.Ravelon.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/ravelon.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME org.ravelon.Ravelon.png)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravelon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Decrypts a code with its e-mail address")
set(CPACK_PACKAGE_CONTACT "Ravelon developers <dev@ravelon.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
