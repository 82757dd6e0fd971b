# Fuzz target of the online game: the packet decoder and the lockstep
# engine fed with what it decodes.
kestrel_fuzz(fuzz_net_packet SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/net_packet_fuzz.cpp LIBS virexo_net)
