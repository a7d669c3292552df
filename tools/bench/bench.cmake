# Benchmarks, not tests: built only with -DVRN_BUILD_BENCHMARKS=ON, never registered with ctest,
# meant for an optimised tree. Included from tools/CMakeLists.txt.
if(NOT VRN_BUILD_BENCHMARKS)
    return()
endif()

# gate_bench: the gate's processing cost per stereo frame next to peer plug-ins, in one process.
vrn_add_tool(gate_bench bench/gate_bench.cpp bench/bench_options.cpp bench/bench_plugins.cpp
    bench/bench_passes.cpp bench/bench_report.cpp bench/callgrind_reader.cpp bench/bench_signal.cpp
    LIBS vrn_hosting)
if(WIN32)
    # No callgrind on Windows: the counter does nothing there.
    target_sources(gate_bench PRIVATE bench/win32/instruction_counter_win32.cpp)
else()
    find_path(VRN_VALGRIND_INCLUDE_DIR valgrind/callgrind.h REQUIRED)
    target_sources(gate_bench PRIVATE bench/posix/instruction_counter_posix.cpp)
    target_include_directories(gate_bench SYSTEM PRIVATE ${VRN_VALGRIND_INCLUDE_DIR})
endif()

# pow_bench: the gain computer's pow, time per call against std::pow, or one of them for an
# instruction counter.
vrn_add_tool(pow_bench bench/pow_bench.cpp LIBS vrn_effect)

# transform_bench: the transform built-ins timed next to FFTW (Debian libfftw3-dev).
if(NOT WIN32)
    find_path(VRN_FFTW3_INCLUDE_DIR fftw3.h REQUIRED)
    find_library(VRN_FFTW3_LIBRARY fftw3 REQUIRED)
    vrn_add_tool(transform_bench bench/transform_bench.cpp
        LIBS vrn_runtime vrn_platform ${VRN_FFTW3_LIBRARY})
    target_include_directories(transform_bench PRIVATE ${VRN_FFTW3_INCLUDE_DIR})
endif()
