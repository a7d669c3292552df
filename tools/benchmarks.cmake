# Benchmarks, not tests: the transform built-ins timed next to FFTW (Debian libfftw3-dev).
# Meant for an optimised tree, e.g. -DCMAKE_BUILD_TYPE=RelWithDebInfo (-O2) -DVRN_BUILD_BENCHMARKS=ON.
if(VRN_BUILD_BENCHMARKS AND NOT WIN32)
    find_path(VRN_FFTW3_INCLUDE_DIR fftw3.h REQUIRED)
    find_library(VRN_FFTW3_LIBRARY fftw3 REQUIRED)
    add_executable(transform_bench ${CMAKE_CURRENT_LIST_DIR}/transform_bench.cpp)
    target_include_directories(transform_bench PRIVATE ${PROJECT_SOURCE_DIR} ${VRN_FFTW3_INCLUDE_DIR})
    target_link_libraries(transform_bench PRIVATE vrn_runtime vrn_platform ${VRN_FFTW3_LIBRARY})
    vrn_target_warnings(transform_bench)
endif()
