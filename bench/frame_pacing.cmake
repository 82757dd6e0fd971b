# The game clock against the wall clock through the vsync pacing, at
# simulated refresh rates (a small timed program).
if(TARGET kestrel_graphics)
  kestrel_bench(game_clock_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_clock_bench.cpp LIBS kestrel_graphics)
endif()
