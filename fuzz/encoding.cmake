# Fuzz targets of the text encoding: the URL encoder and the code-page conversion.
biaobai_fuzzer(fuzz_url_encode ${CMAKE_CURRENT_SOURCE_DIR}/url_encode_fuzzer.cpp biaobai_encoding)
biaobai_fuzzer(fuzz_gbk_conversion ${CMAKE_CURRENT_SOURCE_DIR}/gbk_conversion_fuzzer.cpp biaobai_encoding)
