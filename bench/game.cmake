# The game rules: one frame of a full board, and the match check at its worst.
if(TARGET virexo_game)
  kestrel_bench(game_rules_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_rules_bench.cpp LIBS virexo_game)
endif()
