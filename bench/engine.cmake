quorx_bench(bench_engine SOURCES ${CMAKE_CURRENT_LIST_DIR}/EngineBench.cpp LIBS quorx_engine quorx_platform_fake)
