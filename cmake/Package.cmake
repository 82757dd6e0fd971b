# `cpack -G DEB` in the build folder makes virexo_<version>_<arch>.deb of
# what cmake/Install.cmake installs, under /usr. Its Depends are worked out
# by dpkg-shlibdeps (package dpkg-dev) from the libraries the executable
# really links.
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
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GL loaders at run time (libGL.so.1 for GLX on X11,
# libEGL.so.1 on Wayland), so dpkg-shlibdeps cannot see them; without them
# no window gets an OpenGL context. CPack adds the found Depends to these.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")

include(CPack)
