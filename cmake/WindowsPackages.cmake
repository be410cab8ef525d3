# The Windows installer (Ravelon-1.01.msi, built with wixl) and the portable
# zip of the single Ravelon.exe, both free of build times and paths.
set(out ${CMAKE_BINARY_DIR}/packages)
add_custom_command(
  OUTPUT ${out}/Ravelon-${PROJECT_VERSION}.msi ${out}/Ravelon-${PROJECT_VERSION}-portable.zip
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/make-windows-packages.sh $<TARGET_FILE:ravelon_exe>
          ${PROJECT_SOURCE_DIR}/resources/ravelon.ico ${PROJECT_SOURCE_DIR}/resources/windows/ravelon.wxs
          ${PROJECT_VERSION} ${out}
  DEPENDS ravelon_exe ${PROJECT_SOURCE_DIR}/resources/windows/ravelon.wxs
          ${PROJECT_SOURCE_DIR}/scripts/make-windows-packages.sh
  VERBATIM)
add_custom_target(ravelon_windows_packages ALL
                  DEPENDS ${out}/Ravelon-${PROJECT_VERSION}.msi ${out}/Ravelon-${PROJECT_VERSION}-portable.zip)
