# Benchmarks of the resources module.
find_package(PNG QUIET)
if(PNG_FOUND)
  kestrel_bench(png_decode SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/png_decode_bench.cpp
    LIBS kestrel_resources PNG::PNG)
endif()
