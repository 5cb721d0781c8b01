# Builds GoogleTest and GMock from the distribution's sources for a cross build, where no
# prebuilt library for the target exists, and names them as find_package(GTest) would.
set(QFD_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${QFD_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${QFD_GOOGLETEST_SOURCE_DIR} (package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${QFD_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(_qfd_gtest_lib IN ITEMS gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${_qfd_gtest_lib})
        add_library(GTest::${_qfd_gtest_lib} ALIAS ${_qfd_gtest_lib})
    endif()
endforeach()
