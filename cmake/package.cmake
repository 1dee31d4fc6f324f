# The Debian package (scripts/package.sh): what `cmake --install` puts under /usr, with the
# Qt libraries the programs link found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Brenvik)
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon@brenvik.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the overworld maps of GBA ROM images")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon opens a Game Boy Advance ROM image, lists the maps of its banks and edits their\n\
blocks, movement values, events, header attributes, tilesets, connections and wild\n\
encounters. quillon-cli reads and changes the same ROMs from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The German texts of Qt's own dialog buttons; the program runs without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brenvik.org/quillon")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
