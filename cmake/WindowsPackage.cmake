# The Windows package: a .zip of velkor-cli.exe with the README and the licence, made by
# CPack's ZIP generator in the Windows build (cd build-windows && cpack -G ZIP).
set(velkor_zip_files ${CMAKE_SOURCE_DIR}/README.md)
if(EXISTS ${CMAKE_SOURCE_DIR}/LICENSE)
    list(APPEND velkor_zip_files ${CMAKE_SOURCE_DIR}/LICENSE)
endif()
install(PROGRAMS $<TARGET_FILE:velkor-cli> DESTINATION . COMPONENT windows_zip)
install(FILES ${velkor_zip_files} DESTINATION . COMPONENT windows_zip)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velkor-cli)
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_PACKAGE_VENDOR "Velkor")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Command-line tool for the Velkor temperature and humidity logger")
# Only the files above, whatever else the project installs.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};windows_zip;/")
include(CPack)
