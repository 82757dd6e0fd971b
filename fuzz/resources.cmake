# Fuzz targets of the resources module: the pixmap loader chain (PNG) over
# memory streams, and the stream reading functions.
find_package(ZLIB REQUIRED)
kestrel_fuzz(fuzz_load_pixmap SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/load_pixmap_fuzz.cpp
  LIBS kestrel_resources ZLIB::ZLIB)
kestrel_fuzz(fuzz_stream_read SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/stream_read_fuzz.cpp
  LIBS kestrel_resources)
