# gate_bench: the gate's processing cost per stereo frame next to peer plug-ins, in one process.
# A benchmark, not a test: built only with -DVRN_BUILD_BENCHMARKS=ON, never registered with ctest.
#
# Normally included from tools/CMakeLists.txt. scripts/bench.sh also hooks it in through
# CMAKE_PROJECT_VarneGate_INCLUDE; it then runs at project() time, before the project's helpers
# and libraries exist, and defers itself to the end of the top-level directory.

if(NOT VRN_BUILD_BENCHMARKS OR TARGET gate_bench)
    return()
endif()
if(NOT COMMAND vrn_target_warnings)
    # A deferred call reads its arguments only when it runs, so the path is written in now.
    set(vrn_defer "cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\" CALL include")
    cmake_language(EVAL CODE "${vrn_defer} \"${CMAKE_CURRENT_LIST_FILE}\")")
    return()
endif()

set(vrn_gate_bench_dir ${CMAKE_CURRENT_LIST_DIR})
add_executable(gate_bench
    ${vrn_gate_bench_dir}/gate_bench.cpp
    ${vrn_gate_bench_dir}/gate_bench_plugin.cpp
    ${vrn_gate_bench_dir}/gate_bench_signal.cpp
)
if(WIN32)
    # No callgrind on Windows: the counter does nothing there.
    target_sources(gate_bench PRIVATE ${vrn_gate_bench_dir}/win32/instruction_counter_win32.cpp)
else()
    find_path(VRN_VALGRIND_INCLUDE_DIR valgrind/callgrind.h REQUIRED)
    target_sources(gate_bench PRIVATE ${vrn_gate_bench_dir}/posix/instruction_counter_posix.cpp)
    target_include_directories(gate_bench SYSTEM PRIVATE ${VRN_VALGRIND_INCLUDE_DIR})
endif()
target_link_libraries(gate_bench PRIVATE vrn_hosting)
# The same place whichever way this file was included.
set_target_properties(gate_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tools)
vrn_target_warnings(gate_bench)
vrn_static_runtime(gate_bench)
