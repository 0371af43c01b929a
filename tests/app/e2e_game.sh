#!/bin/bash
# End-to-end tests of the real game under Xvfb, driven with xdotool.
# Usage: e2e_game.sh <game binary> <repository root> <wmclose helper> <korvane-sim> <framecheck>
set -u
GAME=$(realpath "$1")
ROOT=$(realpath "$2")
WMCLOSE=$(realpath "$3")
SIM=$(realpath "$4")
FRAMECHECK=$(realpath "$5")

. "$ROOT/tests/support/onxvfb.sh"

# Every game plays its sound into OpenAL Soft's null output, the sound's test into a wave file.
export ALSOFT_DRIVERS=null
FAILURES=0
INSPECTED= # the ship inspect_ship last named
fail() { echo "FAIL: $* [at ${SECONDS} s]"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: $* [at ${SECONDS} s]"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; return 1; fi; }

# A working directory of its own with the game's files; faster statistics than the default.
make_workdir() {
    local dir
    dir=$(mktemp -d)
    cp -r "$ROOT/graphics" "$ROOT/evolved" "$ROOT/HelpPage.txt" "$dir/"
    sed -e 's/^Stats_UpdateInterval .*/Stats_UpdateInterval 200/' \
        -e 's/^Stats_SaveInterval .*/Stats_SaveInterval 600/' "$ROOT/params.ini" > "$dir/params.ini"
    echo "$dir"
}

# Every check waits for the state it tests, never for a fixed time: the machine may be busy,
# and a deadline is only reached when something is broken.
DEADLINE=120

wait_for() { # wait_for <seconds> <command...>
    local deadline=$((SECONDS + $1)); shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

seconds_reach() { [ $SECONDS -ge "$1" ]; }

# Keys reach the game in the order they are sent, so a key whose effect shows proves that
# every key before it was handled.
press() { xdotool key --clearmodifiers "$@"; }

frame() { printf '%s/frame%5d.bmp' "$WORK" "$1"; }

u32() { od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '; }
u16() { od -An -tu2 -j"$2" -N2 "$1" | tr -d ' '; }

header_matches() { # the capture's header, field by field
    local f=$1 w=$2 h=$3
    local stride=$(( (w * 3 + 3) / 4 * 4 ))
    [ "$(head -c2 "$f")" = "BM" ] && [ "$(u32 "$f" 2)" = $((stride * h + 54)) ] &&
    [ "$(u16 "$f" 6)" = 0 ] && [ "$(u16 "$f" 8)" = 0 ] && [ "$(u32 "$f" 10)" = 54 ] &&
    [ "$(u32 "$f" 14)" = 40 ] && [ "$(u32 "$f" 18)" = "$w" ] && [ "$(u32 "$f" 22)" = "$h" ] &&
    [ "$(u16 "$f" 26)" = 1 ] && [ "$(u16 "$f" 28)" = 24 ] && [ "$(u32 "$f" 30)" = 0 ] &&
    [ "$(u32 "$f" 34)" = $((stride * h)) ] && [ "$(u32 "$f" 38)" = 0 ] && [ "$(u32 "$f" 42)" = 0 ] &&
    [ "$(u32 "$f" 46)" = 0 ] && [ "$(u32 "$f" 50)" = 0 ] && [ "$(stat -c %s "$f")" = $((stride * h + 54)) ]
}

identify_accepts() { # an independent reader agrees on format, depth and size
    local info
    info=$(identify -format '%m %z %w %h' "$1" 2>/dev/null)
    [ "$info" = "BMP 8 $2 $3" ] || [ "$info" = "BMP3 8 $2 $3" ]
}

# Counts pixels by kind: the dark textured background and the bright sprites on it.
pixel_census() {
    /usr/bin/convert "$1" -depth 8 txt:- 2>/dev/null | awk -F'[(),]' 'NR > 1 {
        r = $4 + 0; g = $5 + 0; b = $6 + 0
        colours[r "," g "," b] = 1
        if (r + g + b < 200) dark++
        if (g > 120 && g > r + 40 && g > b + 20) green++
        if (r > 120 && r > g + 40 && r > b + 40) red++
    } END { n = 0; for (c in colours) n++; print n, dark + 0, green + 0, red + 0 }'
}

# Pixels in the learning graph's red and green, which its curves and legend are drawn in.
graph_pixels() { /usr/bin/convert "$1" -depth 8 txt:- 2>/dev/null | grep -cE '#(FF5050|50FF70) '; }
# Pixels of random brains' dashed level and its legend sample.
baseline_pixels() { /usr/bin/convert "$1" -depth 8 txt:- 2>/dev/null | grep -c '#A0A0A8 '; }
# Pixels of the player's panel: the red hits on the gun's curve and the gun's kills'.
player_pixels() { /usr/bin/convert "$1" -depth 8 txt:- 2>/dev/null | grep -c "#$2 "; }
shows_the_players_panel() { [ "$(player_pixels "$1" FF9030)" -ge 30 ] && [ "$(player_pixels "$1" 50B0FF)" -ge 30 ]; }

shows_background_and_aliens() {
    local census colours dark green red
    census=$(pixel_census "$1")
    read -r colours dark green red <<< "$census"
    echo "   pixels: $colours colours, $dark dark, $green green, $red red"
    [ "$colours" -gt 200 ] && [ "$dark" -gt 100000 ] && [ $((green + red)) -gt 50 ]
}

# Two captures with statistics periods between them are alike: the timers ran, an unpaused
# world would have moved. Each capture press shows a message for 3 s: the second capture
# comes after the first one's message has gone, and the first after its predecessor's once
# this has been tried twice.
paused_picture_stands_still() {
    local before=$LAST_FRAME begun=$SECONDS
    wait_for $DEADLINE seconds_reach $((begun + 4)) && snap &&
        cmp -s "$(frame "$before")" "$(frame "$LAST_FRAME")"
}

same_region() { # same_region <frame> <frame> <width>x<height>+<x>+<y>
    [ "$(/usr/bin/compare -metric AE -extract "$3" "$1" "$2" null: 2>&1)" = 0 ]
}

count_frames() { find "$WORK" -maxdepth 1 -name 'frame*.bmp' | wc -l; }

# Starts the game in $WORK with its messages in game.log, under a file-size limit (KiB) when
# one is given; the messages then go through a pipe, which the limit does not cut. The stop
# signals are set to their defaults: a background job of a script starts with SIGINT ignored.
launch() {
    local limit=${1:-}
    LOG_PID=
    if [ -z "$limit" ]; then
        (cd "$WORK" && exec env --default-signal=HUP,INT,TERM "$GAME") > "$WORK/game.log" 2>&1 &
    else
        mkfifo "$WORK/log.fifo"
        cat "$WORK/log.fifo" > "$WORK/game.log" &
        LOG_PID=$!
        (cd "$WORK" && ulimit -f "$limit" && exec env --default-signal=HUP,INT,TERM "$GAME") > "$WORK/log.fifo" 2>&1 &
    fi
    GAME_PID=$!
    NEXT_FRAME=0
}

has_focus() {
    timeout 10 xdotool windowfocus --sync "$WINDOW" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WINDOW" ]
}

started() { grep -q '^Statistics \(go to\|will not be saved\)' "$WORK/game.log"; }

start_game() { # start_game [file-size limit]: returns once the game has set up its world and has the focus
    launch "${1:-}"
    WINDOW=$(timeout $DEADLINE xdotool search --sync --onlyvisible --name '^Korvane Aliens$' 2>/dev/null | head -1)
    [ -n "$WINDOW" ] && wait_for $DEADLINE has_focus && wait_for $DEADLINE started
}

# Asked of the shell's own jobs, so that no other process that took over the number is touched.
is_running() { jobs -pr | grep -qx "$GAME_PID"; }
has_ended() { ! is_running; }

# Waits for the game to end; its exit status in STATUS, its messages complete in game.log.
wait_end() {
    wait_for $DEADLINE has_ended || kill -9 "$GAME_PID"
    wait "$GAME_PID"; STATUS=$?
    [ -z "$LOG_PID" ] || wait "$LOG_PID"
}

quit_game() { press q; wait_end; }

stop_game() {
    ! is_running || kill "$GAME_PID"
    wait_end
}

# One written frame: the press that writes frame $NEXT_FRAME (named in LAST_FRAME once it is
# there), then the press after it, which writes nothing; the next snap's frame proves that
# second press was handled.
snap() {
    press C
    wait_for $DEADLINE test -s "$(frame "$NEXT_FRAME")" || return 1
    LAST_FRAME=$NEXT_FRAME
    NEXT_FRAME=$((NEXT_FRAME + 2))
    press C
}

# The statistics lines so far, one every Stats_SaveInterval of game time: a new one proves
# that the world stepped.
ticks() { grep -c 'Saving game stats\.\.done\.' "$WORK/game.log"; }
ticks_reach() { [ "$(ticks)" -ge "$1" ]; }
wait_ticks() { wait_for $DEADLINE ticks_reach $(( $(ticks) + $1 )); }

# Pool saves and loads finished so far, whether they succeeded or not.
pool_events() { grep -v 'Saving game stats' "$WORK/game.log" | grep -cE 'done\.$|Cannot (save|load) '; }
pool_events_reach() { [ "$(pool_events)" -ge "$1" ]; }
pool_key() { # press s or l and wait until the game has answered it
    local before; before=$(pool_events)
    press "$1"
    wait_for $DEADLINE pool_events_reach $((before + 1))
}

saved_entries() { awk '{print $1; exit}' "$WORK/GreenAliens_saved.txt" 2>/dev/null; }
pool_has_brains() { wait_ticks 1 && pool_key s && [ "$(saved_entries)" -gt 0 ] 2>/dev/null; }

stats_file() { ls "$WORK"/KVN_STAT__*.txt 2>/dev/null | head -1; }
DATA_LINE='^[0-9.]+\t[0-9]+\t[-0-9.e+]+\t[-0-9.e+]+$'
has_data_line() { grep -qP "$DATA_LINE" "$(stats_file)" 2>/dev/null; }
whole_data_lines_within() { # whole_data_lines_within <file> <bytes>
    [ "$(stat -c %s "$1")" -le "$2" ] && [ "$(tail -c1 "$1" | od -An -tx1 | tr -d ' ')" = 0a ] &&
        ! grep -qvP "$DATA_LINE" "$1"
}
ends_with_the_total() { # four empty lines and the total, after at least one data line
    local stats=$1
    has_data_line && [ "$(tail -n 5 "$stats" | head -n 4 | grep -c '^$')" = 4 ] &&
        tail -n 1 "$stats" | grep -q '^Overall number of dead:[0-9][0-9]*$'
}

test_playing_session() {
    WORK=$(make_workdir)
    check "the window appears" start_game || { cat "$WORK/game.log"; stop_game; return; }
    check "the window has its title" test "$(xdotool getwindowname "$WINDOW")" = "Korvane Aliens"

    check "C writes frame 0" snap
    local f0; f0=$(frame 0)
    check "frame 0's header matches field by field" header_matches "$f0" 800 600
    check "identify reads frame 0 as a 24-bit 800x600 bitmap" identify_accepts "$f0" 800 600
    # The aliens are being born at first; a later frame shows them.
    check "a frame shows the background and alien sprites" \
        wait_for $DEADLINE eval 'snap && shows_background_and_aliens "$(frame $LAST_FRAME)"'

    press p
    check "after p, C writes the next even frame" snap
    check "the second C of each pair wrote nothing: only even frames exist" \
        test "$(count_frames)" = $((NEXT_FRAME / 2)) -a ! -e "$(frame 1)"
    # Once the key's message has faded, the paused picture stands still while the timers run.
    # The help page seen once, the heads-up line offers a newcomer its key no more: the picture
    # to compare the overlays with.
    press F1 F1
    check "while paused the aliens stay where they were" wait_for $DEADLINE paused_picture_stands_still
    local paused=$LAST_FRAME
    # The paused window, once its messages have faded, is not drawn again by itself: F1 draws it.
    wait_for $DEADLINE window_stands_still
    cp "$WORK/shot.bmp" "$WORK/still.bmp"
    press F1
    check "F1 shows the help page in the paused window at once" \
        wait_for $DEADLINE eval 'window_shot && ! cmp -s "$WORK/still.bmp" "$WORK/shot.bmp"'
    press F1

    press d
    snap
    local overlay=$LAST_FRAME
    check "d draws the statistics overlay into the picture" bash -c "! cmp -s '$(frame $paused)' '$(frame $overlay)'"
    press d F1
    snap
    check "F1 draws the help page into the picture" \
        bash -c "! cmp -s '$(frame $paused)' '$(frame $LAST_FRAME)' && ! cmp -s '$(frame $overlay)' '$(frame $LAST_FRAME)'"
    # The help page closed: the picture whose graph region the graph is drawn into and taken from.
    press F1
    snap
    paused=$LAST_FRAME
    press g
    snap
    check "g draws the learning graph into the picture" bash -c "! cmp -s '$(frame $paused)' '$(frame $LAST_FRAME)'"
    # At least the two panels' thick legend samples, 18 pixels long, in the curves' colours.
    local before after
    before=$(graph_pixels "$(frame $paused)")
    after=$(graph_pixels "$(frame $LAST_FRAME)")
    check "the graph draws its curves and legend in red and green ($before, then $after pixels)" \
        test "$after" -ge $((before + 100))
    press g
    snap
    # The keys' messages below it fade as they will: the graph's region is compared.
    check "g again takes the graph away" same_region "$(frame $paused)" "$(frame $LAST_FRAME)" 400x260+400+22

    # The world runs fast until aliens have died and the green pool holds brains.
    press p f
    check "s writes GreenAliens_saved.txt, holding brains" wait_for $((2 * DEADLINE)) pool_has_brains
    echo "   $(saved_entries) entries"
    press f
    check "l reads the saved pool back" pool_key l
    check "the load succeeded" bash -c "! grep -q 'Cannot load' '$WORK/game.log'"
    check "korvane-sim loads the game's pool file" \
        "$SIM" --params "$WORK/params.ini" --steps 10 --seed 1 --load-green "$WORK/GreenAliens_saved.txt" --save-green "$WORK/sim_pool.txt"
    cp "$WORK/sim_pool.txt" "$WORK/GreenAliens_saved.txt"
    check "the game loads korvane-sim's pool file" pool_key l
    check "without complaint" bash -c "! grep -q 'Cannot load' '$WORK/game.log'"

    wait_for $DEADLINE has_data_line
    quit_game
    check "q exits with status 0" test "$STATUS" = 0
    local stats; stats=$(stats_file)
    check "the statistics file exists" test -n "$stats"
    check "it has data lines" has_data_line
    check "it ends with four empty lines and the total" ends_with_the_total "$stats"
    rm -rf "$WORK"
}

test_close_button_writes_the_total() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the close test"; stop_game; return; }
    wait_for $DEADLINE has_data_line
    "$WMCLOSE" "$WINDOW"
    wait_end
    check "closing the window exits with status 0" test "$STATUS" = 0
    check "closing the window writes the total" ends_with_the_total "$(stats_file)"
    rm -rf "$WORK"
}

# SIGTERM, SIGINT (while paused: the world timer still sees it) and SIGHUP end the game as q does.
test_signal_ends_without_the_closing_lines_is_mended() {
    local signal
    for signal in TERM INT HUP; do
        WORK=$(make_workdir)
        start_game || { fail "the window appears for the SIG$signal test"; stop_game; continue; }
        wait_for $DEADLINE has_data_line
        [ "$signal" != INT ] || press p
        # The key above is handled before the signal arrives: a capture proves it.
        snap
        kill -s "$signal" "$GAME_PID"
        wait_end
        check "SIG$signal exits with status 0, as q" test "$STATUS" = 0
        check "SIG$signal writes the closing lines" ends_with_the_total "$(stats_file)"
        rm -rf "$WORK"
    done
}

test_second_run_overwrites_the_first_runs_frames_is_mended() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the first run"; stop_game; return; }
    snap
    quit_game
    cp "$(frame 0)" "$WORK/first_run.bmp"
    start_game || { fail "the window appears for the second run"; stop_game; return; }
    NEXT_FRAME=2 # the second run's first frame takes the first free even number
    check "a second run in the same folder writes frame 2" snap
    quit_game
    check "and keeps the first run's frame 0" cmp -s "$(frame 0)" "$WORK/first_run.bmp"
    check "and the first run's statistics file" test "$(ls "$WORK"/KVN_STAT__*.txt | wc -l)" = 2
    rm -rf "$WORK"
}

# Every statistics name of this minute and the next two taken; a folder where frame 0 would go.
test_unwritable_files_are_reported() {
    WORK=$(make_workdir)
    local now minute n
    now=$(date -u +%s)
    for minute in 0 1 2; do
        local stem; stem=$(date -u -d "@$((now + 60 * minute))" +KVN_STAT__%Y_%-m_%-d__%-H_%-M)
        touch "$WORK/$stem.txt"
        for n in $(seq 2 1000); do echo "$WORK/${stem}_$n.txt"; done | xargs touch
    done
    mkdir "$WORK/frame    0.bmp"
    start_game || { fail "the window appears for the unwritable-files test"; stop_game; return; }
    local begun=$SECONDS
    wait_for $DEADLINE seconds_reach $((begun + 3)) # at least two statistics periods
    NEXT_FRAME=2
    check "a folder named frame 0.bmp is skipped: C writes frame 2" snap
    pool_key s
    quit_game
    check "all statistics names taken gives the warning and the reason" \
        grep -qPz "Warning\. \nUnable to open KVN_STAT__[0-9_]*\.txt to save the statistics\.\nIt and every name up to KVN_STAT__[0-9_]*_1000\.txt are taken\nStatistics will not be saved for this run\n\n\n" "$WORK/game.log"
    check "no statistics name was reused" test "$(find "$WORK" -name 'KVN_STAT__*' -size +0 | wc -l)" = 0
    check "a run without a statistics file prints nothing for it each period" \
        bash -c "! grep -q 'Saving game stats' '$WORK/game.log'"
    check "the folder named frame 0.bmp is left alone, without a word" \
        bash -c "test -d '$(frame 0)' && ! grep -q 'Cannot write the frame' '$WORK/game.log'"
    check "the game went on: s still saved the pool" test -s "$WORK/GreenAliens_saved.txt"
    check "and q still exits with status 0" test "$STATUS" = 0
    rm -rf "$WORK"
}

frame_failures() { grep -c '^Cannot write the frame' "$WORK/game.log"; }
frame_failures_reach() { [ "$(frame_failures)" -ge "$1" ]; }

# Under a file-size limit of 1 KiB, with a line every 20 ms.
test_failed_statistics_write_reported_as_done_is_mended() {
    WORK=$(make_workdir)
    sed -i 's/^Stats_SaveInterval .*/Stats_SaveInterval 20/' "$WORK/params.ini"
    start_game 1 || { fail "the window appears for the file-size limit test"; stop_game; return; }
    check "a failed statistics write gives the warning" \
        wait_for $DEADLINE grep -q '^Unable to write KVN_STAT__' "$WORK/game.log"
    # Statistics periods go by after the failure: each failed capture is a key the game
    # handled after the wait, and its timers ran after it.
    local round
    for round in 1 2 3; do
        is_running || break
        local begun=$SECONDS failures; failures=$(frame_failures)
        wait_for $DEADLINE seconds_reach $((begun + 2)) # at least a second
        press C
        wait_for $DEADLINE frame_failures_reach $((failures + 1))
        press C
    done
    quit_game
    local stats; stats=$(stats_file)
    check "the game is not killed by the limit: q exits with status 0" test "$STATUS" = 0
    check "the warning says why, once" \
        grep -qPz "Saving game stats\.\.failed\.\nWarning\. \nUnable to write KVN_STAT__[0-9_]*\.txt to save the statistics\.\nFile too large; the lines saved before are kept\nStatistics will not be saved for this run\n\n\n" "$WORK/game.log"
    check "exactly once" test "$(grep -c '^Unable to write KVN_STAT__' "$WORK/game.log")" = 1
    check "no statistics line is printed after it" \
        bash -c "! sed -n '/^Unable to write KVN_STAT__/,\$p' '$WORK/game.log' | grep -q 'Saving game stats'"
    check "\"done.\" came once for each line in the file ($(ticks))" \
        test "$(ticks)" = "$(grep -c '' "$stats")"
    check "the file holds whole lines only, within the limit" whole_data_lines_within "$stats" 1024
    check "a capture past the limit is reported and leaves no file" \
        bash -c "grep -q '^Cannot write the frame frame    0.bmp: .*File too large' '$WORK/game.log' && [ \$(find '$WORK' -maxdepth 1 -name '*frame*' | wc -l) = 0 ]"
    rm -rf "$WORK"
}

# Pixels that differ clearly between two captures in the gun's strip (rows 528 to 551 from
# the top); the fuzz ignores the faint shading changes of a sprite that moved a hundredth of
# a pixel.
gun_strip_changes() {
    /usr/bin/convert "$1" -crop 800x24+0+528 +repage "$WORK/strip1.ppm"
    /usr/bin/convert "$2" -crop 800x24+0+528 +repage "$WORK/strip2.ppm"
    /usr/bin/compare -metric AE -fuzz 10% "$WORK/strip1.ppm" "$WORK/strip2.ppm" null: 2>&1 | cut -d" " -f1
}

# A capture after the world has moved on, compared with the previous one: MOVED pixels changed.
next_capture_moved() {
    local previous=$LAST_FRAME
    wait_ticks 1 && snap || return 1
    MOVED=$(gun_strip_changes "$(frame $previous)" "$(frame $LAST_FRAME)")
}
gun_has_moved() { # since the first capture
    wait_ticks 1 && snap || return 1
    MOVED=$(gun_strip_changes "$(frame 0)" "$(frame $LAST_FRAME)")
    [ "${MOVED:-0}" -gt 100 ]
}
gun_rests() { # two captures in a row unchanged: no chance stillness of a gun that still drives
    STILL_IN_A_ROW=0
    until [ $STILL_IN_A_ROW -ge 2 ]; do
        next_capture_moved || return 1
        if [ "${MOVED:-999}" -lt 10 ]; then STILL_IN_A_ROW=$((STILL_IN_A_ROW + 1)); else STILL_IN_A_ROW=0; fi
        [ $SECONDS -lt $REST_DEADLINE ] || return 1
    done
}

test_a_key_needs_two_presses_is_mended() {
    WORK=$(make_workdir)
    # The gun starts in automatic mode and draws a new direction every step; no aliens, so
    # nothing but the gun changes in its strip.
    sed -i -e 's/^Gun_AutoMode .*/Gun_AutoMode 1/' -e 's/^Gun_AutoDirectionInterval .*/Gun_AutoDirectionInterval 1/' \
        -e 's/^Alien_NumberOfRed .*/Alien_NumberOfRed 0/' -e 's/^Alien_NumberOfGreen .*/Alien_NumberOfGreen 0/' \
        "$WORK/params.ini"
    start_game || { fail "the window appears for the a-key test"; stop_game; return; }
    snap
    MOVED=
    check "in automatic mode the gun moves" wait_for $DEADLINE gun_has_moved
    echo "   $MOVED pixels changed"
    press a
    # The gun's last push dies away: its speed falls by a tenth every step.
    REST_DEADLINE=$((SECONDS + 2 * DEADLINE))
    check "one press of a stops it" gun_rests
    echo "   $MOVED pixels changed in the last pair"
    stop_game
    rm -rf "$WORK"
}

expect_failure() { # expect_failure <what> <status> <message> : runs the game in $WORK
    local out status
    out=$(cd "$WORK" && timeout 30 "$GAME" 2>&1); status=$?
    check "$1 ends with status $2" test "$status" = "$2"
    check "$1 says: $3" grep -qF "$3" <<< "$out"
}

test_bad_files() {
    WORK=$(make_workdir)
    rm "$WORK/params.ini"
    expect_failure "a missing params.ini" 1 "Cannot find 'params.ini'"
    rm -rf "$WORK"

    WORK=$(make_workdir)
    sed -i 's/^Alien_Mass .*/Alien_Mass 0/' "$WORK/params.ini"
    expect_failure "a broken params.ini" 1 "params.ini: Alien_Mass = 0 must be positive"
    rm -rf "$WORK"

    WORK=$(make_workdir)
    rm "$WORK/graphics/gun_mask.bmp"
    expect_failure "a missing mask" 255 "Unable to bind some of the textures from /graphics folder"
    check "the missing mask is named" grep -qF "graphics/gun_mask.bmp: cannot be opened" <<< "$(cd "$WORK" && timeout 30 "$GAME" 2>&1)"
    rm -rf "$WORK"

    WORK=$(make_workdir)
    head -c 100 "$ROOT/graphics/bullet.bmp" > "$WORK/graphics/bullet.bmp"
    expect_failure "a malformed bitmap" 255 "graphics/bullet.bmp: pixel data lies outside the file"
    rm -rf "$WORK"

    # Special files are refused unopened: nothing waits for a writer that never comes.
    WORK=$(make_workdir)
    rm "$WORK/params.ini" && mkfifo "$WORK/params.ini"
    expect_failure "a FIFO as params.ini" 1 "params.ini: is not a regular file"
    rm "$WORK/params.ini" && mkdir "$WORK/params.ini"
    expect_failure "a folder as params.ini" 1 "params.ini: is a folder"
    rm -rf "$WORK"

    WORK=$(make_workdir)
    rm "$WORK/graphics/bullet.bmp" && mkfifo "$WORK/graphics/bullet.bmp"
    expect_failure "a FIFO as a bitmap" 255 "graphics/bullet.bmp: cannot be opened: is not a regular file"
    rm -rf "$WORK"
}

# A FIFO as the help page and as the pool file: F1 and l say why and go on, s leaves it a FIFO.
test_special_files_in_play_are_refused() {
    WORK=$(make_workdir)
    rm "$WORK/HelpPage.txt"
    mkfifo "$WORK/HelpPage.txt" "$WORK/GreenAliens_saved.txt"
    start_game || { fail "the window appears for the special-files test"; stop_game; return; }
    press F1
    check "a FIFO as the help page is named, without a hang" \
        wait_for $DEADLINE grep -qF "Cannot read HelpPage.txt: is not a regular file" "$WORK/game.log"
    pool_key l
    check "a FIFO as the pool file is not loaded" \
        grep -qF "Cannot load GreenAliens_saved.txt: is not a regular file" "$WORK/game.log"
    pool_key s
    check "nor replaced by a save" grep -qF "Cannot save GreenAliens_saved.txt: GreenAliens_saved.txt is not a regular file" "$WORK/game.log"
    check "which leaves it a FIFO" test -p "$WORK/GreenAliens_saved.txt"
    quit_game
    check "and q still exits with status 0" test "$STATUS" = 0
    rm -rf "$WORK"
}

# What the player sees: the heads-up line, the keys' messages, the help page, the inspector and
# the letterboxed picture. Frames are 800 x 600; regions are x y width height from the top left.
HUD_STRIP="0 0 800 22"
kinds_in() { "$FRAMECHECK" "$1" count "$2" ${3:-}; } # kinds_in <frame> <kind> [region]
at_least() { [ "$(kinds_in "$2" "$3" "${4:-}")" -ge "$1" ]; }
at_most() { [ "$(kinds_in "$2" "$3" "${4:-}")" -le "$1" ]; }

# Message row 0 is the newest, lowest one; each older one lies a row higher. The message's
# text, drawn fully for its first 2 s, is as wide as the words in the font, to a few pixels of
# the glyphs' side bearings: the window shows these words.
message_row_reads() { # message_row_reads <frame> <row> <text>
    local box left right want got
    box=$("$FRAMECHECK" "$1" box messagefull 0 $((491 - 18 * $2)) 800 17) || return 1
    read -r left _ right _ <<< "$box"
    want=$("$FRAMECHECK" --width12 "$3")
    got=$((right - left + 1))
    [ $got -le "$want" ] && [ $got -ge $((want - 4)) ]
}

# p, a and space, then a capture: their three messages, in order. Each try toggles all three,
# so the words alternate; a try whose capture came after the messages' steady 2 s is tried again.
TOGGLES_ON=0
toggles_show_their_messages() {
    press p a space
    TOGGLES_ON=$((1 - TOGGLES_ON))
    snap || return 1
    local f; f=$(frame "$LAST_FRAME")
    if [ $TOGGLES_ON = 1 ]; then
        message_row_reads "$f" 2 "Paused" && message_row_reads "$f" 1 "Automatic mode on" &&
            message_row_reads "$f" 0 "Firing on"
    else
        message_row_reads "$f" 2 "Running" && message_row_reads "$f" 1 "Automatic mode off" &&
            message_row_reads "$f" 0 "Firing off"
    fi
}

# A capture press that writes nothing, then one that writes: the second-newest message names
# the frame, the newest says why the press before wrote nothing.
captures_show_their_messages() {
    snap && snap || return 1
    message_row_reads "$(frame $LAST_FRAME)" 0 "No frame this time: every second C press writes one"
}
capture_names_its_frame() {
    local written=$NEXT_FRAME
    press C C
    wait_for $DEADLINE test -s "$(frame "$written")" || return 1
    NEXT_FRAME=$((written + 2))
    snap && message_row_reads "$(frame $LAST_FRAME)" 1 "$(printf 'Frame saved to frame%5d.bmp' "$written")"
}

# A pool key, then a capture: the newest message reads as the terminal's last answer (its
# failure from "Cannot " on) or says what was done.
pool_message_reads() { # pool_message_reads <key> <text when done>
    pool_key "$1" && snap || return 1
    local said; said=$(grep -v 'Saving game stats' "$WORK/game.log" | grep -E 'done\.$|Cannot (save|load) ' | tail -1)
    case $said in
        *"Cannot "*) message_row_reads "$(frame $LAST_FRAME)" 0 "Cannot ${said#*Cannot }" ;;
        *) message_row_reads "$(frame $LAST_FRAME)" 0 "$2" ;;
    esac
}

# The middle of the first red ship below the heads-up line in the last frame, in SHIP_X SHIP_Y.
find_red_ship() {
    local at
    at=$("$FRAMECHECK" "$(frame $LAST_FRAME)" ship redship 0 30 800 400) || return 1
    read -r SHIP_X SHIP_Y <<< "$at"
}
# The paused world runs on for a capture at a time until a red ship shows: it may have been
# paused while every red ship was being born, dying or low in the band.
red_ship_shows_while_paused() {
    find_red_ship && return
    press p && snap && press p && snap && find_red_ship
}
# The middle of the first red ship, or else green one, in the region of the picture.
find_ship() { # find_ship <picture> <region>
    local at
    at=$("$FRAMECHECK" "$1" ship redship $2 || "$FRAMECHECK" "$1" ship green $2) || return 1
    read -r SHIP_X SHIP_Y <<< "$at"
}
inspections() { grep -cE '^Inspecting (red|green) alien [0-9]+$' "$WORK/game.log"; }
inspections_reach() { [ "$(inspections)" -ge "$1" ]; }
click_at() { xdotool mousemove --window "$WINDOW" "$1" "$2" click "$3"; }
# Clicks the ship found and waits for the terminal to name it.
inspect_ship() {
    local before; before=$(inspections)
    click_at "$SHIP_X" "$SHIP_Y" 1
    wait_for 10 inspections_reach $((before + 1)) || return 1
    INSPECTED=$(grep '^Inspecting ' "$WORK/game.log" | tail -1 | cut -d' ' -f2-)
}
# The ring about the ship at (x, y), and the panel's captions. (A turret line may be too short
# to see in one frame, where the look-ahead stops at once: it is counted over two.)
shows_inspector() { # shows_inspector <frame> <x> <y>
    at_least 20 "$1" ring "$(($2 - 40)) $(($3 - 40)) 80 80" && at_least 30 "$1" caption
}
shows_no_inspector() { at_most 0 "$1" ring && at_most 0 "$1" caption; }
reborn() { grep -qi "^$INSPECTED is reborn with a [a-z]* brain$" "$WORK/game.log"; }

window_shot() { import -window "$WINDOW" -type TrueColor "BMP3:$WORK/shot.bmp" 2>/dev/null; }
window_stands_still() { # two pictures of the window a second apart alike
    local begun=$SECONDS
    window_shot && cp "$WORK/shot.bmp" "$WORK/before.bmp" && wait_for $DEADLINE seconds_reach $((begun + 2)) &&
        window_shot && cmp -s "$WORK/before.bmp" "$WORK/shot.bmp"
}
# 1000 x 500 holds the 800 x 600 picture 667 pixels wide from x = 166: black bars beside it.
LIT_BOX=""
shot_is_letterboxed() {
    window_shot && LIT_BOX=$("$FRAMECHECK" "$WORK/shot.bmp" box lit) && [ "$LIT_BOX" = "166 0 832 499" ]
}
# After the fast run the band may hold ships still being born: the paused world runs on for a
# capture at a time until a ship shows in the window.
resized_ship_shows() {
    press p && snap && press p && snap && window_shot && find_ship "$WORK/shot.bmp" "166 30 667 330"
}

# A key that toggles, then a capture: its message alternates between the two texts. Tried
# again as the toggles are, whether it is on kept in the named variable.
toggle_shows_its_message() { # toggle_shows_its_message <key> <variable> <text when on> <text when off>
    press "$1"
    eval "$2=\$((1 - $2))"
    snap || return 1
    if [ "${!2}" = 1 ]; then
        message_row_reads "$(frame $LAST_FRAME)" 0 "$3"
    else
        message_row_reads "$(frame $LAST_FRAME)" 0 "$4"
    fi
}

FAST_ON=0
fast_mode_shows_its_message() { toggle_shows_its_message f FAST_ON "Fast mode on" "Fast mode off"; }

test_the_players_view() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the player's view test"; stop_game; return; }
    check "a red ship shows" wait_for $DEADLINE eval 'snap && find_red_ship'
    local f; f=$(frame $LAST_FRAME)
    check "the heads-up line is drawn across the top" at_least 40 "$f" hud "$HUD_STRIP"
    check "with no badge while nothing is on" \
        eval 'at_most 2 "$f" paused "$HUD_STRIP" && at_most 2 "$f" firing "$HUD_STRIP" && at_most 2 "$f" auto "$HUD_STRIP"'

    check "p, a and space each show what they did, in order" wait_for $DEADLINE toggles_show_their_messages
    if [ $TOGGLES_ON = 0 ]; then press p a space; TOGGLES_ON=1; fi
    snap
    f=$(frame $LAST_FRAME)
    check "the heads-up line shows the PAUSED, FIRING and AUTO badges" \
        eval 'at_least 100 "$f" paused "$HUD_STRIP" && at_least 100 "$f" firing "$HUD_STRIP" && at_least 100 "$f" auto "$HUD_STRIP"'
    press h
    snap
    f=$(frame $LAST_FRAME)
    check "h hides the heads-up line" \
        eval 'at_most 5 "$f" hud "$HUD_STRIP" && at_most 2 "$f" paused "$HUD_STRIP" && at_most 2 "$f" auto "$HUD_STRIP"'
    press h

    check "l without a pool file shows the terminal's reason" \
        wait_for $DEADLINE pool_message_reads l "Green pool loaded from GreenAliens_saved.txt"
    check "s shows that the pool was saved" wait_for $DEADLINE pool_message_reads s "Green pool saved to GreenAliens_saved.txt"
    check "l then shows that the pool was loaded" \
        wait_for $DEADLINE pool_message_reads l "Green pool loaded from GreenAliens_saved.txt"
    check "a capture press that writes nothing says so" wait_for $DEADLINE captures_show_their_messages
    check "a capture names the frame it wrote" wait_for $DEADLINE capture_names_its_frame

    press F1
    snap
    check "F1 draws the help page with its keys column" at_least 300 "$(frame $LAST_FRAME)" helpkey
    press F1
    snap
    check "F1 again hides it" at_most 0 "$(frame $LAST_FRAME)" helpkey

    # The world is paused: a ship found in a frame is where the click lands.
    check "a red ship shows in the paused world" wait_for $DEADLINE red_ship_shows_while_paused
    check "a left click on it inspects it, the terminal names it" inspect_ship
    echo "   $INSPECTED at $SHIP_X $SHIP_Y"
    snap
    f=$(frame $LAST_FRAME)
    check "a ring about it and the panel's networks" shows_inspector "$f" "$SHIP_X" "$SHIP_Y" ||
        echo "   ring $(kinds_in "$f" ring "$((SHIP_X - 40)) $((SHIP_Y - 40)) 80 80"), caption $(kinds_in "$f" caption)"
    local turret; turret=$(kinds_in "$f" turret)
    click_at "$SHIP_X" "$SHIP_Y" 3
    snap
    check "a right click clears the selection" shows_no_inspector "$(frame $LAST_FRAME)"
    inspect_ship
    click_at 790 590 1 # below the gun, far from any ship
    snap
    check "a click on empty space clears it" shows_no_inspector "$(frame $LAST_FRAME)"
    check "the ship is inspected again" inspect_ship

    press p
    check "f shows fast mode's message" wait_for $DEADLINE fast_mode_shows_its_message
    [ $FAST_ON = 1 ] || press f
    check "the terminal tells the inspected ship's rebirth" wait_for $((2 * DEADLINE)) reborn
    press f p
    snap
    f=$(frame $LAST_FRAME)
    check "the panel still shows it after its rebirth" at_least 30 "$f" caption
    turret=$((turret + $(kinds_in "$f" turret)))
    check "its turret line was drawn" test "$turret" -gt 0

    xdotool windowmove --sync "$WINDOW" 10 10
    xdotool windowsize --sync "$WINDOW" 1000 500
    check "OverlaysSpillingIntoTheBarsIsMended: a resized window keeps the picture's proportions between black bars" wait_for $DEADLINE shot_is_letterboxed ||
        echo "   what is lit: $LIT_BOX"
    press space a # firing and automatic mode off: the gun kills no more ships
    check "a ship shows in the resized picture" wait_for $DEADLINE resized_ship_shows
    echo "   a ship at $SHIP_X $SHIP_Y of the window"
    check "a click on it inspects it" inspect_ship
    check "a capture is still the picture at its own size" \
        eval 'snap && header_matches "$(frame $LAST_FRAME)" 800 600 && shows_background_and_aliens "$(frame $LAST_FRAME)"'

    quit_game
    check "q exits with status 0" test "$STATUS" = 0
    check "the terminal got none of the window's own messages" \
        bash -c "! grep -qE '^(Paused|Running|Firing|Automatic mode|Fast mode|Frame saved|No frame|Green pool)' '$WORK/game.log'"
    rm -rf "$WORK"
}

# The world stands: a ship found in a frame is where a click lands. Runs it a capture at a time
# until a red ship shows.
paused_red_ship_shows() { press p && snap && press p && snap && find_red_ship; }
shows_every_panel() {
    local f=$1
    echo "   help keys $(kinds_in "$f" helpkey), captions $(kinds_in "$f" caption), heads-up $(kinds_in "$f" hud "$HUD_STRIP"), graph $(graph_pixels "$f"), random brains' $(baseline_pixels "$f")"
    at_least 300 "$f" helpkey && at_least 30 "$f" caption && at_least 40 "$f" hud "$HUD_STRIP" &&
        [ "$(graph_pixels "$f")" -ge 100 ] && [ "$(baseline_pixels "$f")" -ge 30 ]
}
# The window's own pixels at 320 x 240: the heads-up line, and the help page's last row in the
# captions' colour saying that the rest does not fit.
small_window_cuts_the_help_page_and_says_so() {
    window_shot && [ "$(identify -format '%w %h' "$WORK/shot.bmp")" = "320 240" ] &&
        at_least 20 "$WORK/shot.bmp" caption && at_least 10 "$WORK/shot.bmp" hud "0 0 320 22"
}

# The statistics lines, the graph, an inspected ship's panel and the help page at once, then
# the smallest window: each shows (that they keep apart is the layout's own test).
test_all_panels_at_once_and_the_smallest_window() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the panels test"; stop_game; return; }
    press p
    check "a red ship shows in the paused world" wait_for $DEADLINE paused_red_ship_shows
    check "a click inspects it" inspect_ship
    press d g F1
    snap
    check "AllPanelsAtOnce: help page, inspector, graph with random brains and heads-up line all show" \
        shows_every_panel "$(frame $LAST_FRAME)"
    check "WorldDrawnOverTheHeadsUpLineIsMended: nothing but the line shows in its strip" \
        at_most 0 "$(frame $LAST_FRAME)" nothud "0 0 800 19"
    click_at "$SHIP_X" "$SHIP_Y" 3
    press d g
    xdotool windowmove --sync "$WINDOW" 10 10
    xdotool windowsize --sync "$WINDOW" 320 240
    check "SmallestWindow: the help page says that the rest does not fit, the heads-up line shows" \
        wait_for $DEADLINE small_window_cuts_the_help_page_and_says_so
    quit_game
    check "q exits with status 0" test "$STATUS" = 0
    rm -rf "$WORK"
}

# In fast mode, which runs the world whatever p says, p asks for a pause at normal speed or
# cancels it. Each try toggles it, so the words alternate, as for the other toggles.
PENDING=0
pause_in_fast_mode_says_so() { toggle_shows_its_message p PENDING "Pause takes effect at normal speed" "Pause cancelled"; }
# f with the pause pending: on, the pause waits again; off, it is in force. Tried as the toggles are.
FAST_WITH_PAUSE=1
fast_mode_says_what_the_pause_does() {
    press f
    FAST_WITH_PAUSE=$((1 - FAST_WITH_PAUSE))
    snap || return 1
    local f; f=$(frame $LAST_FRAME)
    if [ $FAST_WITH_PAUSE = 1 ]; then
        message_row_reads "$f" 1 "Fast mode on" && message_row_reads "$f" 0 "Pause takes effect at normal speed"
    else
        message_row_reads "$f" 1 "Fast mode off" && message_row_reads "$f" 0 "Paused"
    fi
}
# The world clock, the line's first item, reads otherwise a statistics period later.
HUD_CLOCK="0 0 60 22"
clock_runs() {
    local before=$LAST_FRAME
    wait_ticks 1 && snap && [ "$("$FRAMECHECK" "$(frame $before)" differ "$(frame $LAST_FRAME)" $HUD_CLOCK)" -gt 0 ]
}

# "<pixels> <percent>": the heads-up line's pixels in the paused colour, and the share of their
# box they fill. An outlined badge leaves its inside dark; a filled one only its letters.
paused_badge() { # paused_badge <frame>
    local count left top right bottom
    count=$(kinds_in "$1" paused "$HUD_STRIP")
    read -r left top right bottom <<< "$("$FRAMECHECK" "$1" box paused $HUD_STRIP)"
    [ -n "$bottom" ] && echo "$count $((100 * count / ((right - left + 1) * (bottom - top + 1))))"
}
badge_is() { # badge_is outlined|filled "<pixels> <percent>"
    local count fill
    read -r count fill <<< "$2"
    [ "${count:-0}" -ge 100 ] || return 1
    if [ "$1" = outlined ]; then [ "$fill" -lt 60 ]; else [ "$fill" -gt 60 ]; fi
}

test_pause_in_fast_mode_said_paused_while_the_world_ran_is_mended() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the pause-in-fast-mode test"; stop_game; return; }
    press f
    check "in fast mode p says the pause takes effect at normal speed, and p again cancels it" \
        wait_for $DEADLINE pause_in_fast_mode_says_so
    [ $PENDING = 1 ] || press p
    snap
    local pending; pending=$(paused_badge "$(frame $LAST_FRAME)")
    check "the world clock still runs" wait_for $DEADLINE clock_runs
    FAST_WITH_PAUSE=1
    check "f off says Paused, and f on that the pause waits again" wait_for $DEADLINE fast_mode_says_what_the_pause_does
    [ $FAST_WITH_PAUSE = 0 ] || press f
    snap
    local paused; paused=$(paused_badge "$(frame $LAST_FRAME)")
    check "the heads-up line showed the pause pending in an outlined badge, then in force in a filled one (pixels and per cent filled: $pending, then $paused)" \
        eval 'badge_is outlined "$pending" && badge_is filled "$paused"'
    check "and the world stands still" wait_for $DEADLINE paused_picture_stands_still
    quit_game
    rm -rf "$WORK"
}

# w: the gun drives itself and fires, fast mode and the graph with the control world's dashed
# curve, and the heads-up line's badge; w again puts everything back. e: a new world bred from
# the shipped evolved pools, e again a fresh one.
WATCHING='Watching evolution: the gun plays, fast, with the graph (w to stop)'
watching_shows() {
    snap && local f; f=$(frame $LAST_FRAME)
    message_row_reads "$f" 0 "$WATCHING" && [ "$(graph_pixels "$f")" -ge 100 ] && [ "$(baseline_pixels "$f")" -ge 30 ]
}
lines_come_by_game_time() { # in fast mode a game minute of lines passes in seconds
    [ "$(grep -cP "$DATA_LINE" "$(stats_file)" 2>/dev/null)" -ge 100 ]
}
pools_loaded() { [ "$(grep -c '^Loading\.\.\. ' "$WORK/game.log")" -ge "$1" ] && ! grep -q '^Cannot load' "$WORK/game.log"; }
test_watching_evolution_and_evolved_aliens() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the watching test"; stop_game; return; }
    snap
    press w
    check "w says it watches evolution and shows the graph against random brains" wait_for $DEADLINE watching_shows
    check "the world runs fast: 100 statistics lines of 0.6 s of game time come quickly" \
        wait_for $DEADLINE lines_come_by_game_time
    check "the gun drives itself and fires" wait_for $DEADLINE gun_has_moved
    check "the graph, alone on its half, shows the player's side: red hits on the gun, the gun's kills" \
        wait_for $DEADLINE eval 'snap && shows_the_players_panel "$(frame $LAST_FRAME)"'
    press w
    check "w again ends it: the message says so" wait_for $DEADLINE eval 'snap && message_row_reads "$(frame $LAST_FRAME)" 0 "Watching evolution ended"'
    check "and the graph is gone" test "$(graph_pixels "$(frame $LAST_FRAME)")" -lt 100
    press e
    check "e loads both evolved pools" wait_for $DEADLINE pools_loaded 2
    check "and says a new world of evolved aliens began" \
        wait_for $DEADLINE eval 'snap && message_row_reads "$(frame $LAST_FRAME)" 0 "A new world of evolved aliens (e: a fresh one)"'
    press e
    check "e again begins a fresh one" \
        wait_for $DEADLINE eval 'snap && message_row_reads "$(frame $LAST_FRAME)" 0 "A new world of fresh aliens (e: evolved ones)"'
    quit_game
    check "the game ends as usual" test "$STATUS" = 0
    rm -rf "$WORK"
}

BLANKED='Screen blanked: press ` to draw again'
# The blanked line in message row 0 (rows 483 to 509 from the top hold its strip) and nothing
# lit elsewhere: neither the world nor the heads-up line.
shows_only_the_blanked_line() {
    message_row_reads "$1" 0 "$BLANKED" && at_most 0 "$1" lit "0 0 800 483" && at_most 0 "$1" lit "0 510 800 90"
}

test_blanked_window_looked_like_a_crash_is_mended() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the blank screen test"; stop_game; return; }
    press grave
    snap
    check "after \`, a capture shows the blanked line and nothing of the world" \
        shows_only_the_blanked_line "$(frame $LAST_FRAME)"
    check "so does the window" wait_for $DEADLINE eval 'window_shot && shows_only_the_blanked_line "$WORK/shot.bmp"'
    press grave
    check "\` again draws the world" wait_for $DEADLINE eval 'snap && shows_background_and_aliens "$(frame $LAST_FRAME)"'
    quit_game
    rm -rf "$WORK"
}

# A challenge played to its end: n starts it, fast mode lets the aliens wear the gun down, its end
# shows the score in the window, keeps it in the best scores' file (written whole) and stands
# the world still; n plays again against the same aliens. Escape then closes what is open, the
# result, the help page, the inspector, before it ends the game with nothing open.
game_overs() { grep -c '^Game over: score [0-9]*, survived ' "$WORK/game.log"; }
game_overs_reach() { [ "$(game_overs)" -ge "$1" ]; }
best_lines() { grep -cE '^[0-9]+ [0-9.e+]+ [0-9.e+]+ [0-9]{4}-[0-9]{2}-[0-9]{2}$' "$WORK/KorvaneBest.txt" 2>/dev/null; }
shows_the_game_over() { snap && at_least 200 "$(frame $LAST_FRAME)" helpkey; }
test_challenge_best_scores_and_escape() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the challenge test"; stop_game; return; }
    # The gun plays by itself and fires, as a player would: the aliens then fight it.
    press a space
    press n
    check "n starts a challenge and says what is at stake" wait_for $DEADLINE eval \
        'snap && message_row_reads "$(frame $LAST_FRAME)" 0 "A challenge: 3 lives of 8 red hits each; kills score (n: start again)"'
    press f
    check "the red aliens wear the gun down: the game ends" wait_for $DEADLINE game_overs_reach 1
    check "its end shows in the window, the score and how long the gun survived" wait_for $DEADLINE shows_the_game_over
    check "the best scores' file holds the game, written whole" test "$(best_lines)" = 1
    press n
    press f
    check "n plays again, in the same world: no new world begins" wait_for $DEADLINE game_overs_reach 2
    check "and the file keeps both games" test "$(best_lines)" = 2
    ! grep -q '^A new world' "$WORK/game.log" || fail "a challenge made a new world"
    press Escape
    check "DesktopEscapeEndsTheGameAtOnceIsMended: Escape closes the result, the game runs on" \
        wait_for $DEADLINE eval 'snap && message_row_reads "$(frame $LAST_FRAME)" 0 "Free play (n: a challenge)"'
    press F1
    check "F1 shows the help page" wait_for $DEADLINE eval 'snap && at_least 300 "$(frame $LAST_FRAME)" helpkey'
    press Escape
    check "Escape closes the help page, and the game runs on" wait_for $DEADLINE eval \
        'snap && at_most 0 "$(frame $LAST_FRAME)" helpkey && is_running'
    press p # a ship in a running world has moved on before the click lands
    check "a red ship shows in the paused world" wait_for $DEADLINE paused_red_ship_shows
    check "a click inspects it" inspect_ship
    press Escape
    check "Escape closes the inspector, and the game runs on" wait_for $DEADLINE eval \
        'snap && shows_no_inspector "$(frame $LAST_FRAME)" && is_running'
    press Escape
    wait_end
    check "Escape with nothing open ends the game, status 0" test "$STATUS" = 0
    rm -rf "$WORK"
}

# The samples of OpenAL Soft's wave file after its data chunk's header, one a line.
wave_samples() {
    local data
    data=$(grep -obUa data "$1" | head -1 | cut -d: -f1) || return 1
    od -An -v -t d2 -w2 -j $((data + 8)) "$1"
}
# How far the frequency's line stands above the spectrum 70 Hz to either side, over the whole
# file (Goertzel's power at each): a tone sounded again and again stands tens of times above
# them, sweeps and noise hardly at all.
tone_above_neighbours() { # tone_above_neighbours <wave file> <hertz>
    wave_samples "$1" | awk -v f="$2" -v rate=22050 '
        BEGIN { for (k = 0; k < 3; ++k) c[k] = 2 * cos(2 * 3.14159265358979 * (f + 70 * (k - 1)) / rate) }
        { for (k = 0; k < 3; ++k) { s = $1 + c[k] * s1[k] - s2[k]; s2[k] = s1[k]; s1[k] = s } }
        END { for (k = 0; k < 3; ++k) p[k] = s1[k] * s1[k] + s2[k] * s2[k] - c[k] * s1[k] * s2[k]
              side = p[0] > p[2] ? p[0] : p[2]
              printf "%d\n", (side > 0 ? p[1] / side : 0) }'
}
sound_settings_read() { [ "$(cat "$WORK/KorvaneSound.txt" 2>/dev/null)" = "$1" ]; }

# The game heard through a wave file: a firing gun sounds; m mutes it and says so, the choice is
# kept, and the next run starts muted and stays silent while the gun fires.
test_sound_and_mute_kept() {
    WORK=$(make_workdir)
    printf '[general]\nchannels=mono\nsample-type=int16\nfrequency=22050\ndither=false\n[wave]\nfile=%s\n' \
        "$WORK/heard.wav" > "$WORK/alsoft.conf"
    local run loud silent samples
    for run in unmuted muted; do
        rm -f "$WORK/heard.wav"
        ALSOFT_DRIVERS=wave ALSOFT_CONF="$WORK/alsoft.conf" start_game ||
            { fail "the window appears for the $run sound run"; stop_game; continue; }
        press space
        check "the gun fires in the $run run" wait_for $DEADLINE eval \
            'snap && at_least 100 "$(frame $LAST_FRAME)" firing "$HUD_STRIP"'
        wait_ticks 2
        if [ $run = unmuted ]; then
            press m
            check "m mutes the sound and says so" wait_for $DEADLINE eval \
                'snap && message_row_reads "$(frame $LAST_FRAME)" 0 "Sound off"'
            check "the choice is kept in KorvaneSound.txt" sound_settings_read "muted 1"
        fi
        quit_game
        samples=$(wave_samples "$WORK/heard.wav" | wc -l)
        loud=$(wave_samples "$WORK/heard.wav" | awk '$1 > 2000 || $1 < -2000' | wc -l)
        silent=$(wave_samples "$WORK/heard.wav" | awk '$1 == 0' | wc -l)
        check "the $run run played through the device for a second or more" test "$samples" -ge 22050
        if [ $run = unmuted ]; then
            check "the firing gun is heard" test "$loud" -ge 500
            above=$(tone_above_neighbours "$WORK/heard.wav" 1320)
            check "its shots are the gun shot's 1320 Hz blip (its line $above times its neighbours')" \
                test "$above" -ge 10
        else
            check "a run that starts muted stays silent while the gun fires" test "$silent" = "$samples"
        fi
    done
    rm -rf "$WORK"
}

# Whatever ends the script, its games and working folder go with it.
trap 'kill -9 $(jobs -pr) 2>/dev/null; rm -rf "${WORK:-}"' EXIT
trap 'exit 1' HUP INT TERM
# KA_E2E_ONLY=<test function> runs that one alone.
if [ -n "${KA_E2E_ONLY:-}" ]; then
    "$KA_E2E_ONLY"
else
    test_playing_session
    test_the_players_view
    test_all_panels_at_once_and_the_smallest_window
    test_close_button_writes_the_total
    test_signal_ends_without_the_closing_lines_is_mended
    test_second_run_overwrites_the_first_runs_frames_is_mended
    test_unwritable_files_are_reported
    test_failed_statistics_write_reported_as_done_is_mended
    test_a_key_needs_two_presses_is_mended
    test_bad_files
    test_special_files_in_play_are_refused
    test_pause_in_fast_mode_said_paused_while_the_world_ran_is_mended
    test_blanked_window_looked_like_a_crash_is_mended
    test_watching_evolution_and_evolved_aliens
    test_challenge_best_scores_and_escape
    test_sound_and_mute_kept
fi
echo "$FAILURES failure(s)"
[ "$FAILURES" = 0 ]
