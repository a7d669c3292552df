# Generates a C++ source that embeds files as the library's numbered resources (Linux builds; the
# Windows ones embed them with windres). Run with cmake -P:
#   -DRC=<resources.rc>   which files, by number: lines "<id> DATA "<file>"", files beside it
#   -DOUTPUT=<source>     the source to write
# The source holds each file as a byte array and adds them to the resources of the library it is
# linked into (editor/x11/embedded_resources.h) when the library loads.
cmake_minimum_required(VERSION 3.25)

get_filename_component(folder ${RC} DIRECTORY)
file(STRINGS ${RC} lines REGEX "^[0-9]+[ \t]+DATA[ \t]+\"[^\"]+\"")
set(arrays "")
set(rows "")
foreach(line IN LISTS lines)
    string(REGEX MATCH "^([0-9]+)[ \t]+DATA[ \t]+\"([^\"]+)\"" match "${line}")
    set(id ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
    set(file ${folder}/${name})
    file(READ ${file} hex HEX)
    string(LENGTH "${hex}" digits)
    if(digits EQUAL 0)
        message(FATAL_ERROR "${file} is empty")
    endif()
    # Two hex digits a byte, sixteen bytes a line (CMake's expressions have no counted repeats).
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
    string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "// ${name}\nconst unsigned char kResource${id}[] = {\n    ${bytes}\n};\n")
    string(APPEND rows "    {${id}, kResource${id}, sizeof kResource${id}},\n")
endforeach()
if(rows STREQUAL "")
    message(FATAL_ERROR "${RC} names no DATA resources")
endif()

file(CONFIGURE OUTPUT ${OUTPUT}.new @ONLY CONTENT "// Generated from @RC@ by cmake/embed_resources.cmake: do not edit.
#include \"editor/x11/embedded_resources.h\"

namespace
{
@arrays@
const vrn::editor_platform::EmbeddedResource kResources[] = {
@rows@};

// Adds the resources when the library loads.
const vrn::editor_platform::EmbeddedResourceTable kTable(kResources,
                                                         sizeof kResources / sizeof kResources[0]);
} // namespace
")
# Rewritten only when it changes, so that an unchanged picture compiles nothing again.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
