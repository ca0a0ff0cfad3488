# The program's start with 256 recordings, up to the main window on the screen.
quorx_bench(bench_ui_main_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/StartupBench.cpp
    LIBS quorx_ui_main quorx_platform_fake quorx_platform_linux Qt6::Test)
