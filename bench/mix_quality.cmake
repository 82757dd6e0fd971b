# The sound-buffer service's loud moments (limiter) and frequency conversion.
kestrel_bench(mix_quality_bench SOURCES mix_quality_bench.cpp LIBS kestrel_audio)
