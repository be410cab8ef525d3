# Installs the program where a Linux desktop finds it, and packs a .deb.
include(GNUInstallDirs)

target_compile_definitions(ravelon_platform PRIVATE
  RAVELON_APP_NAME="Ravelon" RAVELON_APP_VERSION="${PROJECT_VERSION}" RAVELON_DESKTOP_ID="org.ravelon.Ravelon")

set(linux ${PROJECT_SOURCE_DIR}/resources/linux)
set(id org.ravelon.Ravelon)
install(TARGETS ravelon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${linux}/${id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux}/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/ravelon.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME ${id}.png)
foreach(size 16 24 48 64 128 256)
  install(FILES ${linux}/icons/ravelon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${id}.png)
endforeach()
install(FILES ${linux}/icons/ravelon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${id}.svg)

# The man page and the changelog go in compressed, without a name or a time in the gzip header.
function(ravelon_gzip source output)
  add_custom_command(OUTPUT ${output} COMMAND sh -c "gzip -9nc '${source}' > '${output}'"
                     DEPENDS ${source} VERBATIM)
endfunction()
ravelon_gzip(${linux}/ravelon.1 ${CMAKE_CURRENT_BINARY_DIR}/ravelon.1.gz)
ravelon_gzip(${linux}/ravelon-decode.1 ${CMAKE_CURRENT_BINARY_DIR}/ravelon-decode.1.gz)
ravelon_gzip(${linux}/debian/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_target(ravelon_docs ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/ravelon.1.gz
                                           ${CMAKE_CURRENT_BINARY_DIR}/ravelon-decode.1.gz
                                           ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ravelon.1.gz ${CMAKE_CURRENT_BINARY_DIR}/ravelon-decode.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${linux}/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ravelon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravelon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "decrypt a code with its e-mail address")
set(CPACK_PACKAGE_DESCRIPTION
    "Ravelon is a small desktop utility with one window. Type the e-mail\n"
    "address that goes with an encrypted code, paste the code and press\n"
    "Decrypt: the program checks the code's scheme tag, drops its filler\n"
    "characters, shifts every symbol back through a fixed alphabet and shows\n"
    "the plain text, with its line breaks, in place of the code. Copy puts\n"
    "the text on the clipboard.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Ravelon developers <dev@ravelon.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://ravelon.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugin at run time, so the binary cannot name it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# CPack names the build machine's architecture; a cross build packs for the target's.
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR MATCHES "aarch64")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
