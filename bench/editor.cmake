quorx_bench(bench_editor SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorBench.cpp LIBS quorx_editor quorx_platform_fake)
