# The window layer: the cost of a frame drawn straight into the window and
# through the letter-boxed offscreen picture at several window sizes.
if(TARGET kestrel_graphics)
  find_package(SDL2 REQUIRED)
  find_package(OpenGL REQUIRED)
  kestrel_bench(window_scaling_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_scaling_bench.cpp
    LIBS kestrel_graphics SDL2::SDL2 OpenGL::GL)
endif()
