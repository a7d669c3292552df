# GatePow micro-benchmark: time per call against std::pow, or one of them for an instruction
# counter (see tools/pow_bench.cpp). Included from tools/CMakeLists.txt.
if(NOT VRN_BUILD_BENCHMARKS)
    return()
endif()
add_executable(pow_bench pow_bench.cpp)
target_link_libraries(pow_bench PRIVATE vrn_runtime)
target_include_directories(pow_bench PRIVATE ${PROJECT_SOURCE_DIR})
vrn_target_warnings(pow_bench)
vrn_static_runtime(pow_bench)
