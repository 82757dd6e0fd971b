# What `cmake --install` puts under the prefix for the toolkit (component
# kestrel_dev): the libraries, the public headers under include/kestrel/,
# the CMake package (find_package(Kestrel CONFIG): Kestrel::Kestrel and one
# target per module) with kestrel_embed_files, and kestrel.pc for
# pkg-config.
include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

get_property(_kestrel_targets GLOBAL PROPERTY KESTREL_MODULE_TARGETS)
# Shared libraries carry the version in their soname: releases of one minor
# version keep the interface (the CMake package's SameMinorVersion), so the
# soname is libkestrel_<module>.so.<major>.<minor>.
if(BUILD_SHARED_LIBS)
  foreach(t ${_kestrel_targets})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      set_target_properties(${t} PROPERTIES VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
    endif()
  endforeach()
endif()
install(TARGETS ${_kestrel_targets} EXPORT KestrelTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT kestrel_dev
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT kestrel_dev
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(KESTREL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kestrel)
install(EXPORT KestrelTargets NAMESPACE Kestrel:: FILE KestrelTargets.cmake
        DESTINATION ${KESTREL_CMAKE_DIR} COMPONENT kestrel_dev)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KestrelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KestrelConfig.cmake INSTALL_DESTINATION ${KESTREL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KestrelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KestrelConfig.cmake
              ${PROJECT_BINARY_DIR}/KestrelConfigVersion.cmake
        DESTINATION ${KESTREL_CMAKE_DIR} COMPONENT kestrel_dev)
install(FILES ${KESTREL_EMBED_CMAKE} RENAME KestrelEmbed.cmake
        DESTINATION ${KESTREL_CMAKE_DIR} COMPONENT kestrel_dev)

# pkg-config: with static libraries (the default) the libraries they use are
# public requirements, so `pkg-config --libs kestrel` links a program.
if(BUILD_SHARED_LIBS)
  set(KESTREL_PC_REQUIRES "")
  set(KESTREL_PC_REQUIRES_PRIVATE "sdl2 gl libpng freetype2 vorbisfile samplerate")
  # A program linked with `pkg-config --libs kestrel` finds the shared
  # libraries where they are installed, without LD_LIBRARY_PATH.
  set(KESTREL_PC_LIBS_RPATH "-Wl,-rpath,\${libdir}")
else()
  set(KESTREL_PC_REQUIRES "sdl2 gl libpng freetype2 vorbisfile samplerate")
  set(KESTREL_PC_REQUIRES_PRIVATE "")
  set(KESTREL_PC_LIBS_RPATH "")
endif()
file(RELATIVE_PATH KESTREL_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrel.pc.in ${PROJECT_BINARY_DIR}/kestrel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kestrel.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT kestrel_dev)

# Licences: the code's, and those of the fonts linked into the graphics
# library (the bitmap fonts derived from DejaVu Sans Mono Bold).
install(FILES ${KESTREL_TOOLKIT_DIR}/packaging/copyright ${KESTREL_TOOLKIT_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libkestrel-dev COMPONENT kestrel_dev)
