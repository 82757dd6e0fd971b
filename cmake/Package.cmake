# `cpack -G DEB` in the build folder makes two packages, under /usr:
# virexo_<version>_<arch>.deb, the game (cmake/Install.cmake), whose Depends
# dpkg-shlibdeps (package dpkg-dev) works out from the libraries the
# executable really links; and libkestrel-dev_<version>_<arch>.deb, the
# toolkit's libraries, headers, CMake package and kestrel.pc.
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

set(CPACK_DEBIAN_KESTREL_DEV_PACKAGE_NAME libkestrel-dev)
set(CPACK_DEBIAN_KESTREL_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_KESTREL_DEV_DESCRIPTION
"Kestrel 2D game toolkit (development files)
Static libraries, headers (include/kestrel/), the CMake package
(find_package(Kestrel CONFIG)) and kestrel.pc of Kestrel, a 2D game
toolkit over SDL2 and OpenGL: windows, images, image fonts, sounds,
keyboard, mouse and joystick input, streams and embedded files.")
# What the static libraries link, as development packages.
set(CPACK_DEBIAN_KESTREL_DEV_PACKAGE_DEPENDS
  "libsdl2-dev, libgl-dev, libpng-dev, libfreetype-dev, libvorbis-dev, libsamplerate0-dev, pkg-config")

include(CPack)
