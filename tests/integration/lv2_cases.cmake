# The LV2 bundle through Debian's real LV2 tools (lilv's lv2info and lv2apply), against the
# VST 2.4 library rendering the same input through the host tool. CASE picks the group.
# Expects BUNDLES (the folder holding VarneGate.lv2), CORE_BUNDLES (the folder holding lv2-dev's
# core.lv2), LIBRARY (the bundle's library), LV2INFO, LV2APPLY, READELF, VSTHOST, PLUGIN (the
# VST 2.4 library), EXAMPLE, REFERENCE and WORK.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../case_helpers.cmake)

set(uri "urn:uuid:7fede498-d643-400c-a564-91621919238f")
# Our bundle and the folder of the core vocabulary (class labels), not ~/.lv2.
set(ENV{LV2_PATH} "${BUNDLES}:${CORE_BUNDLES}")

# pair_arguments(<variable> <word> <a1> <b1> <a2> <b2>...): "<word> a1 b1 <word> a2 b2 ...".
function(pair_arguments variable word)
    set(pairs ${ARGN})
    set(arguments)
    list(LENGTH pairs count)
    while(count GREATER 1)
        list(POP_FRONT pairs first second)
        list(APPEND arguments ${word} ${first} ${second})
        math(EXPR count "${count} - 2")
    endwhile()
    set(${variable} ${arguments} PARENT_SCOPE)
endfunction()

foreach(tool LV2INFO LV2APPLY)
    if(NOT ${tool})
        message(FATAL_ERROR "${tool} not found: scripts/setup.sh installs lilv-utils")
    endif()
endforeach()

if(CASE STREQUAL "info")
    run(${LV2INFO} 0 ${uri})
    expect_lines("${uri}" "\tName:              VARNE Gate" "\tClass:             Gate Plugin"
        "\tAuthor:            Quorrin Sound" "\tHas latency:       yes, reported by port 14"
        "\tExtension Data:    http://lv2plug.in/ns/ext/state#interface")
    if(NOT OUT MATCHES "Optional Features:[^\n]*\n([^\n]*\n)?[ \t]*http://lv2plug.in/ns/lv2core#hardRTCapable")
        message(FATAL_ERROR "not hard real-time capable:\n${OUT}")
    endif()
    # Every port, in index order: symbol | name | minimum | maximum | default.
    set(controls
        "attack|Attack|0.000000|10.000000|0.000000"
        "release_lo|Release Lo|5.000000|1000.000000|20.000000"
        "release_hi|Release Hi|5.000000|1000.000000|20.000000"
        "threshold_lo|Threshold Lo|-90.000000|0.000000|-45.000000"
        "threshold_hi|Threshold Hi|-90.000000|0.000000|-45.000000"
        "crossover|Crossover|100.000000|8000.000000|500.000000"
        "ratio|Ratio [Exp<>Gate]|0.500000|10.000000|2.000000"
        "monitor|Monitor|0.000000|3.000000|0.000000"
        "pre_gate|Pre-Gate|0.000000|1.000000|0.000000"
        "band_link|Band Link|0.000000|100.000000|0.000000")
    string(REGEX MATCHALL "\tPort [0-9]+:\n" headings "${OUT}")
    list(LENGTH headings count)
    if(NOT count EQUAL 15)
        message(FATAL_ERROR "${count} ports, not 15:\n${OUT}")
    endif()
    # port_text(<index> <variable>): lv2info's lines about port <index>.
    function(port_text index variable)
        math(EXPR next "${index} + 1")
        string(FIND "${OUT}" "\tPort ${index}:\n" start)
        string(FIND "${OUT}" "\tPort ${next}:\n" end)
        if(end EQUAL -1)
            string(LENGTH "${OUT}" end)
        endif()
        math(EXPR length "${end} - ${start}")
        string(SUBSTRING "${OUT}" ${start} ${length} text)
        set(${variable} "${text}" PARENT_SCOPE)
    endfunction()
    set(index 0)
    foreach(control IN LISTS controls)
        string(REPLACE "|" ";" fields "${control}")
        list(GET fields 0 symbol)
        list(GET fields 1 name)
        list(GET fields 2 minimum)
        list(GET fields 3 maximum)
        list(GET fields 4 default)
        port_text(${index} port)
        foreach(line "Port ${index}:" "#ControlPort" "#InputPort" "Symbol:      ${symbol}"
                "Name:        ${name}" "Minimum:     ${minimum}" "Maximum:     ${maximum}"
                "Default:     ${default}")
            string(FIND "${port}" "${line}\n" found)
            if(found EQUAL -1)
                message(FATAL_ERROR "port ${index} lacks '${line}':\n${port}")
            endif()
        endforeach()
        math(EXPR index "${index} + 1")
    endforeach()
    foreach(audio "10|#InputPort|in_l" "11|#InputPort|in_r" "12|#OutputPort|out_l"
            "13|#OutputPort|out_r")
        string(REPLACE "|" ";" fields "${audio}")
        list(GET fields 0 index)
        list(GET fields 1 direction)
        list(GET fields 2 symbol)
        port_text(${index} port)
        if(NOT port MATCHES "#AudioPort\n[^\n]*${direction}\n[^\n]*Symbol: +${symbol}\n")
            message(FATAL_ERROR "port ${index} is not audio ${symbol}:\n${port}")
        endif()
    endforeach()
    port_text(14 port)
    if(NOT port MATCHES "#ControlPort\n[^\n]*#OutputPort\n[^\n]*Symbol: +latency\n")
        message(FATAL_ERROR "port 14 is not the latency output:\n${port}")
    endif()
    # The selectors' labels, as enumerations.
    port_text(7 monitor)
    port_text(8 pregate)
    foreach(line "0 = \"Output\"" "1 = \"Detector\"" "2 = \"Lo-band\"" "3 = \"Hi-band\""
            "#enumeration")
        string(FIND "${monitor}" "${line}\n" found)
        if(found EQUAL -1)
            message(FATAL_ERROR "Monitor lacks '${line}':\n${monitor}")
        endif()
    endforeach()
    foreach(line "0 = \"Off\"" "1 = \"On\"" "#enumeration")
        string(FIND "${pregate}" "${line}\n" found)
        if(found EQUAL -1)
            message(FATAL_ERROR "Pre-Gate lacks '${line}':\n${pregate}")
        endif()
    endforeach()

    # Units, integer steps and ranges as lilv read them (its own Turtle of the plug-in).
    run(${LV2INFO} 0 -p ${WORK}/description.ttl ${uri})
    file(READ ${WORK}/description.ttl description)
    # One list element per port: Turtle's semicolons become "|", and brackets (which CMake
    # lists treat as grouping) round ones.
    string(REPLACE "\n\t] , [\n" "\n@port@\n" description "${description}")
    string(REPLACE ";" "|" description "${description}")
    string(REPLACE "[" "(" description "${description}")
    string(REPLACE "]" ")" description "${description}")
    string(REPLACE "@port@" ";" blocks "${description}")
    set(units "attack|ms" "release_lo|ms" "release_hi|ms" "threshold_lo|db" "threshold_hi|db"
        "crossover|hz" "band_link|pc" "latency|frame")
    set(integers release_lo release_hi threshold_lo threshold_hi monitor pre_gate band_link
        latency)
    set(steps "attack|101" "crossover|791" "ratio|96")
    foreach(block IN LISTS blocks)
        if(NOT block MATCHES "lv2:symbol \"([a-z_]+)\"")
            continue()
        endif()
        set(symbol ${CMAKE_MATCH_1})
        set(unit "")
        if(block MATCHES "units#unit> <http://lv2plug.in/ns/extensions/units#([a-z]+)>")
            set(unit ${CMAKE_MATCH_1})
        endif()
        set(expected "")
        foreach(entry IN LISTS units)
            if(entry MATCHES "^${symbol}\\|(.*)$")
                set(expected ${CMAKE_MATCH_1})
            endif()
        endforeach()
        if(NOT unit STREQUAL expected)
            message(FATAL_ERROR "${symbol}: unit '${unit}', not '${expected}'")
        endif()
        list(FIND integers ${symbol} integer)
        if(NOT integer EQUAL -1 AND NOT block MATCHES "lv2:integer")
            message(FATAL_ERROR "${symbol} is not integer:\n${block}")
        endif()
        foreach(entry IN LISTS steps)
            if(entry MATCHES "^${symbol}\\|(.*)$")
                set(count ${CMAKE_MATCH_1})
                if(NOT block MATCHES "port-props#rangeSteps> ${count} \\|")
                    message(FATAL_ERROR "${symbol} is not in ${count} steps:\n${block}")
                endif()
            endif()
        endforeach()
        list(APPEND seen ${symbol})
    endforeach()
    list(LENGTH seen count)
    if(NOT count EQUAL 15)
        message(FATAL_ERROR "lilv's description has ${count} named ports: ${seen}")
    endif()

elseif(CASE STREQUAL "render")
    # lv2apply runs the plug-in one frame per call; the host tool does the same with --block 1,
    # so the two renders must agree bit for bit. Each entry: name | lv2apply controls (the
    # sliders' own units) | the same as normalised VST 2.4 parameters (index value ...).
    run(${EXAMPLE} 0 input.wav)
    set(settings
        "default||"
        "hard|release_lo 80 release_hi 40 threshold_lo -40 threshold_hi -40 ratio 10|1 0.0753768831 2 0.0351758786 3 0.555555582 4 0.555555582 6 1"
        "pregate|attack 2.5 release_hi 403 threshold_lo -40 threshold_hi -40 ratio 6 pre_gate 1|0 0.25 2 0.400000006 3 0.555555582 4 0.555555582 6 0.578947365 8 1"
        "detector|release_lo 105 release_hi 204 threshold_hi -10 crossover 2000 ratio 3.4 monitor 1 band_link 100|1 0.100502513 2 0.200000003 4 0.888888896 5 0.240506336 6 0.305263162 7 0.333333343 9 1"
        "loband|attack 10 release_lo 303 threshold_lo -36 threshold_hi -54 crossover 4050 ratio 7.1 monitor 2 pre_gate 1 band_link 50|0 1 1 0.299497485 3 0.600000024 4 0.400000006 5 0.5 6 0.694736838 7 0.666666687 8 1 9 0.5"
        "hiband|attack 0.5 release_lo 502 release_hi 900 threshold_lo -63 threshold_hi -27 crossover 7210 ratio 1 monitor 3 pre_gate 1 band_link 25|0 0.0500000007 1 0.499497473 2 0.899497509 3 0.300000012 4 0.699999988 5 0.899999976 6 0.0526315793 7 1 8 1 9 0.25"
        # Values outside the ranges clamp as host values do (off the grid: quantised).
        "clamped|attack 50 crossover 1e6 threshold_lo -200 ratio 2.14 release_lo 0|0 1 5 1 3 0 6 0.172631577 1 0")
    foreach(entry IN LISTS settings)
        string(REPLACE "|" ";" entry "${entry}")
        list(GET entry 0 name)
        list(GET entry 1 controls)
        list(GET entry 2 parameters)
        separate_arguments(controls)
        separate_arguments(parameters)
        pair_arguments(lv2_args -c ${controls})
        pair_arguments(vst_args set ${parameters})
        run(${LV2APPLY} 0 -i input.wav -o ${name}-lv2.wav ${lv2_args} ${uri})
        run(${VSTHOST} 0 --block 1 ${PLUGIN} ${vst_args} render input.wav ${name}-vst.wav
            --out f32)
        run(${REFERENCE} 0 compare ${name}-lv2.wav ${name}-vst.wav 0)
        expect_lines("max difference: 0")
    endforeach()

elseif(CASE STREQUAL "library")
    # Needs only the C and C++ runtimes, and exports only the entry point.
    run(${READELF} 0 -d -W ${LIBRARY})
    string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[([^]]+)\\]" needed "${OUT}")
    foreach(entry IN LISTS needed)
        string(REGEX REPLACE ".*\\[(.*)\\]" "\\1" library "${entry}")
        if(NOT library MATCHES "^(libc|libm|libstdc\\+\\+|libgcc_s)\\.so\\.[0-9]+$" AND
                NOT library MATCHES "^ld-linux")
            message(FATAL_ERROR "the LV2 library needs ${library}:\n${OUT}")
        endif()
    endforeach()
    run(nm 0 -D --defined-only ${LIBRARY})
    string(REGEX MATCHALL " [TDBVW] [A-Za-z_][A-Za-z_0-9]*" names "${OUT}")
    string(REGEX REPLACE " [TDBVW] " "" names "${names}")
    if(NOT names STREQUAL "lv2_descriptor")
        message(FATAL_ERROR "exports: ${names}")
    endif()
else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()
