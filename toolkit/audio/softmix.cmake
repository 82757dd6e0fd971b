# The software mixer: its engine, outputs and drivers in kestrel_audio, the
# wave output over SDL audio in kestrel_audio_sdl. Included by CMakeLists.txt.
target_sources(kestrel_audio PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/softmix_sample.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_handles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_wave_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_simulated_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_multimedia_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_stream_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/softmix_driver.cpp
)
target_sources(kestrel_audio_sdl PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/sdl/wave_output.cpp
)
