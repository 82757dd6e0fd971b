# The software mixer: voices mixed per millisecond of CPU.
if(TARGET kestrel_audio)
  kestrel_bench(softmix_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/softmix_bench.cpp LIBS kestrel_audio)
endif()
