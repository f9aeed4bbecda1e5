# GoogleTest and GoogleMock built from their sources (Debian's googletest package installs
# them in /usr/src/googletest) for a target that has no prebuilt copy, such as Windows. Gives
# the same targets as find_package(GTest).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# The project's warning options are for its own code.
get_directory_property(velkor_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${VELKOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${velkor_options}")
foreach(name gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${name}) # GoogleTest 1.11 and later define them itself
        add_library(GTest::${name} ALIAS ${name})
    endif()
endforeach()
