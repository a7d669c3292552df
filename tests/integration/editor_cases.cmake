# The real plug-in's editor in a window of the host tool's own, on a virtual X display (Windows
# builds under Wine, Linux builds natively, with real input through XTest): its picture against
# the committed reference of its platform (and, on Linux, against the Windows one outside the
# text), handles, texts, meters and lights where the layout puts them, mouse drags reaching the
# host's parameters, the red "ERROR" marker with its log line when the pictures are missing, and
# the editor at twice the size on a host's request (and, on Linux, the display's).
# CASE picks the group. Expects VSTHOST, PLUGIN, PLUGIN_NO_ARTWORK, PNG_PROBE, WAV_PROBE,
# REFERENCE_PNG, WINDOWS_REFERENCE_PNG, REFERENCE_2X_PNG, WINDOWS_REFERENCE_2X_PNG, ARTWORK,
# WINDOWS (ON for Windows builds), WORK and EMULATOR.
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

# expect_same_artwork(<png> <reference> [<scale>]): outside the value texts and the build label
# (the text column right of the tracks), at most 0.05 % of the pixels differ: the same artwork,
# handles and meters on the same pixels. Wine's GDI+ draws the indicator lights without
# anti-aliasing: that is about 34 pixels (62 at twice the size).
function(expect_same_artwork png reference)
    set(scale 1)
    if(ARGC GREATER 2)
        set(scale ${ARGV2})
    endif()
    math(EXPR left "366 * ${scale}")
    math(EXPR right "450 * ${scale}")
    math(EXPR bottom "360 * ${scale}")
    expect_differing_at_most(${png} ${reference} 2000 ${left} 0 ${right} ${bottom})
endfunction()

# The host's content scale request: effVendorSpecific, 'PreS', 'AeCs', then the factor.
set(scale_request dispatch 50 1349674323 1097155443)

if(CASE STREQUAL "picture")
    # Once it has shown, the editor draws its frames without touching the heap, at its size and
    # at twice the size.
    vsthost(0 ${PLUGIN} editor-open editor-idle 300 editor-bench 20 ${scale_request} 2
        editor-idle 300 editor-bench 20)
    string(REGEX MATCHALL "[0-9.]+ allocations per frame" counts "${OUT}")
    if(NOT counts STREQUAL "0.00 allocations per frame;0.00 allocations per frame")
        message(FATAL_ERROR "the editor allocates while it draws: ${counts}\n${OUT}")
    endif()
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

elseif(CASE STREQUAL "scaled")
    # The host asks for twice the size before opening: effEditGetRect answers it, the window is
    # 900 x 1000 and shows the pictures drawn at twice the size (the handles' discs, the grooves,
    # the meters and lights at twice their places).
    vsthost(0 ${PLUGIN} ${scale_request} 2 info editor-open editor-idle 300 editor-png scaled.png)
    expect_lines("answer: 1" "editorRect: 900x1000" "editor: 900x1000" "png: scaled.png 900x1000")
    expect_close_to(scaled.png ${REFERENCE_2X_PNG})
    if(NOT WINDOWS)
        expect_same_artwork(scaled.png ${WINDOWS_REFERENCE_2X_PNG} 2)
    endif()
    expect_pixels(scaled.png 274 98 d4d8dd 490 298 d4d8dd 402 298 ${groove} 600 98 ${groove}
        400 804 ${lit_bar} 400 828 ${lit_bar} 252 804 ${lit_bar} 250 804 ${channel}
        218 804 ff4c00 218 828 ff4c00 682 804 003800 682 828 003800)

    # Asked while open, the editor resizes and the host's window follows; the mouse case's drags
    # at doubled window coordinates set the same values as at the editor's own size.
    vsthost(0 ${PLUGIN} editor-open editor-idle 100 ${scale_request} 2 editor-idle 100
        mouse-drag 490 298 400 298 mouse-drag 400 98 600 98 shift mouse-drag 340 558 660 558
        mouse-drag 500 558 500 558 control mouse-drag 274 638 800 638 wheel 490 358 -480
        editor-idle 100 editor-png dragged.png get 3 get 0 get 6 get 7 get 4)
    expect_lines("editor: 450x500" "size window: 900x1000" "png: dragged.png 900x1000"
        "Threshold Lo = 0.300000012 (-63.00)" "Ratio [Exp<>Gate] = 0.157894731 (2.00)"
        "Monitor = 1 (Hi-band)" "Threshold Hi = 0.5 (-45.00)")
    if(NOT OUT MATCHES "\nAttack = 0.3[0-9]* \\(3.20\\)\n")
        message(FATAL_ERROR "the fine drag did not give 3.2 ms:\n${OUT}")
    endif()
    expect_pixels(dragged.png 402 298 d4d8dd 490 298 ${groove} 706 638 d4d8dd)

    # Factors that no screen means are refused and change nothing; too large a one is clamped
    # (three times the size); the editor then draws at twice the size as before.
    vsthost(0 ${PLUGIN} ${scale_request} 2 editor-open ${scale_request} 0 ${scale_request} -1
        ${scale_request} nan ${scale_request} inf info ${scale_request} 100 info
        ${scale_request} 2 editor-idle 300 editor-png again.png)
    string(REGEX MATCHALL "answer: [01]" answers "${OUT}")
    if(NOT answers STREQUAL "answer: 1;answer: 0;answer: 0;answer: 0;answer: 0;answer: 1;answer: 1")
        message(FATAL_ERROR "requests not answered as expected: ${answers}\n${OUT}")
    endif()
    expect_lines("editorRect: 900x1000" "size window: 1350x1500" "editorRect: 1350x1500"
        "size window: 900x1000" "png: again.png 900x1000")
    expect_close_to(again.png ${REFERENCE_2X_PNG})

elseif(CASE STREQUAL "display_scale")
    # Without a host's request, a display that says it has 192 DPI (its Xft.dpi resource) gets
    # the editor at twice the size; the host's window is asked to follow as the editor opens.
    file(WRITE ${WORK}/resources "Xft.dpi: 192\n")
    set(ENV{XENVIRONMENT} ${WORK}/resources)
    vsthost(0 ${PLUGIN} info editor-open editor-idle 300 editor-png display.png)
    expect_lines("editorRect: 450x500" "size window: 900x1000" "editor: 900x1000")
    expect_close_to(display.png ${REFERENCE_2X_PNG})

else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()
