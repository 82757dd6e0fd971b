if(TARGET virexo_replay)
  kestrel_bench(program_bench SOURCES program_bench.cpp LIBS virexo_replay)
endif()
