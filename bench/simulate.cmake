# The simulation of a week and one recomputation with the timers armed, on the virtual clock.
quorx_bench(bench_simulate
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/SimulateBench.cpp ${CMAKE_SOURCE_DIR}/src/cli/Simulation.cpp
        ${CMAKE_SOURCE_DIR}/src/cli/Simulation.h
    LIBS quorx_startup quorx_platform_fake)
