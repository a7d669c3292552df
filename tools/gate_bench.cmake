# gate_bench: the gate's processing cost per stereo frame next to peer plug-ins, in one process.
# A benchmark, not a test: built only with -DVRN_BUILD_BENCHMARKS=ON, never registered with ctest.

if(NOT VRN_BUILD_BENCHMARKS)
    return()
endif()

add_executable(gate_bench gate_bench.cpp gate_bench_plugin.cpp gate_bench_signal.cpp)
if(WIN32)
    # No callgrind on Windows: the counter does nothing there.
    target_sources(gate_bench PRIVATE win32/instruction_counter_win32.cpp)
else()
    find_path(VRN_VALGRIND_INCLUDE_DIR valgrind/callgrind.h REQUIRED)
    target_sources(gate_bench PRIVATE posix/instruction_counter_posix.cpp)
    target_include_directories(gate_bench SYSTEM PRIVATE ${VRN_VALGRIND_INCLUDE_DIR})
endif()
target_link_libraries(gate_bench PRIVATE vrn_hosting)
vrn_target_warnings(gate_bench)
vrn_static_runtime(gate_bench)
