# The 2D renderer: CPU time to submit one frame of textured quads.
if(TARGET kestrel_graphics)
  kestrel_bench(renderer_frame_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/renderer_frame_bench.cpp
    LIBS kestrel_graphics)
endif()
