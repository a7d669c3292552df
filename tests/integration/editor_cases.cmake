# The real plug-in's editor in a window of the host tool's own, on a virtual X display (Windows
# builds under Wine, Linux builds natively, with real input through XTest): its picture against
# the committed reference of its platform (and, on Linux, against the Windows one outside the
# text), handles, texts, meters and lights where the layout puts them, mouse drags reaching the
# host's parameters, and the red "ERROR" marker with its log line when the pictures are missing.
# CASE picks the group. Expects VSTHOST, PLUGIN, PLUGIN_NO_ARTWORK, PNG_PROBE, WAV_PROBE,
# REFERENCE_PNG, WINDOWS_REFERENCE_PNG, ARTWORK, WINDOWS (ON for Windows builds), WORK and
# EMULATOR.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../case_helpers.cmake)

# The colours the picture shows: the handle's disc, the empty groove, a meter's dark channel and
# its lit bar.
set(disc d4d7dd)
set(groove 0b0d11)
set(channel 090b0e)
set(lit_bar c1c2c3)

# expect_pixels(<png> <x> <y> <rrggbb> ...): exact colours of chosen pixels.
function(expect_pixels png)
    set(points)
    set(expected)
    while(ARGN)
        list(POP_FRONT ARGN x y colour)
        list(APPEND points ${x} ${y})
        list(APPEND expected "pixel ${x},${y}: ${colour}")
    endwhile()
    run(${PNG_PROBE} 0 ${png} ${points})
    expect_lines(${expected})
endfunction()

# expect_differing_at_most(<png> <reference> <n> [<x0> <y0> <x1> <y1>]...): at most one pixel in
# n, outside the rectangles given, differs by more than 24 in a channel.
function(expect_differing_at_most png reference n)
    run(${PNG_PROBE} 0 --compare ${png} ${reference} 24 ${ARGN})
    if(NOT OUT MATCHES "differing: ([0-9]+) of ([0-9]+)")
        message(FATAL_ERROR "no comparison:\n${OUT}")
    endif()
    math(EXPR allowed "${CMAKE_MATCH_2} / ${n}")
    if(CMAKE_MATCH_1 GREATER allowed)
        message(FATAL_ERROR "${png} differs from ${reference}: ${OUT}")
    endif()
endfunction()

# expect_close_to(<png> <reference>): at most 0.5 % of the pixels differ (text rendering may vary
# slightly between machines).
function(expect_close_to png reference)
    expect_differing_at_most(${png} ${reference} 200)
endfunction()

# expect_same_artwork(<png> <reference>): outside the value texts and the build label (the text
# column right of the tracks), at most 0.05 % of the pixels differ: the same artwork, handles and
# meters on the same pixels. Wine's GDI+ draws the indicator lights without anti-aliasing: that
# is about 34 pixels.
function(expect_same_artwork png reference)
    expect_differing_at_most(${png} ${reference} 2000 366 0 450 360)
endfunction()

if(CASE STREQUAL "picture")
    vsthost(0 ${PLUGIN} editor-open editor-idle 300 editor-png editor.png)
    expect_lines("editor: 450x500" "png: editor.png 450x500")
    expect_close_to(editor.png ${REFERENCE_PNG})
    if(NOT WINDOWS)
        expect_same_artwork(editor.png ${WINDOWS_REFERENCE_PNG})
    endif()
    # Handles at the defaults: a disc 16 px across centred 16 px right of the handle's left edge
    # and 10 px below the row's top (Attack at the minimum, Threshold Lo in the middle), the
    # groove bare where no handle is. Meters of a silent gate: both bars lit from x = 126, both
    # closed lights red-orange, both open lights at rest.
    expect_pixels(editor.png 137 49 ${disc} 245 149 ${disc} 201 149 ${groove} 300 49 ${groove}
        200 402 ${lit_bar} 200 414 ${lit_bar} 126 402 ${lit_bar} 125 402 ${channel}
        109 402 ff4c00 109 414 ff4c00 341 402 003800 341 414 003800)

elseif(CASE STREQUAL "mouse")
    # A drag on Threshold Lo from the handle to x = 200: the handle's left edge 15 px left of the
    # pointer, rounded up to the next step: -63 dB; its disc then sits at x = 185 + 16.
    # Shift drags Attack finely from x = 200: 100 px of travel move the handle 5 px (3.2 ms, not
    # 10 ms); control-click resets Ratio; Monitor dragged to the right end shows "Hi-band"; a
    # wheel turn over a row changes nothing.
    vsthost(0 ${PLUGIN} editor-open editor-idle 100 mouse-drag 245 149 200 149
        mouse-drag 200 49 300 49 shift mouse-drag 170 279 330 279 mouse-drag 250 279 250 279 control
        mouse-drag 137 319 400 319 wheel 245 179 -480 editor-idle 100 editor-png dragged.png
        get 3 get 0 get 6 get 7 get 4)
    expect_lines("Threshold Lo = 0.300000012 (-63.00)" "Ratio [Exp<>Gate] = 0.157894731 (2.00)"
        "Monitor = 1 (Hi-band)" "Threshold Hi = 0.5 (-45.00)")
    if(NOT OUT MATCHES "\nAttack = 0.3[0-9]* \\(3.20\\)\n")
        message(FATAL_ERROR "the fine drag did not give 3.2 ms:\n${OUT}")
    endif()
    expect_pixels(dragged.png 201 149 ${disc} 245 149 ${groove} 353 319 ${disc})

elseif(CASE STREQUAL "meters")
    # A loud tone opens both bands: each bar shows only its sliver at x = 324, both open lights
    # are full green, and the closed lights have faded to rest (16 frames after the start).
    run(${WAV_PROBE} 0 tone tone.wav f32 44100 2 44100)
    vsthost(0 ${PLUGIN} editor-open editor-idle 1000 --play tone.wav editor-png open.png)
    expect_pixels(open.png 200 402 ${channel} 200 414 ${channel} 324 402 ${lit_bar}
        341 402 00ff00 341 414 00ff00 109 402 381000)

elseif(CASE STREQUAL "missing_artwork")
    # Without the embedded pictures and without files beside the library: every picture is a
    # red box with a yellow "ERROR" at its place (a box that fits the word, as a picture that
    # failed has no size), and the editor logs each missing file once to the log file.
    get_filename_component(folder ${PLUGIN_NO_ARTWORK} DIRECTORY)
    file(REMOVE_RECURSE ${folder}/vrn_gfx)
    if(WINDOWS)
        # The log file is at the root of the current drive, here a drive letter mapped to this
        # folder. Wine names the current folder by the drive whose root lies deepest in its
        # path; the tool and the plug-in are then named by their Z: paths.
        file(CREATE_LINK ${WORK} $ENV{WINEPREFIX}/dosdevices/y: SYMBOLIC)
        execute_process(COMMAND ${EMULATOR} ${VSTHOST} Z:${PLUGIN_NO_ARTWORK} editor-open
            editor-idle 300 editor-png missing.png
            WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
        file(REMOVE $ENV{WINEPREFIX}/dosdevices/y:)
        if(NOT code EQUAL 0)
            message(FATAL_ERROR "exit ${code}:\n${out}\n${err}")
        endif()
        file(READ ${WORK}/tovl.log.txt log)
        string(REPLACE "\r" "" log "${log}")
        set(expected_log "^Unable to load: [^\n]*no_artwork.vrn_gfx.bg.png\nUnable to load: [^\n]*no_artwork.vrn_gfx.knob_sm.png\n$")
    else()
        # The log file is /tmp's, which other runs may share: only the lines this run appended
        # count.
        set(log_file /tmp/tovl.log.txt)
        set(before 0)
        if(EXISTS ${log_file})
            file(SIZE ${log_file} before)
        endif()
        vsthost(0 ${PLUGIN_NO_ARTWORK} editor-open editor-idle 300 editor-png missing.png)
        file(READ ${log_file} log OFFSET ${before})
        set(expected_log "Unable to load: ${folder}/vrn_gfx/bg.png\nUnable to load: ${folder}/vrn_gfx/knob_sm.png\n")
    endif()
    if(NOT log MATCHES "${expected_log}")
        message(FATAL_ERROR "log not as expected:\n${log}")
    endif()
    # The background's marker at the top-left corner, the handles' markers where the handles
    # would be (Attack at its minimum, Threshold Lo in the middle of a 248-pixel travel).
    expect_pixels(missing.png 1 1 ff0000 122 50 ff0000 246 150 ff0000 200 50 000000)

    # With the pictures as files beside the library the editor looks as with the resources.
    file(COPY ${ARTWORK}/bg.png ${ARTWORK}/knob_sm.png DESTINATION ${folder}/vrn_gfx)
    vsthost(0 ${PLUGIN_NO_ARTWORK} editor-open editor-idle 300 editor-png files.png)
    file(REMOVE_RECURSE ${folder}/vrn_gfx)
    expect_close_to(files.png ${REFERENCE_PNG})

else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()
