# The core library is standard C++ only, so that every front end (Qt, Win32) uses it unchanged.
# Fail the configuration if anything makes it link a toolkit.
get_target_property(_qfd_core_libs qfd_core LINK_LIBRARIES)
get_target_property(_qfd_core_iface qfd_core INTERFACE_LINK_LIBRARIES)
foreach(_lib IN LISTS _qfd_core_libs _qfd_core_iface)
    if(_lib MATCHES "Qt|qt|gtk|X11")
        message(FATAL_ERROR "qfd_core must not link a GUI toolkit, but links ${_lib}")
    endif()
endforeach()
