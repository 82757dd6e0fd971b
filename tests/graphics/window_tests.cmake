# Tests of the graphics module, frame pacing and the GL graphics driver on
# real SDL windows; included from this folder's CMakeLists.txt.
kestrel_test(graphics_module_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/graphics_module_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame_pacing_test.cpp
  LIBS kestrel_graphics
  PROPERTIES ${KESTREL_X_FOCUS})  # its windows take the keyboard focus
target_compile_definitions(graphics_module_test PRIVATE
  GLDRAWTEXTFONT_FILE="${PROJECT_SOURCE_DIR}/toolkit/graphics/fonts/gldrawtextfont.bin")

# The same window tests with SDL's offscreen driver (no X server) and on
# the X display the suite runs under (Xvfb). Serial: they time frame pacing.
find_package(SDL2 REQUIRED)
find_package(OpenGL REQUIRED)
kestrel_window_test(gl_window_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/gl_window_test.cpp
  LIBS kestrel_graphics SDL2::SDL2 OpenGL::GL)

# No display of any kind: Graphics gives null with SDL's reasons.
kestrel_test(no_display_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/no_display_test.cpp
  LIBS kestrel_graphics)

# Keys from xdotool and message boxes answered with Return and Escape, on
# the X display (skipped without one).
add_executable(x11_input_test
  ${CMAKE_CURRENT_LIST_DIR}/x11_input_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keep_mesa_loaded.cpp)
target_link_libraries(x11_input_test PRIVATE kestrel_graphics kestrel_test_support SDL2::SDL2
  ${CMAKE_DL_LIBS} GTest::gtest GTest::gtest_main kestrel_warnings)
add_executable(fault_box_probe ${CMAKE_CURRENT_LIST_DIR}/fault_box_probe.cpp)
target_link_libraries(fault_box_probe PRIVATE kestrel_graphics kestrel_warnings)
add_dependencies(x11_input_test fault_box_probe)
target_compile_definitions(x11_input_test PRIVATE FAULT_BOX_PROBE="$<TARGET_FILE:fault_box_probe>")
gtest_discover_tests(x11_input_test DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)

# Window fitting, letter-boxing, mouse mapping and the full-screen keys,
# without a display.
kestrel_test(window_fit_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_fit_test.cpp
  LIBS kestrel_graphics)

# Every way a program ends, after opening a display and sound in either
# start-up order: a clean exit, never a crash in the exit handlers.
add_executable(end_probe ${CMAKE_CURRENT_LIST_DIR}/end_probe.cpp ${CMAKE_CURRENT_LIST_DIR}/keep_mesa_loaded.cpp)
target_link_libraries(end_probe PRIVATE kestrel_graphics kestrel_audio_sdl ${CMAKE_DL_LIBS})
kestrel_test(end_paths_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/end_paths_test.cpp
  LIBS kestrel_test_support)
target_compile_definitions(end_paths_test PRIVATE END_PROBE_PATH="$<TARGET_FILE:end_probe>")
add_dependencies(end_paths_test end_probe)

# Startup and what a program that forgot a module is told.
add_executable(startup_probe ${CMAKE_CURRENT_LIST_DIR}/startup_probe.cpp ${CMAKE_CURRENT_LIST_DIR}/keep_mesa_loaded.cpp)
target_link_libraries(startup_probe PRIVATE kestrel_startup ${CMAKE_DL_LIBS})
kestrel_test(startup_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp
  LIBS kestrel_test_support)
target_compile_definitions(startup_test PRIVATE STARTUP_PROBE_PATH="$<TARGET_FILE:startup_probe>"
  KESTREL_ASSETS_DIR="${PROJECT_SOURCE_DIR}/assets")
add_dependencies(startup_test startup_probe)

# The GL libraries loaded ahead of the first window (no display needed).
kestrel_test(gl_library_preload_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/gl_library_preload_test.cpp
  LIBS kestrel_graphics ${CMAKE_DL_LIBS})

# A null-pointer fault under RunApplication with a window open: the report
# ends the program in bounded time (window_fault_test.sh).
add_executable(fault_report_probe ${CMAKE_CURRENT_LIST_DIR}/fault_report_probe.cpp)
target_link_libraries(fault_report_probe PRIVATE Kestrel::Kestrel kestrel_warnings)
add_test(NAME FaultReport.EndsInBoundedTimeWithAWindowOpen
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/window_fault_test.sh $<TARGET_FILE:fault_report_probe>)
set_tests_properties(FaultReport.EndsInBoundedTimeWithAWindowOpen PROPERTIES
  TIMEOUT 60 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
