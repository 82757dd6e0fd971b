# The real executable measured as a player runs it (bench/real_game.sh): the
# shim that slows its display down to a chosen rate.
include(${CMAKE_CURRENT_LIST_DIR}/slow_display.cmake)
