# Fuzz target of the graphics module: the FreeType outline font loader over a
# stream from memory, with glyph lookup and rasterising (no window needed).
if(TARGET kestrel_graphics)
  kestrel_fuzz(fuzz_font_loader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/font_loader_fuzz.cpp
    LIBS kestrel_graphics kestrel_resources)
endif()
