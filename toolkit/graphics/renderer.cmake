# The 2D renderer, images and image fonts: sources of kestrel_graphics,
# included from this folder's CMakeLists.txt. Only the gl_*.cpp files include
# OpenGL, only freetype_font.cpp FreeType.

find_package(OpenGL REQUIRED)
find_package(Freetype REQUIRED)

set(_renderer_dir ${CMAKE_CURRENT_LIST_DIR})
target_sources(kestrel_graphics PRIVATE
  ${_renderer_dir}/lumo2d_math.cpp
  ${_renderer_dir}/gl_state_cache.cpp
  ${_renderer_dir}/lumo2d_graphics.cpp
  ${_renderer_dir}/lumo2d_functions.cpp
  ${_renderer_dir}/current_drawing.cpp
  ${_renderer_dir}/texture_layout.cpp
  ${_renderer_dir}/texture_pixmap.cpp
  ${_renderer_dir}/texture_deletion_queue.cpp
  ${_renderer_dir}/image.cpp
  ${_renderer_dir}/image_functions.cpp
  ${_renderer_dir}/text_units.cpp
  ${_renderer_dir}/font_loader.cpp
  ${_renderer_dir}/freetype_font.cpp
  ${_renderer_dir}/image_font.cpp
  ${_renderer_dir}/gl_lumo2d_driver.cpp
  ${_renderer_dir}/gl_image_frame.cpp
  ${_renderer_dir}/gl_shrunk_copies.cpp
  ${_renderer_dir}/gl_pixmap_copy.cpp
)
target_link_libraries(kestrel_graphics PUBLIC kestrel_resources PRIVATE OpenGL::GL Freetype::Freetype)

# The built-in 8 x 16 font of the image font module, and the GL graphics
# module's text font, which InitGraphics registers as "gldrawtextfont.bin".
# A missing file stops the configuration (kestrel_embed_files checks).
include(${KESTREL_EMBED_CMAKE})
kestrel_embed_files(kestrel_graphics FUNCTION RegisterKestrelFontFile NAMESPACE kestrel
                    FILES kestrelfont.bin ${KESTREL_FONT_DIR}/kestrelfont.bin)
kestrel_embed_files(kestrel_graphics FUNCTION RegisterGLDrawTextFontFile NAMESPACE kestrel
                    FILES gldrawtextfont.bin ${KESTREL_FONT_DIR}/gldrawtextfont.bin)
