# The Debian package of the toolkit, libkestrel-dev: what `cmake --install`
# puts under the prefix (component kestrel_dev, KestrelInstall.cmake), under
# /usr. Sets the package's name, section, description and dependencies
# (CPACK_DEBIAN_KESTREL_DEV_*) for a build that packages several components
# (the Virexo build includes this file from its own packaging); in a build of
# the toolkit alone, `cpack` in the build folder makes only this package.
if(BUILD_SHARED_LIBS)
  set(_kestrel_libraries "Shared libraries")
else()
  set(_kestrel_libraries "Static libraries")
endif()
set(KESTREL_PACKAGE_SUMMARY "Kestrel 2D game toolkit (development files)")
set(KESTREL_PACKAGE_DESCRIPTION
"${_kestrel_libraries}, headers (include/kestrel/), the CMake package
(find_package(Kestrel CONFIG)) and kestrel.pc of Kestrel, a 2D game
toolkit over SDL2 and OpenGL for C++20: windows, images, image fonts,
sounds, keyboard, mouse and joystick input, streams and embedded files.")

set(CPACK_DEBIAN_KESTREL_DEV_PACKAGE_NAME libkestrel-dev)
set(CPACK_DEBIAN_KESTREL_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_KESTREL_DEV_DESCRIPTION "${KESTREL_PACKAGE_SUMMARY}\n${KESTREL_PACKAGE_DESCRIPTION}")
# What the libraries link, as development packages (which bring the
# run-time libraries with them).
set(CPACK_DEBIAN_KESTREL_DEV_PACKAGE_DEPENDS
  "libsdl2-dev, libgl-dev, libpng-dev, libfreetype-dev, libvorbis-dev, libsamplerate0-dev, pkg-config")

if(PROJECT_IS_TOP_LEVEL AND PROJECT_NAME STREQUAL "Kestrel")
  set(CPACK_PACKAGE_NAME libkestrel-dev)
  set(CPACK_PACKAGE_VENDOR "The Virexo authors")
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${KESTREL_PACKAGE_SUMMARY}")
  set(CPACK_PACKAGE_DESCRIPTION "${KESTREL_PACKAGE_DESCRIPTION}")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Virexo maintainers <maintainers@virexo.invalid>")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL kestrel_dev)
  include(CPack)
endif()
