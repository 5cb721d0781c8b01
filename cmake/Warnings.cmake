# Project-wide warning flags, applied per target with qfd_set_warnings().
function(qfd_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Wnon-virtual-dtor)
    # GCC 12 reports impossible overlaps inside std::string's own inlined code when optimising
    # (a false positive of that version); it stops the optimised Windows build otherwise.
    if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION MATCHES "^12\\.")
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(QFD_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
