quorx_bench(bench_platform SOURCES ${CMAKE_CURRENT_LIST_DIR}/PlatformBench.cpp LIBS quorx_platform_fake)
