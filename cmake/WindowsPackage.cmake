# The Windows package: a .zip of velkor-cli.exe, stripped, with a README for Windows users and
# the licence, made by CPack's ZIP generator in the Windows build (cd build-windows && cpack -G
# ZIP).
set(velkor_zip_files ${CMAKE_SOURCE_DIR}/packaging/windows/README-Windows.txt)
if(EXISTS ${CMAKE_SOURCE_DIR}/LICENSE)
    list(APPEND velkor_zip_files ${CMAKE_SOURCE_DIR}/LICENSE)
endif()
install(TARGETS velkor-cli RUNTIME DESTINATION . COMPONENT windows_zip)
install(FILES ${velkor_zip_files} DESTINATION . COMPONENT windows_zip)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velkor-cli)
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_PACKAGE_VENDOR "Velkor")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Command-line tool for the Velkor temperature and humidity logger")
# The program without its debugging sections (the toolchain's strip).
set(CPACK_STRIP_FILES ON)
# Only the files above, whatever else the project installs.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};windows_zip;/")
include(CPack)
