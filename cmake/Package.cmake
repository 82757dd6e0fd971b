# `cpack -G DEB` in the build folder makes two packages, under /usr:
# virexo_<version>_<arch>.deb, the game (cmake/Install.cmake), whose Depends
# dpkg-shlibdeps (package dpkg-dev) works out from the libraries the
# executable really links; and libkestrel-dev_<version>_<arch>.deb, the
# toolkit's libraries, headers, CMake package and kestrel.pc
# (toolkit/cmake/KestrelPackage.cmake, which also packages a build of the
# toolkit alone).
include_guard(GLOBAL)

set(CPACK_PACKAGE_NAME virexo)
set(CPACK_PACKAGE_VENDOR "The Virexo team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade puzzle game for one or two players at one keyboard")
set(CPACK_PACKAGE_DESCRIPTION
"Rows of coloured pieces, some of them viruses, keep pushing into the board
from the top. The player's figure at the bottom picks up runs of
same-coloured pieces and throws them back up; four or more of one colour
touching each other are cleared. Clearing the last virus wins the board.
Two players can play side by side at one keyboard.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Virexo maintainers <maintainers@virexo.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL virexo kestrel_dev)

set(CPACK_DEBIAN_VIREXO_PACKAGE_NAME virexo)
set(CPACK_DEBIAN_VIREXO_PACKAGE_SHLIBDEPS ON)
# SDL opens the GL loaders at run time (libGL.so.1 for GLX on X11,
# libEGL.so.1 on Wayland), so dpkg-shlibdeps cannot see them; without them
# no window gets an OpenGL context. CPack adds the found Depends to these.
set(CPACK_DEBIAN_VIREXO_PACKAGE_DEPENDS "libgl1, libegl1")

# The toolkit's package: its name, description and dependencies.
include(${PROJECT_SOURCE_DIR}/toolkit/cmake/KestrelPackage.cmake)

include(CPack)
