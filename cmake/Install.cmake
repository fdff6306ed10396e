# Installs Stashwell as a desktop application: besides the program (installed by the top-level
# file), its desktop entry, its icon in the hicolor theme and its AppStream metadata, each in its
# XDG place below the prefix. Adds an "uninstall" target that removes what the last install put down.

install(FILES data/stashwell.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/icons/stashwell.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The window logo doubles as the 256-pixel icon; both are rendered from the same drawing.
install(FILES resources/images/Logo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME stashwell.png)
# The release it describes is this build's version.
configure_file(data/io.github.stashwell.Stashwell.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/io.github.stashwell.Stashwell.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/io.github.stashwell.Stashwell.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

if(NOT TARGET uninstall)
    add_custom_target(uninstall
        COMMAND ${CMAKE_COMMAND} -DINSTALL_MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
                -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/Uninstall.cmake
        COMMENT "Removing the files of the last install"
        VERBATIM)
endif()
