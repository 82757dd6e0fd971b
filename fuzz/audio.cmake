# Fuzz targets of the audio module: the WAV and Ogg sample loaders over
# memory streams.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KESTREL_FUZZ_OGG REQUIRED IMPORTED_TARGET ogg)
kestrel_fuzz(fuzz_wav_loader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/wav_loader_fuzz.cpp
  LIBS kestrel_audio)
kestrel_fuzz(fuzz_ogg_loader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ogg_loader_fuzz.cpp
  LIBS kestrel_audio PkgConfig::KESTREL_FUZZ_OGG)
