# The window icon: the stored copy, and the icon on real windows with SDL's
# offscreen driver and on the X display (where the desktop's property is
# read back). Serial like the other window tests.
find_package(SDL2 REQUIRED)
find_package(X11 REQUIRED)
add_executable(window_icon_test
  ${CMAKE_CURRENT_LIST_DIR}/window_icon_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/net_wm_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keep_mesa_loaded.cpp)
target_link_libraries(window_icon_test PRIVATE kestrel_graphics SDL2::SDL2 X11::X11
  ${CMAKE_DL_LIBS} GTest::gtest GTest::gtest_main kestrel_warnings)
gtest_discover_tests(window_icon_test TEST_SUFFIX .offscreen DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE ENVIRONMENT SDL_VIDEODRIVER=offscreen)
gtest_discover_tests(window_icon_test TEST_SUFFIX .x11 DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
