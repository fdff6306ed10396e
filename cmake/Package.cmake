# A Debian package of what `cmake --install` puts down (`cpack -G DEB` in the build folder, or the
# `package` target): the program, its desktop entry, icons and AppStream metadata under /usr.
# The libraries it links are found by dpkg-shlibdeps; the plugins Qt loads at run time are named here,
# since no linker sees them (TIFF pictures).

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stashwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Stashwell developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Clipboard history in the system tray")
set(CPACK_PACKAGE_DESCRIPTION
    "Stashwell keeps a searchable history of everything you copy (text, rich text, HTML, links, pictures, PDF, \
colours and files) and opens it as a strip of cards from the bottom of the screen on a global shortcut. \
A pick goes back on the clipboard and is pasted into the window you were working in. Copies that password \
managers mark as concealed are never recorded.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Stashwell developers <dev@stashwell.invalid>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
