# Removes the files listed in an install manifest (cmake -DINSTALL_MANIFEST=<file> -P Uninstall.cmake).
# Folders are left alone: they may hold other programs' files (applications/, icons/hicolor/...).

if(NOT INSTALL_MANIFEST OR NOT EXISTS "${INSTALL_MANIFEST}")
    message(FATAL_ERROR "No install manifest at \"${INSTALL_MANIFEST}\": nothing was installed from this build.")
endif()

file(STRINGS "${INSTALL_MANIFEST}" installed_files)
foreach(installed IN LISTS installed_files)
    set(path "$ENV{DESTDIR}${installed}")
    if(IS_SYMLINK "${path}" OR EXISTS "${path}")
        message(STATUS "Removing ${path}")
        file(REMOVE "${path}")
        if(EXISTS "${path}")
            message(FATAL_ERROR "Could not remove ${path}")
        endif()
    else()
        message(STATUS "Already gone: ${path}")
    endif()
endforeach()
