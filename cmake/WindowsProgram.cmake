# Ravelon.exe: one self-contained 64-bit GUI program whose imports are system DLLs.
enable_language(RC)
add_executable(ravelon_exe WIN32 main.cpp ravelon.rc)
set_target_properties(ravelon_exe PROPERTIES OUTPUT_NAME Ravelon)
target_link_libraries(ravelon_exe PRIVATE ravelon_window ravelon_platform)
ravelon_warnings(ravelon_exe)
set_property(SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/ravelon.rc APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_CURRENT_SOURCE_DIR}/ravelon.manifest ${PROJECT_SOURCE_DIR}/resources/ravelon.ico)
if(RAVELON_PACKAGES)
  include(${PROJECT_SOURCE_DIR}/cmake/WindowsPackages.cmake)
endif()
