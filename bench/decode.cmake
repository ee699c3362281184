# The offline decoder's benchmark, and the helpers its tests share with it.
add_library(decode_bench_kit STATIC decode_bench_kit.cpp)
target_link_libraries(decode_bench_kit PUBLIC production_decode_core)

add_executable(decode_bench decode_bench.cpp)
target_link_libraries(decode_bench PRIVATE decode_bench_kit)
