quorx_bench(bench_common SOURCES ${CMAKE_CURRENT_LIST_DIR}/IniFileBench.cpp LIBS quorx_common)
