# The window icon: the stored copy, and the icon on real windows with SDL's
# offscreen driver and on the X display (where the desktop's property is
# read back). Serial like the other window tests.
find_package(SDL2 REQUIRED)
find_package(X11 REQUIRED)
kestrel_window_test(window_icon_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_icon_test.cpp ${CMAKE_CURRENT_LIST_DIR}/net_wm_icon.cpp
  LIBS kestrel_graphics SDL2::SDL2 X11::X11)
