# Strict warnings for the project's own targets only (third-party code keeps its own flags).
function(vrn_target_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wundef
        $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Woverloaded-virtual>)
    if(VRN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# Windows binaries carry no dependency on the toolchain's runtime DLLs.
function(vrn_static_runtime target)
    if(WIN32)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()
