# Release archives (cpack): the portable installation folder, its programs stripped, with the
# README and the licence, named with the version and the platform and unpacking into one folder of
# the same name: a .tar.gz of the Linux build, a .zip of the Windows one.
install(FILES README.md LICENSE DESTINATION . COMPONENT programs)

string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" _qfd_platform)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-${_qfd_platform}")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
# Only the programs' component: whatever else a build tree might install (libraries, headers,
# tests) never reaches an archive.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};programs;/")
if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
