quorx_bench(bench_channels SOURCES ${CMAKE_CURRENT_LIST_DIR}/ChannelsBench.cpp LIBS quorx_channels)
