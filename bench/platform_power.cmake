quorx_bench(bench_platform_peers SOURCES ${CMAKE_CURRENT_LIST_DIR}/PeersBench.cpp
    LIBS quorx_platform_linux Qt6::Network)
