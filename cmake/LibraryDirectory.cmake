# The program's private files under the library directory go where Debian keeps them,
# lib/<multiarch>, whatever the prefix. GNUInstallDirs picks that folder only for the prefix
# /usr, and the program finds its web process module by a path relative to itself that is
# fixed when it is built: with one folder for every prefix, the same build serves
# `cmake --install --prefix ...` and the Debian package alike. A folder other than plain
# "lib" given on the command line is kept.
if(CMAKE_LIBRARY_ARCHITECTURE AND (NOT DEFINED CACHE{CMAKE_INSTALL_LIBDIR} OR "$CACHE{CMAKE_INSTALL_LIBDIR}" STREQUAL "lib"))
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries (lib)" FORCE)
endif()
