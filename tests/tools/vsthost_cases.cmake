# Runs vsthost against the fake plug-in and checks exit codes and output; CASE picks the group.
# Expects VSTHOST, WAV_PROBE, PLUGIN, PLUGIN_MAIN_ONLY, PLUGIN_NO_ENTRY, WORK and, for Windows
# binaries, EMULATOR. Files are named relative to WORK, the working folder of every run.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# run(<tool> <expected exit code> <arguments>...): sets OUT and ERR (carriage returns removed).
function(run tool expected)
    execute_process(COMMAND ${EMULATOR} ${tool} ${ARGN}
        WORKING_DIRECTORY ${WORK}
        RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REPLACE "\r" "" out "${out}")
    string(REPLACE "\r" "" err "${err}")
    if(NOT code STREQUAL "${expected}")
        message(FATAL_ERROR "${tool} ${ARGN}\nexit ${code}, expected ${expected}\n"
            "stdout:\n${out}\nstderr:\n${err}")
    endif()
    set(OUT "${out}" PARENT_SCOPE)
    set(ERR "${err}" PARENT_SCOPE)
endfunction()

macro(vsthost expected)
    run(${VSTHOST} ${expected} ${ARGN})
endmacro()

macro(probe)
    run(${WAV_PROBE} 0 ${ARGN})
endmacro()

# Each argument must be a complete line of the last run's stdout.
function(expect_lines)
    foreach(line IN LISTS ARGN)
        string(FIND "\n${OUT}" "\n${line}\n" position)
        if(position EQUAL -1)
            message(FATAL_ERROR "missing line '${line}' in stdout:\n${OUT}")
        endif()
    endforeach()
endfunction()

# The arguments, joined, must be the whole stdout.
function(expect_stdout)
    string(CONCAT exact ${ARGV})
    if(NOT OUT STREQUAL exact)
        message(FATAL_ERROR "stdout:\n${OUT}\nexpected:\n${exact}")
    endif()
endfunction()

function(expect_stderr regex)
    if(NOT ERR MATCHES "${regex}")
        message(FATAL_ERROR "stderr does not match '${regex}':\n${ERR}")
    endif()
endfunction()

function(expect_file_size file size)
    file(SIZE ${WORK}/${file} actual)
    if(NOT actual EQUAL size)
        message(FATAL_ERROR "${file} has ${actual} bytes, expected ${size}")
    endif()
endfunction()

if(CASE STREQUAL "info")
    vsthost(0 ${PLUGIN} info)
    expect_lines(
        "magic: 0x56737450"
        "flags: 0x1031"
        "numPrograms: 1"
        "numParams: 2"
        "numInputs: 2"
        "numOutputs: 2"
        "initialDelay: 64"
        "uniqueID: FAKE (0x46414b45)"
        "version: 1001"
        "ioRatio: 1"
        "effectName: Fake Gain"
        "vendor: VARNE Test"
        "product: Fake Gain Fixture"
        "vendorVersion: 1234"
        "vstVersion: 2400"
        "category: 1"
        "programName: Default"
        "canDo receiveVstMidiEvent: -1"
        "canDo receiveVstEvents: -1"
        "canDo sendVstEvents: -1"
        "editorRect: 320x200")

elseif(CASE STREQUAL "params")
    vsthost(0 ${PLUGIN} params)
    expect_stdout("0\tGain\t0.500000\t1.000\tx\n1\tLatency\t0.064000\t64\tsmp\n")

elseif(CASE STREQUAL "set_get")
    vsthost(0 ${PLUGIN} set Gain 0.25 get Gain get 0 display Gain set 1 0.5 get Latency)
    expect_stdout("Gain = 0.25 (0.500 x)\nGain = 0.25 (0.500 x)\nGain = 0.25 (0.500 x)\n"
        "0.500\nLatency = 0.5 (500 smp)\nLatency = 0.5 (500 smp)\n")

elseif(CASE STREQUAL "unknown_parameter")
    vsthost(1 ${PLUGIN} get Volume)
    expect_stderr("unknown parameter 'Volume'")
    # Names match exactly and case-sensitively; an index past the last parameter is unknown.
    vsthost(1 ${PLUGIN} set gain 0.5)
    vsthost(1 ${PLUGIN} display 2)
    vsthost(1 ${PLUGIN} get "Gain ")

elseif(CASE STREQUAL "chunk")
    vsthost(0 ${PLUGIN} set Gain 0.25 set Latency 0.5 save-chunk state.bin)
    expect_lines("chunk: 12 bytes")
    expect_file_size(state.bin 12)
    vsthost(0 ${PLUGIN} load-chunk state.bin get Gain get Latency latency process 1 latency)
    expect_stdout("setChunk: 1\nGain = 0.25 (0.500 x)\nLatency = 0.5 (500 smp)\n"
        "latency: 64\nlatency: 500\n")
    # A chunk the plug-in refuses leaves the defaults; an empty file is passed on as size 0.
    file(WRITE ${WORK}/bad.bin "not a chunk")
    file(WRITE ${WORK}/empty.bin "")
    vsthost(0 ${PLUGIN} load-chunk bad.bin load-chunk empty.bin get Gain)
    expect_stdout("setChunk: 0\nsetChunk: 0\nGain = 0.5 (1.000 x)\n")

elseif(CASE STREQUAL "render")
    probe(tone in.wav f32 48000 2 1000)
    vsthost(0 --block 256 ${PLUGIN} set Gain 0.25 render in.wav out.wav dispatch 50 0 0 0)
    expect_lines("rendered: 1000 frames, latency: 64")
    expect_stderr("^$")
    set(report "blocks=4 last=232 max=256 suspended=0 aliased=0 lastpos=768 precision=float")
    if(NOT OUT MATCHES "${report}")
        message(FATAL_ERROR "blocks not as expected:\n${OUT}")
    endif()
    expect_file_size(out.wav 8044)
    probe(expect out.wav in.wav 0.5 1e-7)
    probe(stats out.wav)
    expect_lines("channels: 2" "rate: 48000" "frames: 1000" "peak 0: 0.2500" "peak 1: 0.1250")
    vsthost(0 ${PLUGIN} render in.wav out16.wav --out s16 render in.wav out64.wav --out f64)
    expect_file_size(out16.wav 4044)
    expect_file_size(out64.wav 16044)
    probe(expect out16.wav in.wav 1.0 4e-5)
    probe(expect out64.wav in.wav 1.0 1e-7)

elseif(CASE STREQUAL "render_mono")
    # A mono file feeds both inputs; the file's rate is kept although processing runs at 48 kHz.
    probe(tone mono.wav s16 44100 1 300)
    vsthost(0 --precision double --block 64 ${PLUGIN} render mono.wav out.wav dispatch 50 0 0 0)
    expect_stderr("warning: mono.wav is 44100 Hz, processing at 48000 Hz")
    set(report "blocks=5 last=44 max=64 suspended=0 aliased=0 lastpos=256 precision=double")
    if(NOT OUT MATCHES "${report}")
        message(FATAL_ERROR "blocks not as expected:\n${OUT}")
    endif()
    expect_file_size(out.wav 4844)
    probe(expect out.wav mono.wav 1.0 1e-12)
    probe(stats out.wav)
    expect_lines("channels: 2" "rate: 44100" "frames: 300")
    # Extra file channels are dropped.
    probe(tone three.wav f64 48000 3 100)
    vsthost(0 ${PLUGIN} render three.wav out3.wav)
    expect_stderr("3 channels, the plug-in 2 inputs")
    probe(expect out3.wav three.wav 1.0 1e-7)

elseif(CASE STREQUAL "refused")
    vsthost(3 --host-version 0 ${PLUGIN} info)
    expect_stderr("returned no effect")
    expect_stdout("")
    vsthost(3 --host-version 1 ${PLUGIN} info)
    expect_stderr("wrong magic 0x12345678")

elseif(CASE STREQUAL "load_errors")
    vsthost(2 missing_plugin.so info)
    vsthost(2 ${PLUGIN_NO_ENTRY} info)
    expect_stderr("exports none of VSTPluginMain, main, MAIN")
    file(WRITE ${WORK}/not_a_library.so "plain text")
    vsthost(2 not_a_library.so info)
    # Only the last fallback name is exported.
    vsthost(0 ${PLUGIN_MAIN_ONLY} info)
    expect_lines("effectName: Fake Gain")

elseif(CASE STREQUAL "file_errors")
    file(WRITE ${WORK}/garbage.wav "RIFF....WAVEfmt this is not a wave file")
    vsthost(4 ${PLUGIN} info render garbage.wav out.wav)
    expect_lines("effectName: Fake Gain")
    expect_stderr("garbage.wav")
    vsthost(4 ${PLUGIN} render missing.wav out.wav)
    probe(tone in.wav f32 48000 2 10)
    vsthost(4 ${PLUGIN} render in.wav no_folder/out.wav)
    vsthost(4 ${PLUGIN} load-chunk missing.bin)
    vsthost(4 ${PLUGIN} save-chunk no_folder/state.bin)

elseif(CASE STREQUAL "usage_errors")
    vsthost(1)
    vsthost(1 ${PLUGIN})
    # Commands are checked before anything is loaded.
    vsthost(1 missing_plugin.so frobnicate)
    expect_stderr("unknown command 'frobnicate'")
    vsthost(1 ${PLUGIN} info frobnicate)
    expect_stdout("")
    vsthost(1 --bogus ${PLUGIN} info)
    vsthost(1 --block 0 ${PLUGIN} info)
    vsthost(1 --block 65537 ${PLUGIN} info)
    vsthost(0 --block 65536 ${PLUGIN} latency)
    vsthost(1 --block ${PLUGIN} info)
    vsthost(1 --rate abc ${PLUGIN} info)
    vsthost(1 --rate -5 ${PLUGIN} info)
    vsthost(1 --tempo 0 ${PLUGIN} info)
    vsthost(1 --precision quad ${PLUGIN} info)
    vsthost(1 --host-version 2.5 ${PLUGIN} info)
    vsthost(1 ${PLUGIN} set Gain abc)
    vsthost(1 ${PLUGIN} set Gain)
    vsthost(1 ${PLUGIN} render in.wav)
    vsthost(1 ${PLUGIN} render in.wav out.wav --out mp3)
    vsthost(1 ${PLUGIN} dispatch 1 2 3)
    vsthost(1 ${PLUGIN} dispatch 1 2 x 0)
    vsthost(1 ${PLUGIN} process -1)
    vsthost(0 --help)
    expect_lines("usage: vsthost [options] PLUGIN COMMAND...")

elseif(CASE STREQUAL "latency")
    vsthost(0 ${PLUGIN} latency set Latency 0.125 latency process 16 latency process 0)
    expect_stdout("latency: 64\nLatency = 0.125 (125 smp)\nlatency: 64\nlatency: 125\n")

elseif(CASE STREQUAL "time_info")
    vsthost(0 ${PLUGIN} process 1000 dispatch 50 1 0 0)
    expect_lines("text: time: pos=1000 rate=48000 tempo=120 ppq=0.041667 sig=4/4 flags=0x2602")
    vsthost(0 --rate 44100 --tempo 90 ${PLUGIN} process 44100 dispatch 50 1 0 0)
    expect_lines("text: time: pos=44100 rate=44100 tempo=90 ppq=1.500000 sig=4/4 flags=0x2602")
    vsthost(0 --no-time-info ${PLUGIN} process 10 dispatch 50 1 0 0 dispatch 50 0 0 0)
    expect_lines("text: time: none")
    if(NOT OUT MATCHES "lastpos=-1")
        message(FATAL_ERROR "the plug-in saw time info:\n${OUT}")
    endif()

elseif(CASE STREQUAL "trace")
    vsthost(0 --trace --host-version 2300 --block 128 ${PLUGIN} dispatch 50 2 0 0)
    expect_lines("answer: 1"
        "text: vendor=Quorrin Sound product=vsthost version=2300 rate=48000 block=128")
    # The version question comes from the entry point, before the record exists.
    expect_stderr("^host: opcode=1 index=0 value=0 opt=0\n")
    expect_stderr("\nhost: opcode=32 index=0 value=0 opt=0\n")
    # Options come before PLUGIN; afterwards they are unknown commands.
    vsthost(1 ${PLUGIN} set Latency 0.2 process 4 --trace)
    vsthost(0 --trace ${PLUGIN} set Latency 0.2 process 4)
    expect_stderr("\nhost: opcode=13 index=0 value=0 opt=0\n")
    # Opening order, and suspend/resume reach the plug-in.
    vsthost(0 ${PLUGIN} dispatch 50 0 0 0 suspend resume dispatch 50 0 0 0)
    set(idle "blocks=0 last=0 max=0 suspended=0 aliased=0 lastpos=-1 precision=none")
    expect_lines("text: opcodes=0,10,11,12 ${idle}" "text: opcodes=0,10,11,12,12,12 ${idle}")

elseif(CASE STREQUAL "robustness")
    vsthost(0 ${PLUGIN} set Gain nan get Gain set Gain inf set Gain -1e30 display Gain
        set 1 nan process 600 latency set Gain 0.5 dispatch 9999 -5 123 nan dispatch 50 7 -1 0
        dispatch 13 0 0 0 info)
    if(NOT OUT MATCHES "Gain = -?nan \\(-?nan x\\)")
        message(FATAL_ERROR "nan not passed through:\n${OUT}")
    endif()
    expect_lines("latency: 64" "answer: 0" "editorRect: 320x200")
    # After a raw effClose the instance is gone: later commands fail instead of crashing.
    vsthost(1 ${PLUGIN} dispatch 1 0 0 0 info)
    expect_stderr("info: the instance has been closed")
    vsthost(0 ${PLUGIN} suspend suspend resume resume process 10)

else()
    message(FATAL_ERROR "unknown CASE '${CASE}'")
endif()
