# 64-bit Windows with the mingw-w64 -posix compilers (the -win32 ones lack std::condition_variable).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The 64-bit loader directly: it runs where the machine has no 32-bit support.
get_filename_component(vrn_wine64 ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine64 ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${vrn_wine64})
