# The list of recordings: its rules and the main window's rebuild with 256 recordings.
quorx_bench(bench_ui_main SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListBench.cpp LIBS quorx_ui_main quorx_platform_fake)
