quorx_bench(bench_viewer SOURCES ${CMAKE_CURRENT_LIST_DIR}/ViewerBench.cpp LIBS quorx_viewer quorx_platform_linux)
