# The picture decoders: recognition with dispatch, then each decoder on its own
# (the GIF one together with playing the result).
set(_imaging_fuzzers picture_kind jpeg bmp icon pcx gif)
foreach(name IN LISTS _imaging_fuzzers)
  biaobai_fuzzer(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/imaging_${name}_fuzzer.cpp biaobai_imaging)
endforeach()
