# Drawing and encoding one picture, and answering a request from the cache.
# bench/service.sh measures the whole service over loopback against nginx.
if(TARGET biaobai_service_picture)
  add_executable(bench_service service_bench.cpp)
  target_link_libraries(bench_service PRIVATE biaobai_service_picture benchmark::benchmark)
  set_target_properties(bench_service PROPERTIES AUTOMOC OFF)
endif()
