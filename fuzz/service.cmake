# The picture service's request handling: the part of it without Qt.
if(NOT TARGET biaobai_service_core)
  add_subdirectory(${PROJECT_SOURCE_DIR}/service/core ${CMAKE_BINARY_DIR}/service/core)
endif()
biaobai_fuzzer(fuzz_service_request service_request_fuzzer.cpp biaobai_service_core)
biaobai_fuzzer(fuzz_picture_query picture_query_fuzzer.cpp biaobai_service_core)
