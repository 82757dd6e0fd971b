if(TARGET virexo_replay)
  kestrel_bench(program_bench SOURCES program_bench.cpp LIBS virexo_replay)
endif()
if(TARGET virexo_replay)
  # Not a Google Benchmark program: it prints "figure" lines of its own.
  add_executable(screen_draw_bench screen_draw_bench.cpp)
  target_link_libraries(screen_draw_bench PRIVATE virexo_replay kestrel_warnings)
endif()
if(TARGET virexo_replay AND TARGET virexo_net)
  # The online game's worst frame: a correction the whole window deep, drawn.
  add_executable(rollback_frame_bench rollback_frame_bench.cpp)
  target_link_libraries(rollback_frame_bench PRIVATE virexo_replay virexo_net kestrel_warnings)
endif()
