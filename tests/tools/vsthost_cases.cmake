# Runs vsthost against the fake plug-in and checks exit codes and output; CASE picks the group.
# Expects VSTHOST, WAV_PROBE, PLUGIN, PLUGIN_MAIN_ONLY, PLUGIN_NO_ENTRY, WORK and, for Windows
# binaries, EMULATOR. Files are named relative to WORK, the working folder of every run.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../case_helpers.cmake)

macro(probe)
    run(${WAV_PROBE} 0 ${ARGN})
endmacro()

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

elseif(CASE STREQUAL "command_table")
    # The usage lists every command with its arguments, from the one table.
    vsthost(0 --help)
    foreach(row "info" "params" "get P" "set P X" "display P" "save-chunk FILE" "load-chunk FILE"
            "render IN.wav OUT.wav \\[--out f32\\|f64\\|s16\\]" "latency" "process N" "suspend"
            "resume" "dispatch OPCODE INDEX VALUE OPT")
        if(NOT OUT MATCHES "\n  ${row}( +[a-z(]|\n)")
            message(FATAL_ERROR "--help lacks the row '${row}':\n${OUT}")
        endif()
    endforeach()
    # Each wrong count names the command and what it needs; nothing is loaded or run.
    vsthost(1 missing_plugin.so get)
    expect_stderr("get needs 1 argument\n")
    vsthost(1 missing_plugin.so info set Gain)
    expect_stderr("set needs 2 arguments\n")
    expect_stdout("")
    vsthost(1 missing_plugin.so dispatch 1 2 3)
    expect_stderr("dispatch needs 4 arguments\n.*vsthost --help lists them")
    # A command's own parser answers for its values; an unknown word is an unknown command.
    vsthost(1 ${PLUGIN} set Gain abc)
    expect_stderr("set: 'abc' is not a number")
    vsthost(1 ${PLUGIN} info infos)
    expect_stderr("unknown command 'infos'")
    expect_stdout("")
    vsthost(1 ${PLUGIN} render in.wav out.wav --out)
    expect_stderr("render --out needs f32, f64 or s16")

elseif(CASE STREQUAL "editor")
    # Windows builds: the editor in a window of the tool's own. Its rows join the table.
    vsthost(0 --help)
    expect_lines("  editor-open                        opens the editor in a window of its own")
    if(NOT OUT MATCHES "\n  mouse-drag X0 Y0 X1 Y1 \\[shift\\|control\\][ \n]+rests")
        message(FATAL_ERROR "--help lacks mouse-drag:\n${OUT}")
    endif()
    # Size, idle rhythm and the pixels the editor painted.
    vsthost(0 ${PLUGIN} editor-open editor-idle 200 editor-png shot.png dispatch 50 3 0 0
        editor-close)
    expect_lines("editor: 320x200" "png: shot.png 320x200")
    if(NOT OUT MATCHES "text: idles=([0-9]+) paints=[1-9]" OR CMAKE_MATCH_1 LESS 10)
        message(FATAL_ERROR "the editor was not idled and painted:\n${OUT}")
    endif()
    run(${PNG_PROBE} 0 shot.png 5 5 20 20 119 59 120 60 50 100 319 199)
    expect_lines("size: 320x200" "pixel 5,5: 204080" "pixel 20,20: c82828" "pixel 119,59: c82828"
        "pixel 120,60: 204080" "pixel 50,100: 204080" "pixel 319,199: 204080")
    # Mouse messages reach the editor's own window at editor coordinates, with the button and
    # key flags (MK_LBUTTON 0x1, MK_SHIFT 0x4, MK_CONTROL 0x8); a press sets Gain to x / 320.
    vsthost(0 ${PLUGIN} editor-open mouse-move 10 20 mouse-down 80 50 shift mouse-up 81 51 shift
        get Gain wheel 30 40 -240 control mouse-move 319 199 control dispatch 50 3 0 0)
    expect_lines("Gain = 0.25 (0.500 x)")
    set(events "move 10,20 0x0;down 80,50 0x5;up 81,51 0x4;wheel 30,40 0x8 -240;move 319,199 0x8")
    if(NOT OUT MATCHES "\ntext: idles=6 paints=[0-9]+ events=${events}\n")
        message(FATAL_ERROR "mouse messages not as expected:\n${OUT}")
    endif()
    # A drag: the pointer arrives at the start (two moves) and rests, then a press, eight moves with the button held, the
    # release; the editor is idled between the steps.
    vsthost(0 ${PLUGIN} editor-open mouse-drag 0 100 240 10 control get Gain dispatch 50 3 0 0
        editor-close)
    expect_lines("Gain = 0.75 (1.500 x)")
    if(NOT OUT MATCHES "events=move 0,100 0x8;move 0,100 0x8;down 0,100 0x9;move 30,89 0x9;.*;move 210,22 0x9;move 240,10 0x9;up 240,10 0x8\n")
        message(FATAL_ERROR "drag not as expected:\n${OUT}")
    endif()
    # Each wheel notch adds 0.1 to Gain.
    vsthost(0 ${PLUGIN} editor-open set Gain 0.5 wheel 5 5 120 wheel 5 5 120 get Gain)
    if(NOT OUT MATCHES "\nGain = 0.7[0-9]* \\(1.400 x\\)\n")
        message(FATAL_ERROR "wheel not as expected:\n${OUT}")
    endif()
    # The cost of one editor frame: repaints timed one by one.
    vsthost(0 ${PLUGIN} editor-open editor-bench 3)
    if(NOT OUT MATCHES "\npaint: 3 frames, [0-9.]+ ms median, [0-9.]+ ms 95th percentile, [0-9.]+ ms 99th percentile \\(min [0-9.]+, max [0-9.]+\\), [0-9.]+ % of one core at 30 frames per second, [0-9.]+ allocations per frame\n")
        message(FATAL_ERROR "editor-bench not as expected:\n${OUT}")
    endif()
    # Idling can play a file through the plug-in, as a host would while the editor shows.
    probe(tone in.wav f32 48000 2 4800)
    vsthost(0 ${PLUGIN} editor-open editor-idle 150 --play in.wav dispatch 50 0 0 0)
    if(NOT OUT MATCHES "blocks=[1-9]")
        message(FATAL_ERROR "nothing was processed while idling:\n${OUT}")
    endif()
    # Without an open editor the editor commands refuse; arguments are checked first.
    vsthost(1 ${PLUGIN} editor-idle 10)
    expect_stderr("editor-idle: no editor is open")
    vsthost(1 ${PLUGIN} editor-open editor-open)
    expect_stderr("the editor is open already")
    vsthost(1 ${PLUGIN} mouse-down 1 2 alt)
    expect_stderr("unknown command 'alt'")
    vsthost(1 ${PLUGIN} mouse-move 1)
    expect_stderr("mouse-move needs 2 arguments")
    vsthost(1 ${PLUGIN} wheel 1 2 x)
    expect_stderr("wheel: 'x' is not a coordinate")

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
