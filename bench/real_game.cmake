# The real executable measured as a player runs it (bench/real_game.sh): the
# shim that slows its display down to a chosen rate.
add_library(virexo_slow_display MODULE slow_display.c)
target_link_libraries(virexo_slow_display PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(virexo_slow_display PROPERTIES PREFIX "")
