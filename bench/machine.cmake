# The machine's own stalls: a computing loop timed in slices, on the wall
# clock and the thread's CPU clock (no library, no display).
add_executable(machine_stalls ${CMAKE_CURRENT_LIST_DIR}/machine_stalls.cpp)
target_link_libraries(machine_stalls PRIVATE kestrel_warnings)
