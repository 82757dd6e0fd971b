# What `cmake --install` puts under the prefix for the game (component
# virexo): the executable, its desktop entry, the icon at every hicolor
# size, the AppStream metadata, the copyright file and the licence of the
# font embedded in the executable. The toolkit installs itself (component
# kestrel_dev, toolkit/cmake/KestrelInstall.cmake); tests, tools and
# benchmarks are build-time only.
include_guard(GLOBAL)
include(GNUInstallDirs)

install(TARGETS virexo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT virexo)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/virexo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT virexo)

set(VIREXO_ICON_SIZES 16 22 24 32 48 64 128 256)
foreach(size ${VIREXO_ICON_SIZES})
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/hicolor/${size}x${size}/apps/virexo.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT virexo)
endforeach()

# The release version comes from the project.
configure_file(${PROJECT_SOURCE_DIR}/packaging/virexo.metainfo.xml
               ${PROJECT_BINARY_DIR}/packaging/virexo.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/virexo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT virexo)

# Who may do what with the program and its embedded assets, in Debian's
# machine-readable copyright format (the .deb's copyright file).
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT virexo)

# The timer font is embedded in the executable; its licence (SIL OFL 1.1)
# asks for the copyright notice and licence to travel with it.
install(FILES ${PROJECT_SOURCE_DIR}/assets/gfx/led.ttf.LICENSE.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT virexo)
