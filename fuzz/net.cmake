# Fuzz targets of the HTTP fetch: URL canonical form and split, Content-Length.
biaobai_fuzzer(fuzz_url_split ${CMAKE_CURRENT_SOURCE_DIR}/url_split_fuzzer.cpp biaobai_net)
biaobai_fuzzer(fuzz_chunk_size ${CMAKE_CURRENT_SOURCE_DIR}/chunk_size_fuzzer.cpp biaobai_net)
