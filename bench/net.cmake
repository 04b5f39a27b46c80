# Fetch speed: HttpReadFile against curl on the same loopback URL (net_fetch.sh).
add_executable(bench_http_read_file ${CMAKE_CURRENT_SOURCE_DIR}/http_read_file_bench.cpp)
target_link_libraries(bench_http_read_file PRIVATE biaobai_net)
set_target_properties(bench_http_read_file PROPERTIES AUTOMOC OFF)
