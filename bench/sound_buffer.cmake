# The sound-buffer service: mixing cost of 32 voices and PlaySound latency.
if(TARGET kestrel_audio_sdl)
  kestrel_bench(sound_buffer_bench SOURCES sound_buffer_bench.cpp LIBS kestrel_audio_sdl)
endif()
