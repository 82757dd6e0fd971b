# The software mixer's tests. Included by CMakeLists.txt.
kestrel_test(softmix_engine_test
  SOURCES softmix_engine_test.cpp softmix_output_test.cpp
  LIBS kestrel_audio)

# Replaces the global operator new to count allocations: a binary of its own.
kestrel_test(softmix_handover_test SOURCES softmix_handover_test.cpp LIBS kestrel_audio)

kestrel_test(softmix_driver_test SOURCES softmix_driver_test.cpp LIBS kestrel_audio)

# Over SDL audio: registration with the sound-buffer service and the whole
# path through SDL's disk driver.
kestrel_test(softmix_sdl_test SOURCES softmix_sdl_test.cpp LIBS kestrel_audio_sdl)
