# The Debian package: `cpack` in a Release build configured for /usr (scripts/package) writes
# clipmint_VERSION_ARCH.deb with everything the install rules put in place, and the copyright
# file and change log that Debian asks of every package.

set(clipmint_doc ${CMAKE_BINARY_DIR}/package-doc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${clipmint_doc}/copyright @ONLY)
add_custom_command(OUTPUT ${clipmint_doc}/changelog.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog > ${clipmint_doc}/changelog.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
    COMMENT "Compressing the change log")
add_custom_target(clipmint_changelog ALL DEPENDS ${clipmint_doc}/changelog.gz)
install(FILES ${clipmint_doc}/copyright ${clipmint_doc}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/clipmint)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clipmint)
set(CPACK_PACKAGE_VENDOR "The Clipmint developers")
set(CPACK_PACKAGE_CONTACT "${CLIPMINT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "take still images out of video files")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/description.txt)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the libraries the programs link; Qt's plugins are loaded at run time and
# so are named here: the SVG image and icon plugins draw every icon, and the xcb platform
# plugin, in libqt6gui6, opens the windows.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6 (>= ${Qt6_VERSION}), libqt6gui6 (>= ${Qt6_VERSION})")
# Qt's own translations speak the standard dialogs' language; xdg-open opens the user guide
# and the saved pictures where no desktop portal does.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
include(CPack)
