# Drives the real plug-in through the host tool and checks what a host sees; CASE picks the
# group. Expects VSTHOST, PLUGIN, REFERENCE, EXAMPLE, FLAGS, WORK and, for Windows binaries,
# EMULATOR. With the environment variable VRN_NATIVE_BUILD (a native build folder) the signal
# and the reference come from its native tools instead: each start of an emulated Windows
# program costs most of a minute.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../case_helpers.cmake)

# helper_tool(<tool> <native tool in VRN_NATIVE_BUILD> <exit code> <arguments>...)
macro(helper_tool tool native)
    if(DEFINED ENV{VRN_NATIVE_BUILD})
        set(saved_emulator "${EMULATOR}")
        set(EMULATOR "")
        run($ENV{VRN_NATIVE_BUILD}/${native} ${ARGN})
        set(EMULATOR "${saved_emulator}")
    else()
        run(${tool} ${ARGN})
    endif()
endmacro()
# example(<exit code> <arguments>...), reference(...): the signal writer and the plain gate.
macro(example)
    helper_tool(${EXAMPLE} tools/example_signal ${ARGN})
endmacro()
macro(reference)
    helper_tool(${REFERENCE} tests/integration/gate_reference ${ARGN})
endmacro()

set(names "Attack" "Release Lo" "Release Hi" "Threshold Lo" "Threshold Hi" "Crossover"
    "Ratio [Exp<>Gate]" "Monitor" "Pre-Gate" "Band Link")

if(CASE STREQUAL "identity")
    vsthost(0 ${PLUGIN} info)
    expect_lines(
        "magic: 0x56737450"
        "flags: ${FLAGS}"
        "numPrograms: 1"
        "numParams: 10"
        "numInputs: 2"
        "numOutputs: 2"
        "initialDelay: 0"
        "uniqueID: VRN2 (0x56524e32)"
        "version: 1"
        "ioRatio: 1"
        "effectName: VARNE Gate"
        "vendor: Quorrin Sound"
        "product: VARNE Gate"
        "vendorVersion: 1000"
        "vstVersion: 2400"
        "category: 0"
        "programName: VARNE Gate"
        "canDo receiveVstEvents: -1")
    math(EXPR midi "${FLAGS} | 0x100")
    expect_lines("canDo receiveVstMidiEvent: ${midi}")
    if(FLAGS STREQUAL "0x1031")
        expect_lines("editorRect: 450x500")
    endif()

elseif(CASE STREQUAL "refused")
    vsthost(3 --host-version 0 ${PLUGIN} info)

elseif(CASE STREQUAL "parameters")
    vsthost(0 ${PLUGIN} params)
    set(expected
        "0\tAttack\t0.000000\t0.00\t\n"
        "1\tRelease Lo\t0.015075\t20.00\t\n"
        "2\tRelease Hi\t0.015075\t20.00\t\n"
        "3\tThreshold Lo\t0.500000\t-45.00\t\n"
        "4\tThreshold Hi\t0.500000\t-45.00\t\n"
        "5\tCrossover\t0.050633\t500.00\t\n"
        "6\tRatio [Exp<>Gate]\t0.157895\t2.00\t\n"
        "7\tMonitor\t0.000000\tOutput\t\n"
        "8\tPre-Gate\t0.000000\tOff\t\n"
        "9\tBand Link\t0.000000\t0.00\t\n")
    string(CONCAT expected ${expected})
    if(NOT OUT STREQUAL expected)
        message(FATAL_ERROR "params:\n${OUT}\nexpected:\n${expected}")
    endif()
    # Values quantise to the step: 0.5 of Attack is 5 ms, all of Band Link 100 %, none of
    # Release Hi its minimum of 5 ms.
    vsthost(0 ${PLUGIN} set Attack 0.5 set "Band Link" 1 set 2 0 set Monitor 1 set Pre-Gate 1
        display 0 display 9 display 2 display 7 display 8 set Monitor 0.66 display Monitor)
    expect_lines("Attack = 0.5 (5.00)" "Band Link = 1 (100.00)" "Release Hi = 0 (5.00)"
        "Monitor = 1 (Hi-band)" "Pre-Gate = 1 (On)" "5.00" "100.00" "Hi-band" "On" "Lo-band")

elseif(CASE STREQUAL "chunk")
    vsthost(0 ${PLUGIN} save-chunk fresh.bin)
    expect_lines("chunk: 260 bytes")
    file(READ ${WORK}/fresh.bin head LIMIT 8 HEX)
    if(NOT head STREQUAL "00007ac400000000")
        message(FATAL_ERROR "chunk starts with ${head}, not -1000.0f then 0.0f")
    endif()
    vsthost(0 ${PLUGIN} set Attack 0.37 set "Release Lo" 0.2 set "Threshold Hi" 0.1
        set Crossover 0.9 set "Ratio [Exp<>Gate]" 0.77 set Monitor 0.4 set Pre-Gate 1
        set "Band Link" 0.42 params save-chunk edited.bin)
    string(REGEX MATCHALL "[0-9]\t[^\n]*\n" edited "${OUT}")
    vsthost(0 ${PLUGIN} load-chunk edited.bin params)
    expect_lines("setChunk: 260")
    string(REGEX MATCHALL "[0-9]\t[^\n]*\n" restored "${OUT}")
    if(NOT restored STREQUAL edited)
        message(FATAL_ERROR "restored parameters:\n${restored}\nsaved:\n${edited}")
    endif()
    # A chunk without the marker, or too short, is taken and changes nothing.
    file(WRITE ${WORK}/bad.bin "not a chunk of this plug-in")
    file(WRITE ${WORK}/short.bin "ab")
    vsthost(0 ${PLUGIN} load-chunk bad.bin load-chunk short.bin save-chunk after.bin)
    expect_lines("setChunk: 27" "setChunk: 2")
    file(SHA256 ${WORK}/fresh.bin fresh)
    file(SHA256 ${WORK}/after.bin after)
    if(NOT fresh STREQUAL after)
        message(FATAL_ERROR "a rejected chunk changed the state")
    endif()

elseif(CASE STREQUAL "latency")
    # The look-ahead is reported at the next processing call, and 0 again once it is off.
    vsthost(0 ${PLUGIN} set Attack 0.1 set Pre-Gate 1 latency process 1 latency
        set Pre-Gate 0 process 1 latency)
    expect_lines("latency: 0" "latency: 48")
    string(REGEX MATCHALL "latency: [0-9]+" reports "${OUT}")
    if(NOT reports STREQUAL "latency: 0;latency: 48;latency: 0")
        message(FATAL_ERROR "latency reports: ${reports}")
    endif()

elseif(CASE STREQUAL "proof")
    # The shipped binary in one run of the host tool: its identity, a render from the fresh
    # state against the plain calculation, parameters quantised, and a chunk round trip.
    example(0 input.wav)
    reference(0 render input.wav reference.wav 512
        0 0.01507538 0.01507538 0.5 0.5 0.05063291 0.15789474 0 0 0)
    vsthost(0 --block 512 ${PLUGIN} info render input.wav float.wav --out f32
        set Attack 0.5 set "Band Link" 1 set Monitor 1 display 0 display 9 display 7
        save-chunk edited.bin params set Attack 0 set Monitor 0 load-chunk edited.bin params)
    expect_lines("uniqueID: VRN2 (0x56524e32)" "numParams: 10" "effectName: VARNE Gate"
        "flags: ${FLAGS}" "5.00" "100.00" "Hi-band" "chunk: 260 bytes" "setChunk: 260")
    string(REGEX MATCHALL "0\tAttack\t[^\n]*\n" attack "${OUT}")
    if(NOT attack STREQUAL "0\tAttack\t0.500000\t5.00\t\n;0\tAttack\t0.500000\t5.00\t\n")
        message(FATAL_ERROR "the chunk did not restore Attack:\n${OUT}")
    endif()
    reference(0 compare float.wav reference.wav 1e-6)

elseif(CASE STREQUAL "render")
    example(0 input.wav)
    # name | the ten normalised parameter values
    set(settings
        "default|0 0.01507538 0.01507538 0.5 0.5 0.05063291 0.15789474 0 0 0"
        "hard|0 0.0753769 0.0351759 0.5555556 0.5555556 0.05063291 1 0 0 0"
        "pregate|0.25 0.01507538 0.4 0.5555556 0.5555556 0.05063291 0.5789474 0 1 0"
        "detector|0 0.1 0.2 0.5 0.8888889 0.24050633 0.3 0.33333334 0 1"
        "loband|1 0.3 0.01507538 0.6 0.4 0.5 0.7 0.6666667 1 0.5"
        "hiband|0.05 0.5 0.9 0.3 0.7 0.9 0.05 1 1 0.25")
    foreach(entry IN LISTS settings)
        string(REPLACE "|" ";" entry "${entry}")
        list(GET entry 0 name)
        list(GET entry 1 values)
        separate_arguments(values)
        set(commands)
        set(index 0)
        foreach(value IN LISTS values)
            list(APPEND commands set ${index} ${value})
            math(EXPR index "${index} + 1")
        endforeach()
        reference(0 render input.wav ${name}-reference.wav 512 ${values})
        vsthost(0 --precision double --block 512 ${PLUGIN} ${commands}
            render input.wav ${name}-double.wav --out f64)
        reference(0 compare ${name}-double.wav ${name}-reference.wav 1e-9)
        # Single precision: the same within the rounding of 32-bit output samples.
        vsthost(0 --block 512 ${PLUGIN} ${commands} render input.wav ${name}-float.wav --out f32)
        reference(0 compare ${name}-float.wav ${name}-reference.wav 1e-6)
    endforeach()

elseif(CASE STREQUAL "hostile")
    # Non-finite and out-of-range parameter values, indexes past the table, garbage opcodes:
    # each call gets a safe answer and the plug-in keeps working.
    vsthost(0 ${PLUGIN} set Crossover nan set Attack inf set "Band Link" -inf set Monitor 1e30
        dispatch 8 99 0 0 dispatch 7 -5 0 0 dispatch 6 1000000 0 0 dispatch 2 0 7 0
        dispatch 3 0 0 0 dispatch 29 3 0 0 dispatch 9999 0 0 0 dispatch 24 0 0 0
        process 64 params)
    expect_lines("answer: 0" "5\tCrossover\t0.050633\t500.00\t" "0\tAttack\t1.000000\t10.00\t"
        "9\tBand Link\t0.000000\t0.00\t" "7\tMonitor\t1.000000\tHi-band\t")
else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()
