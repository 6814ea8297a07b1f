# The Debian package of the launcher, made by `cpack -G DEB` (or scripts/package) from a
# build: what `cmake --install` puts in place, under /usr, with its run-time Depends computed
# from the binaries by dpkg-shlibdeps.

# The package's version is the one its changelog names last.
file(STRINGS ${PROJECT_SOURCE_DIR}/app/linux/changelog changelog_top LIMIT_COUNT 1)
string(REGEX MATCH "^tessarin-guide \\(([^)]+)\\)" changelog_top "${changelog_top}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "app/linux/changelog names version '${CMAKE_MATCH_1}' last, the project is ${PROJECT_VERSION}: "
                      "add an entry for the new version")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessarin-guide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Tessarin Installation Guide developers <guide@tessarin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "installation guide of the Tsr Installation Generator under Wine")
# dpkg shows the description's lines as they are: wrapped at 80 columns here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Shows, in one resizable window, the installation guide of the Tessarin"
       "installation generator (Tsr Installation Generator) installed in a Wine"
       "prefix, and carries out the guide's links: it opens the generator's folders,"
       "starts its programs and opens its web pages.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program loads at run time, which no binary names: GTK draws the menu entry's and the
# window's SVG icon through gdk-pixbuf's SVG loader, only a Recommends of GTK.
set(CPACK_DEBIAN_PACKAGE_DEPENDS librsvg2-common)
# Debian ships binaries without their debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The install's one component, by the name CMake gives it: an install of a named component
# keeps a manifest of its own (install_manifest_Unspecified.txt), so making the package leaves
# the list of what the last `cmake --install` put in place, which uninstalls it, as it was.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${CMAKE_PROJECT_NAME};Unspecified;/")
include(CPack)
