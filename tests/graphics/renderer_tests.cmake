# Tests of the 2D renderer, images and image fonts, included from this
# folder's CMakeLists.txt.
kestrel_test(renderer_unit_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/lumo2d_math_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gl_state_cache_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_units_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/freetype_font_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/first_call_errors_test.cpp
  LIBS kestrel_graphics kestrel_resources)
target_compile_definitions(renderer_unit_test PRIVATE KESTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# On a real OpenGL context (SDL's offscreen driver by default).
kestrel_test(renderer_gl_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/gl_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gl_render_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gl_image_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gl_image_draw_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gl_text_test.cpp
  LIBS kestrel_graphics_sdl kestrel_graphics kestrel_resources ${CMAKE_DL_LIBS})
# The oval test draws its reference polygon through OpenGL itself.
find_package(OpenGL REQUIRED)
target_link_libraries(renderer_gl_test PRIVATE OpenGL::GL)
