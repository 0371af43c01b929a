#!/bin/bash
# korvane-sim and korvane-plot end to end: one seed gives byte-identical statistics and pool
# files, the pool files round-trip, a malformed pool file is refused with a clear message;
# the learning curves' file and plots hold the means of the dying and the pools' best;
# the summary holds its keys and --set runs as an edited parameter file; option values,
# settings and outputs are checked before the run, a failed statistics write keeps the old
# file, an interrupted run still writes every output, and korvane-plot refuses inputs it
# cannot read.
# Usage: sim_test.sh <korvane-sim> <korvane-plot> <repository root>
set -u
SIM=$(realpath "$1")
PLOT=$(realpath "$2")
ROOT=$(realpath "$3")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
cp "$ROOT/params.ini" .

. "$ROOT/tests/support/checks.sh"

run() { "$SIM" --seed 11 --stats-every "${EVERY:-5000}" "$@" > /dev/null 2> "$WORK/err.txt"; }

check "a first run succeeds" run --steps 4000 --stats a.tsv --save-green a_green.txt --save-red a_red.txt --plot a.svg \
    --learning a_learning.tsv --summary a.json
check "a second run succeeds" run --steps 4000 --stats b.tsv --save-green b_green.txt --learning b_learning.tsv \
    --summary b.json
# The plot's random brains are measured in a world of their own before the run seeds its own.
check "one seed gives identical statistics" cmp -s a.tsv b.tsv
check "one seed gives identical green pools" cmp -s a_green.txt b_green.txt
check "RandomBrainsForThePlotChangeNoSeededResult: the learning curves and summary are identical" \
    eval 'cmp -s a_learning.tsv b_learning.tsv && cmp -s a.json b.json'
check "the statistics start with the column names" grep -q '^# minutes' a.tsv
check "each data line has eight tab-separated columns" \
    bash -c "grep -v '^#' a.tsv | awk -F'\t' 'NF != 8 { bad = 1 } END { exit bad || NR == 0 }'"
# The × of a ratio, in UTF-8.
says_its_ratio() { LC_ALL=C grep -qP '>\xC3\x97[0-9.]+ random brains<' "$1"; }
names_its_curves() { grep -qF ">mean of the last minute's dying<" "$1" && grep -qF '>random brains<' "$1"; }
check "the plot's panels name the dying's curve and random brains" names_its_curves a.svg
check "and say how far above random brains each curve ends" says_its_ratio a.svg
check "the saved pools load back" run --load-green a_green.txt --load-red a_red.txt --steps 10
check "make plot's tool draws a statistics file" "$PLOT" c.svg a.tsv
check "its picture names the file" grep -qF '>a: best in the pool<' c.svg
check "a statistics file has no means of the dying to draw" bash -c "! grep -q 'dying<' c.svg"

# --learning: the learning curves in a file of their own, the statistics file as it was.
check "a run with the learning curves succeeds" run --steps 4000 --stats l_stats.tsv --learning l.tsv
check "StatisticsKeepTheirColumns: the learning curves leave the statistics as they were" cmp -s a.tsv l_stats.tsv
check "the learning file names its columns" grep -qxP '# minutes\tred_dead\tred_dead_mean_fitness\tred_best\t'\
'green_dead\tgreen_dead_mean_fitness\tgreen_best\tred_entry_bar\tred_joined\tgreen_entry_bar\tgreen_joined\t'\
'gun_shots\tgun_kills\tred_on_gun\tred_on_red\tred_on_green\tred_alive_steps\tgreen_alive_steps' l.tsv
check "it has a line of eighteen columns per statistics line" \
    bash -c "grep -v '^#' l.tsv | awk -F'\t' 'NF != 18 { bad = 1 } END { exit bad || NR != $(grep -vc '^#' a.tsv) }'"
# The player's side of periods that cover the whole run adds up to the summary's totals, and
# the red bullets that struck an alien down are those that killed red and green aliens.
EVERY=20000 # steps of exactly 40 ms, so that the periods end with the run
check "a run of six whole periods succeeds" run --steps 3000 --set Game_FramesPerSecond=25 --learning whole.tsv \
    --summary whole.json
unset EVERY
check "PlayersMeasures: the periods' gun shots, kills and red hits add up to the summary's" python3 -c '
import json, sys
rows = [list(map(float, l.split("\t"))) for l in open("whole.tsv") if not l.startswith("#")]
s = json.load(open("whole.json"))
sums = [sum(r[k] for r in rows) for k in range(11, 18)]
want = [s["gun_shots"], s["gun_kills"], s["red_bullets_on_gun"], s["red_on_red"], s["red_on_green"],
        s["populations"]["red"]["alive_steps"], s["populations"]["green"]["alive_steps"]]
kills = sum(p["struck_down_by"]["gun_bullet"] for p in s["populations"].values())
red = [s["populations"][p]["struck_down_by"]["red_bullet"] for p in ("red", "green")]
sys.exit(not (len(rows) == 6 and sums == want and s["gun_kills"] == kills and red == want[3:5] and min(want) > 0))'
# A pool's entry bar is nan while it fills, then its worst, never above its best; it takes in
# at most the aliens that died, and a full pool is reached within the run.
check "each pool's entry bar and newcomers agree with its best and its dead" \
    bash -c "grep -v '^#' l.tsv | awk -F'\t' '\$8 != \"nan\" { full = 1; if (\$8 > \$4) bad = 1 } \$10 != \"nan\" && \$10 > \$7 { bad = 1 }
             \$9 > \$2 || \$11 > \$5 || \$9 < 0 || \$11 < 0 { bad = 1 } END { exit bad || !full }'"
EVERY=1
check "a run sampled every step succeeds" run --steps 60 --learning every.tsv
unset EVERY
check "a period without deaths has no mean" grep -qP '^[0-9.e-]+\t0\tnan\t' every.tsv
check "korvane-plot draws a learning file" "$PLOT" l.svg l.tsv
check "its picture has the dying's mean in thick lines" grep -qF 'stroke-width="3" stroke="#D03030" points=' l.svg
check "and names them after the file" grep -qF ">l: mean of the last minute's dying<" l.svg
check "a control run's learning file succeeds" run --steps 4000 --control --learning control.tsv
check "korvane-plot --control draws random brains from it" "$PLOT" lc.svg --control control.tsv l.tsv
check "with each curve's ratio to them" says_its_ratio lc.svg

# --summary: one JSON object of the run; it changes nothing in the run's other files, and
# --set changes the run as an edited parameter file does.
check "a run with a summary succeeds" run --steps 4000 --stats s.tsv --summary s.json
check "the summary leaves the statistics as they were" cmp -s a.tsv s.tsv
for key in '"seed": 11,' '"steps": 4000,' '"evolution": true,' '"params": {' '"Window_Width": 800,' \
    '"Alien_Width": 32.0,' '"red": {' '"green": {' '"deaths": ' '"mean_fitness_of_deaths": [' '"alive_share": ' \
    '"mean_lifetime_steps": ' '"pool": {' '"best": ' '"mean": ' '"worst": '; do
    check "the summary holds $key" grep -qF -- "$key" s.json
done
check "--control shows in the summary" run --steps 10 --control --summary c.json
check "--control's summary says so" grep -qF '"evolution": false,' c.json
sed 's/^Alien_Width .*/Alien_Width 28/; s/^Alien_NumberInPool .*/Alien_NumberInPool 12/' params.ini > edited.ini
check "a run on an edited file succeeds" run --steps 4000 --params edited.ini --stats e.tsv --summary e.json
check "a run with the same values --set succeeds" run --steps 4000 --set Alien_Width=28 \
    --set Alien_NumberInPool=12 --stats f.tsv --summary f.json
check "--set gives the statistics of the edited file" cmp -s e.tsv f.tsv
check "--set gives the summary of the edited file" cmp -s e.json f.json
check "the summary shows the value set" grep -qF '"Alien_Width": 28.0,' f.json

# The spatial index answers every question of the world step as the straightforward walks
# over every alien and bullet do: with and without --reference the files are byte-identical,
# with the shipped values and with offspring filling the band.
sed 's/^Alien_ReproductionOn .*/Alien_ReproductionOn 1/' params.ini > offspring.ini
for params in params.ini offspring.ini; do
    for seed in 3 4; do
        what="IndexChangesTheWorld: $params, seed $seed"
        "$SIM" --params "$params" --seed "$seed" --steps 6000 --stats-every 1000 --stats i.tsv --save-green i_g.txt \
            --save-red i_r.txt > /dev/null 2>&1
        "$SIM" --params "$params" --seed "$seed" --steps 6000 --stats-every 1000 --stats r.tsv --save-green r_g.txt \
            --save-red r_r.txt --reference > /dev/null 2>&1
        check "$what: identical statistics" cmp -s i.tsv r.tsv
        check "$what: identical pools" bash -c 'cmp -s i_g.txt r_g.txt && cmp -s i_r.txt r_r.txt'
    done
done

head -c 200 a_green.txt > broken.txt
"$SIM" --steps 10 --load-green broken.txt > /dev/null 2> err.txt
status=$?
check "a malformed pool file ends with status 1" test "$status" = 1
check "it says which file and what is wrong" grep -q "Cannot load broken.txt: entry 1: " err.txt

"$SIM" --steps 10 --params missing.ini > /dev/null 2> err.txt
check "a missing parameter file is refused" bash -c "[ $? = 1 ] && grep -q \"Cannot find 'missing.ini'\" err.txt"

# refuses_before_work <name> <status> <message> <command...>: refuses, and the command has
# not started any work (nothing on the standard output).
refuses_before_work() {
    refuses "$@"
    check "$1: before any work" test ! -s out.txt
}


# Option values are refused in sentences, not with a 309-digit range, and nan is no period.
refuses_before_work "OptionErrorsQuoteA309DigitRangeIsMended" 2 "--steps: '0' is not a whole number of at least 1" \
    "$SIM" --steps 0
for bad in 1.5 -3 abc 99999999999999999999; do
    refuses_before_work "OptionErrorsQuoteA309DigitRangeIsMended ($bad)" 2 "--steps: '$bad' is not a whole number of at least 1" \
        "$SIM" --steps "$bad"
done
refuses_before_work "OptionErrorsQuoteA309DigitRangeIsMended (seed)" 2 "--seed: '-1' is not a whole number from 0 to 4294967295" \
    "$SIM" --seed -1
for bad in nan inf -1 0; do
    refuses_before_work "StatsEveryNanIsAcceptedIsMended ($bad)" 2 "--stats-every: '$bad' is not a finite number above 0" \
        "$SIM" --steps 10 --stats-every "$bad"
done
check "LeadingZeroReadAsOctalIsMended: --steps 010 runs ten steps" \
    bash -c "'$SIM' --steps 010 --seed 1 2> /dev/null | grep -q '^steps 10,'"

# A --set is read as the file's values are and checked with the file's rules, before any work.
refuses_before_work "SetOfAnUnknownMember" 2 "--set: no member 'Alien_Widht'; did you mean Alien_Width?" \
    "$SIM" --steps 10 --set Alien_Widht=30
refuses_before_work "SetWithoutAValue" 2 "--set: 'Alien_Width' is not Member=Value" "$SIM" --steps 10 --set Alien_Width
refuses_before_work "SetOfAWordThatIsNoNumber" 2 "--set: Alien_NumberInPool: '1.5' is not an integer" \
    "$SIM" --steps 10 --set Alien_NumberInPool=1.5
refuses_before_work "SetOfTwoWords" 2 "--set: Alien_Width: '4' follows the value: it must be one word" \
    "$SIM" --steps 10 --set 'Alien_Width=3 4'
refuses_before_work "SetBreakingARule" 2 "--set: Gun_Width = 900 must be less than Window_Width" \
    "$SIM" --steps 10 --set Gun_Width=900
refuses_before_work "SetTakesOneValue" 2 "The following argument was not expected: Gun_Width=4" \
    "$SIM" --steps 10 --set Alien_Width=30 Gun_Width=4

# Outputs are checked against each other and the inputs before the run.
cp a.tsv kept.tsv
refuses_before_work "SameOutputTwiceLosesTheStatisticsIsMended" 2 \
    "--stats kept.tsv and --plot ./kept.tsv are the same file: each output needs a file of its own" \
    "$SIM" --steps 10 --stats kept.tsv --plot ./kept.tsv
check "SameOutputTwiceLosesTheStatisticsIsMended: the file is untouched" cmp -s a.tsv kept.tsv
cp a_green.txt pool.txt
refuses_before_work "OutputOverwritesAnInputIsMended (pool)" 2 \
    "--save-green pool.txt and --load-green pool.txt are the same file: an output must not overwrite an input" \
    "$SIM" --steps 10 --load-green pool.txt --save-green pool.txt
check "OutputOverwritesAnInputIsMended: the pool is untouched" cmp -s a_green.txt pool.txt
refuses_before_work "OutputOverwritesAnInputIsMended (params)" 2 \
    "--plot params.ini and --params params.ini are the same file: an output must not overwrite an input" \
    "$SIM" --steps 10 --plot params.ini
check "OutputOverwritesAnInputIsMended: the parameters are untouched" cmp -s "$ROOT/params.ini" params.ini
cp "$ROOT/params.ini" .
refuses_before_work "MissingOutputFolderFoundOnlyAfterTheRunIsMended" 1 \
    "--save-red nowhere/red.txt cannot be written: the folder nowhere does not exist" \
    "$SIM" --steps 100000000 --save-red nowhere/red.txt
mkdir folder && mkfifo fifo
refuses_before_work "FolderAsOutputIsMended" 1 "--stats folder cannot be written: folder is a folder" \
    "$SIM" --steps 10 --stats folder
refuses_before_work "FifoAsOutputIsMended" 1 "--plot fifo cannot be written: fifo is not a regular file" \
    "$SIM" --steps 10 --plot fifo
refuses_before_work "LearningIntoAFolder" 1 "--learning folder cannot be written: folder is a folder" \
    "$SIM" --steps 10 --learning folder
refuses_before_work "LearningOnTheStatistics" 2 \
    "--stats kept.tsv and --learning kept.tsv are the same file: each output needs a file of its own" \
    "$SIM" --steps 10 --stats kept.tsv --learning kept.tsv
refuses_before_work "SummaryIntoAFolder" 1 "--summary folder cannot be written: folder is a folder" \
    "$SIM" --steps 10 --summary folder
refuses_before_work "SummaryOnTheStatistics" 2 \
    "--stats kept.tsv and --summary kept.tsv are the same file: each output needs a file of its own" \
    "$SIM" --steps 10 --stats kept.tsv --summary kept.tsv
if mknod full c 1 7 2> /dev/null; then
    refuses_before_work "DeviceAsOutputIsMended" 1 "--save-green full cannot be written: full is not a regular file" \
        "$SIM" --steps 10 --save-green full
    check "DeviceAsOutputIsMended: the device stays a device" test -c full
else
    echo "skipped: this test may not make device nodes"
fi

# A statistics write that fails (here at the file-size limit) keeps the old file and ends with
# status 1; at 3000 lines it fails while the run goes on, at 1000 when it is put in place.
for steps in 1000 3000; do
    echo "an earlier run" > limited.tsv
    (ulimit -f 4 && trap '' XFSZ && exec "$SIM" --seed 11 --steps $steps --stats-every 1 --stats limited.tsv) \
        > /dev/null 2> err.txt
    status=$?
    check "FailedStatsWriteReportedAsDoneIsMended ($steps steps): status 1 (got $status)" test "$status" = 1
    check "FailedStatsWriteReportedAsDoneIsMended ($steps steps): the reason is given" grep -qF \
        "The statistics are not saved (limited.tsv stays as it was): cannot write limited.tsv: File too large" err.txt
    check "FailedStatsWriteReportedAsDoneIsMended ($steps steps): the old file stays" \
        test "$(cat limited.tsv)" = "an earlier run"
    check "FailedStatsWriteReportedAsDoneIsMended ($steps steps): no temporary file is left" \
        bash -c "! ls -a | grep -q '\.tmp$'"
done
echo "an earlier run" > limited.tsv
(ulimit -f 4 && trap '' XFSZ && exec "$SIM" --seed 11 --steps 3000 --stats-every 1 --learning limited.tsv) \
    > /dev/null 2> err.txt
check "FailedLearningWrite: status 1" test $? = 1
check "FailedLearningWrite: the reason is given" grep -qF \
    "The learning curves are not saved (limited.tsv stays as it was): cannot write limited.tsv: File too large" err.txt
check "FailedLearningWrite: the old file stays" test "$(cat limited.tsv)" = "an earlier run"

# started <statistics file>: the run is under way, its statistics' temporary file has data.
started() { find . -maxdepth 1 -name ".$1.*.tmp" -size +0 | grep -q .; }

# An interrupted run stops after its step, writes every output whole and says so.
interrupt() { # interrupt <signal> <status>
    local what="InterruptLeavesTheStatisticsCutMidLineIsMended ($1)"
    rm -f int*
    echo "an earlier run" > int.tsv
    # With job control on, the background run keeps SIGINT: a script's background jobs
    # otherwise start with it ignored, and an ignored signal stays ignored.
    set -m
    "$SIM" --seed 11 --steps 1000000 --stats-every 1 --stats int.tsv --save-green int_green.txt --plot int.svg \
        --summary int.json --learning int_learning.tsv > int_out.txt 2> int_err.txt &
    local pid=$!
    set +m
    if wait_for 120 started int.tsv; then kill -"$1" "$pid"; else kill -KILL "$pid"; fi
    wait "$pid"
    local status=$?
    local ran
    ran=$(sed -n 's/^Interrupted after \([0-9]*\) of 1000000 steps; the outputs hold the steps that ran\.$/\1/p' int_err.txt)
    check "$what: status $2 (got $status)" test "$status" = "$2"
    check "$what: says how many steps ran ($ran)" test "${ran:-0}" -gt 0
    check "$what: the summary counts them" grep -q "^steps $ran, " int_out.txt
    check "$what: the statistics hold one line per step" test "$(grep -vc '^#' int.tsv)" = "$ran"
    check "$what: the learning curves hold one line per step" test "$(grep -vc '^#' int_learning.tsv)" = "$ran"
    check "$what: korvane-plot reads them" "$PLOT" int_plot.svg int.tsv int_learning.tsv
    check "$what: the pool and plot are written" test -s int_green.txt -a -s int.svg
    check "$what: the summary counts the steps that ran" grep -qF "\"steps\": $ran," int.json
    check "$what: no temporary file is left" bash -c "! ls -a | grep -q '\.tmp$'"
}
interrupt INT 130
interrupt TERM 143

# korvane-plot's inputs: checked before reading, only regular files, each fault named.
cp a.tsv plotted.tsv
refuses_before_work "PlotOverwritesItsInputIsMended" 2 \
    "the picture plotted.tsv and the statistics file plotted.tsv are the same file: an output must not overwrite an input" \
    "$PLOT" plotted.tsv a.tsv plotted.tsv
check "PlotOverwritesItsInputIsMended: the statistics are untouched" cmp -s a.tsv plotted.tsv
refuses_before_work "PlotIntoAMissingFolder" 1 "the picture nowhere/p.svg cannot be written: the folder nowhere does not exist" \
    "$PLOT" nowhere/p.svg a.tsv
refuses_before_work "PlotHangsOnAFifoIsMended" 1 "fifo: is not a regular file" "$PLOT" p.svg a.tsv fifo
refuses_before_work "PlotOfAFolder" 1 "folder: is a folder" "$PLOT" p.svg folder
if [ -c full ]; then
    refuses_before_work "PlotOfADevice" 1 "full: is not a regular file" "$PLOT" p.svg full
fi
refuses_before_work "PlotOfAMissingFile" 1 "missing.tsv: No such file or directory" "$PLOT" p.svg missing.tsv
: > empty.tsv
refuses_before_work "PlotOfAnEmptyFile" 1 "empty.tsv: holds no statistics lines" "$PLOT" p.svg empty.tsv
{ head -2 a.tsv; printf '1.5\t3\tx\n'; } > malformed.tsv
refuses_before_work "PlotNamesTheMalformedLine" 1 "malformed.tsv: line 3 is not a statistics line of 8 numbers: '1.5\x093\x09x'" \
    "$PLOT" p.svg malformed.tsv
{ head -2 a.tsv; printf '1.5\t3\t14.068'; } > cut.tsv
refuses_before_work "PlotNamesTheCutLine" 1 "cut.tsv: line 3 is cut short: it has no line end" "$PLOT" p.svg cut.tsv
{ head -2 l.tsv; printf '1.5\t3\t2.5\tnan\t4\t12\t40\tnan\t1\t30\t2\t9\t5\t1\t0\t2\t90\t200\n'; } > nanbest.tsv
refuses_before_work "PlotRefusesNanBeyondTheMeansOfTheDying" 1 \
    "nanbest.tsv: line 3 is not a learning line of 18 numbers: '1.5\x093\x092.5\x09nan\x094\x0912\x0940\x09nan\x091\x0930\x092\x099\x095\x091\x090...'" \
    "$PLOT" p.svg nanbest.tsv
cut -f1-7 l.tsv > seven.tsv
check "korvane-plot still draws a learning file of seven columns, as written before the pools' entry" \
    "$PLOT" seven.svg seven.tsv
{ head -2 a.tsv; tail -1 l.tsv; } > mixed.tsv
refuses_before_work "PlotControlOfAStatisticsFile" 1 \
    "a.tsv: is a statistics file; --control takes the --learning file of a korvane-sim --control run" \
    "$PLOT" p.svg --control a.tsv l.tsv
refuses_before_work "PlotRefusesMixedLines" 1 "mixed.tsv: line 3 is not a statistics line of 8 numbers" "$PLOT" p.svg mixed.tsv
printf '# minutes\n1\t2\t3\n' > narrow.tsv
refuses_before_work "PlotNamesBothKindsOfLine" 1 \
    "narrow.tsv: line 2 is neither a statistics line of 8 numbers nor a learning line of 18 (or 11, or 7): '1\x092\x093'" \
    "$PLOT" p.svg narrow.tsv
# Lines whose minutes go back or are negative were left out without a word; a paused game's
# repeated minutes are still taken.
{ head -3 l.tsv; sed -n 2p l.tsv; } > backwards.tsv
refuses_before_work "PlotDropsLinesThatGoBackInTimeIsMended" 1 \
    "backwards.tsv: line 4 goes back in time: its $(sed -n 2p l.tsv | cut -f1) minutes come after line 3's $(sed -n 3p l.tsv | cut -f1)" \
    "$PLOT" p.svg backwards.tsv
{ head -1 a.tsv; sed -n 2p a.tsv | sed 's/^[^\t]*/-0.5/'; } > negative.tsv
refuses_before_work "PlotDropsLinesThatGoBackInTimeIsMended (negative)" 1 \
    "negative.tsv: line 2 starts at -0.5 minutes: a run's minutes are not negative" "$PLOT" p.svg negative.tsv
{ head -3 l.tsv; tail -n +3 l.tsv; } > paused.tsv
check "PlotDropsLinesThatGoBackInTimeIsMended: the minutes of a pause, repeated, are taken" \
    "$PLOT" paused.svg paused.tsv
# A hair back in time printed both minutes alike: "its 1 minutes come after line 2's 1".
{ head -1 l.tsv; sed -n 2p l.tsv | sed 's/^[^\t]*/1.0000000000000002/'; sed -n 2p l.tsv | sed 's/^[^\t]*/1/'; } > hair.tsv
refuses_before_work "PlotGoesBackInTimeMessageOfAlikeMinutesIsMended" 1 \
    "hair.tsv: line 3 goes back in time: its 1 minutes come after line 2's 1.0000000000000002" "$PLOT" p.svg hair.tsv
check "no refused plot was written" test ! -e p.svg

echo "$FAILURES failure(s)"
[ "$FAILURES" = 0 ]
