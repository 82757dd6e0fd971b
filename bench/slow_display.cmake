# The shim that slows the real executable's display down to a chosen rate
# (slow_display.c): for the real-game benchmark and the slow-display
# end-to-end tests, whichever is configured first.
if(NOT TARGET virexo_slow_display)
  add_library(virexo_slow_display MODULE ${CMAKE_CURRENT_LIST_DIR}/slow_display.c)
  target_link_libraries(virexo_slow_display PRIVATE ${CMAKE_DL_LIBS})
  set_target_properties(virexo_slow_display PROPERTIES PREFIX "")
endif()
