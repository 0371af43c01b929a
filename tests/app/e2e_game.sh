#!/bin/bash
# End-to-end tests of the real game under Xvfb, driven with xdotool.
# Usage: e2e_game.sh <game binary> <repository root> <wmclose helper> <korvane-sim>
set -u
GAME=$(realpath "$1")
ROOT=$(realpath "$2")
WMCLOSE=$(realpath "$3")
SIM=$(realpath "$4")

# Run the whole script on its own virtual screen: a free display, its own xauth.
if [ -z "${KA_E2E_ON_XVFB:-}" ]; then
    export KA_E2E_ON_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi
export LIBGL_ALWAYS_SOFTWARE=1
# In the sanitizer build every memory error still fails the game, but the leak check is off
# for it: Mesa's software driver leaves its caches allocated at exit from a module it has
# already unloaded, which no suppression can name. The world's own objects are checked for
# leaks by the unit tests, which build and destroy whole worlds.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

FAILURES=0
fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; return 1; fi; }

# A working directory of its own with the game's files; faster statistics than the default.
make_workdir() {
    local dir
    dir=$(mktemp -d)
    cp -r "$ROOT/graphics" "$ROOT/HelpPage.txt" "$dir/"
    sed -e 's/^Stats_UpdateInterval .*/Stats_UpdateInterval 200/' \
        -e 's/^Stats_SaveInterval .*/Stats_SaveInterval 600/' "$ROOT/params.ini" > "$dir/params.ini"
    echo "$dir"
}

wait_for() { # wait_for <seconds> <command...>
    local deadline=$((SECONDS + $1)); shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

press() { xdotool key --clearmodifiers "$@"; sleep 0.3; }

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

shows_background_and_aliens() {
    local census colours dark green red
    census=$(pixel_census "$1")
    read -r colours dark green red <<< "$census"
    echo "   pixels: $colours colours, $dark dark, $green green, $red red"
    [ "$colours" -gt 200 ] && [ "$dark" -gt 100000 ] && [ $((green + red)) -gt 50 ]
}

count_frames() { find "$WORK" -maxdepth 1 -name 'frame*.bmp' | wc -l; }

start_game() {
    (cd "$WORK" && exec "$GAME") > "$WORK/game.log" 2>&1 &
    GAME_PID=$!
    WINDOW=$(timeout 30 xdotool search --sync --name '^Korvane Aliens$' 2>/dev/null | head -1)
    [ -n "$WINDOW" ] || return 1
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
    sleep 0.5
}

capture() { # capture <expected frame number>
    press C
    wait_for 10 test -s "$(frame "$1")"
}

stop_game() {
    kill "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
}

test_playing_session() {
    WORK=$(make_workdir)
    check "the window appears" start_game || { cat "$WORK/game.log"; return; }
    check "the window has its title" test "$(xdotool getwindowname "$WINDOW")" = "Korvane Aliens"
    sleep 2 # the aliens are born

    check "C writes frame 0" capture 0
    local f0; f0=$(frame 0)
    check "frame 0's header matches field by field" header_matches "$f0" 800 600
    check "identify reads frame 0 as a 24-bit 800x600 bitmap" identify_accepts "$f0" 800 600
    check "frame 0 shows the background and alien sprites" shows_background_and_aliens "$f0"

    press C
    sleep 0.5
    check "a second C writes nothing" test "$(count_frames)" = 1

    press p
    sleep 0.5
    check "a third C writes frame 2" capture 2
    sleep 1
    press C
    capture 4
    check "while paused the aliens stay where they were" cmp -s "$(frame 2)" "$(frame 4)"

    press d
    press C
    capture 6
    check "d draws the statistics overlay into the picture" bash -c "! cmp -s '$(frame 4)' '$(frame 6)'"
    press d
    press F1
    press C
    capture 8
    check "F1 draws the help page into the picture" bash -c "! cmp -s '$(frame 4)' '$(frame 8)' && ! cmp -s '$(frame 6)' '$(frame 8)'"
    press F1
    press g
    press C
    capture 10
    check "g draws the fitness graph into the picture" bash -c "! cmp -s '$(frame 4)' '$(frame 10)'"
    press g

    # Let the world run fast so that aliens die and the green pool fills.
    press p
    press f
    sleep 4
    press f
    press s
    check "s writes GreenAliens_saved.txt" wait_for 10 test -s "$WORK/GreenAliens_saved.txt"
    local entries; entries=$(awk '{print $1; exit}' "$WORK/GreenAliens_saved.txt")
    check "the saved pool holds brains ($entries)" test "${entries:-0}" -gt 0
    press l
    check "l reads the saved pool back" wait_for 10 grep -q "^Loading\.\.\. .*" "$WORK/game.log"
    sleep 0.5
    check "the load succeeded" bash -c "! grep -q 'Cannot load' '$WORK/game.log'"
    check "korvane-sim loads the game's pool file" \
        "$SIM" --params "$WORK/params.ini" --steps 10 --seed 1 --load-green "$WORK/GreenAliens_saved.txt" --save-green "$WORK/sim_pool.txt"
    cp "$WORK/sim_pool.txt" "$WORK/GreenAliens_saved.txt"
    local done_lines; done_lines=$(grep -c '^done\.$' "$WORK/game.log")
    press l
    check "the game loads korvane-sim's pool file" \
        wait_for 10 bash -c "[ \$(grep -c '^done\.\$' '$WORK/game.log') -gt $done_lines ]"
    check "without complaint" bash -c "! grep -q 'Cannot load' '$WORK/game.log'"

    sleep 1
    press q
    wait_for 10 bash -c "! kill -0 $GAME_PID 2>/dev/null"
    wait "$GAME_PID"; local status=$?
    check "q exits with status 0" test "$status" = 0
    local stats; stats=$(ls "$WORK"/KVN_STAT__*.txt 2>/dev/null | head -1)
    check "the statistics file exists" test -n "$stats"
    check "it has data lines" grep -qP '^[0-9.]+\t[0-9]+\t[-0-9.e+]+\t[-0-9.e+]+$' "$stats"
    check "it ends with four empty lines and the total" \
        bash -c "tail -n 5 '$stats' | head -n 4 | grep -c '^$' | grep -q 4 && tail -n 1 '$stats' | grep -q '^Overall number of dead:[0-9][0-9]*$'"
    rm -rf "$WORK"
}

test_close_button_writes_the_total() {
    WORK=$(make_workdir)
    start_game || { fail "the window appears for the close test"; return; }
    sleep 1.5
    "$WMCLOSE" "$WINDOW"
    wait_for 10 bash -c "! kill -0 $GAME_PID 2>/dev/null"
    wait "$GAME_PID"; local status=$?
    check "closing the window exits with status 0" test "$status" = 0
    check "closing the window writes the total" grep -q '^Overall number of dead:' "$WORK"/KVN_STAT__*.txt
    rm -rf "$WORK"
}

test_unwritable_files_are_reported() {
    WORK=$(make_workdir)
    # Dangling links for this minute's and the next minute's statistics file: they do not
    # count as existing files, and creating the file through them fails.
    local now
    for now in "$(date -u +%s)" "$(( $(date -u +%s) + 60 ))"; do
        ln -s /proc/no/such/folder/stats.txt "$WORK/$(date -u -d "@$now" +KVN_STAT__%Y_%-m_%-d__%-H_%-M.txt)"
    done
    mkdir "$WORK/frame    0.bmp"
    start_game || { fail "the window appears for the unwritable-files test"; return; }
    sleep 1
    press C
    sleep 1
    press s
    sleep 1
    press q
    wait_for 10 bash -c "! kill -0 $GAME_PID 2>/dev/null"
    wait "$GAME_PID"; local status=$?
    check "an unwritable statistics file gives the warning" \
        grep -qPz "Warning\. \nUnable to open KVN_STAT__[0-9_]*\.txt to save the statistics\.\nStatistics will not be saved for this run\n\n\n" "$WORK/game.log"
    check "a capture that cannot be written is reported" grep -qF "Cannot write the frame frame    0.bmp: cannot replace" "$WORK/game.log"
    check "the game went on: s still saved the pool" test -s "$WORK/GreenAliens_saved.txt"
    check "and q still exits with status 0" test "$status" = 0
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

test_a_key_needs_two_presses_is_mended() {
    WORK=$(make_workdir)
    # The gun starts in automatic mode and draws a new direction every step; no aliens, so
    # nothing but the gun changes in its strip.
    sed -i -e 's/^Gun_AutoMode .*/Gun_AutoMode 1/' -e 's/^Gun_AutoDirectionInterval .*/Gun_AutoDirectionInterval 1/' \
        -e 's/^Alien_NumberOfRed .*/Alien_NumberOfRed 0/' -e 's/^Alien_NumberOfGreen .*/Alien_NumberOfGreen 0/' \
        "$WORK/params.ini"
    start_game || { fail "the window appears for the a-key test"; return; }
    sleep 1
    capture 0
    sleep 1.5
    press C # every second press writes a frame
    capture 2
    local moving; moving=$(gun_strip_changes "$(frame 0)" "$(frame 2)")
    check "in automatic mode the gun moves ($moving pixels changed)" test "${moving:-0}" -gt 100
    press a
    sleep 3 # the gun's last push dies away: its speed falls by a tenth every step
    press C
    capture 4
    sleep 1.5
    press C
    capture 6
    local still; still=$(gun_strip_changes "$(frame 4)" "$(frame 6)")
    check "one press of a stops it ($still pixels changed)" test "${still:-999}" -lt 10
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
}

test_playing_session
test_close_button_writes_the_total
test_unwritable_files_are_reported
test_a_key_needs_two_presses_is_mended
test_bad_files
echo "$FAILURES failure(s)"
[ "$FAILURES" = 0 ]
