# JPEG decoding through the picture box's memory source against libjpeg-turbo's own
# jpeg_mem_src, on the same bytes: bench_imaging reports the speed ratio.
add_executable(bench_imaging ${CMAKE_CURRENT_SOURCE_DIR}/jpeg_source_bench.cpp)
target_link_libraries(bench_imaging PRIVATE biaobai_imaging benchmark::benchmark)
