quorx_bench(bench_schedule SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScheduleBench.cpp LIBS quorx_schedule)
