#!/bin/bash
# korvane-sweep end to end, with the real korvane-sim and GNU parallel: a small sweep here;
# the same sweep stopped by SIGINT and by SIGKILL and resumed, no finished run run again;
# through parallel's remote path against two stand-in hosts (localssh.sh); as a Slurm
# array whose tasks are run here as Slurm would; each giving the same results. Then the
# files and command lines it must refuse, each with its message.
# Usage: sweep_test.sh <korvane-sweep> <korvane-sim> <repository root>
set -u
SWEEP=$(realpath "$1")
SIM=$(realpath "$2")
ROOT=$(realpath "$3")
LOCALSSH="$ROOT/tests/tools/localssh.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
# GNU parallel keeps files under HOME and TMPDIR: both stay in the scratch folder.
export HOME="$WORK/home" TMPDIR="$WORK/tmp" KA_REMOTE_ROOT="$WORK/machines"
mkdir -p "$HOME" "$TMPDIR"
cp "$ROOT/params.ini" .

. "$ROOT/tests/support/checks.sh"


RUN=("$SWEEP" --sim "$SIM")
sweep() { "${RUN[@]}" "$@"; }

# finished <folder>: the job log's runs that ended with status 0, as "seq start-time" lines.
finished() { tail -n +2 "$1/joblog" 2> /dev/null | awk -F'\t' '$7 == 0 && $8 == 0 { print $1, $3 }' | sort -n; }
# ended_or_finished <pid> <count>: the sweep in resumed/ has ended, or its job log shows the runs done.
ended_or_finished() { ! kill -0 "$1" 2> /dev/null || [ "$(finished resumed | wc -l)" -ge "$2" ]; }
lock_is_free() { flock -n "$1/.lock" true; }
# summaries_of_finished <folder>: "file modification-time" of the finished runs' summaries.
summaries_of_finished() {
    finished "$1" | while read -r seq _; do
        stat -c '%n %.9Y' "$1/runs/$(sed -n "${seq}p" "$1/jobs.tsv" | cut -f1).json"
    done
}
# all_kept <before> <after>: every line of the first file is in the second.
all_kept() { [ -z "$(comm -23 <(sort "$1") <(sort "$2"))" ]; }
rows() { tail -n +2 "$1/results.tsv" | wc -l; }

cat > small.sweep << 'EOF'
# two settings, three seeds
steps 8000
seeds 1-3
Alien_MutationRate 5 20
EOF

# 1. Here, on the local cores.
sweep small.sweep --out local > out.txt 2> err.txt
check "a small sweep runs (status $?)" test $? = 0
check "the job log holds 12 runs that ended with status 0" test "$(finished local | wc -l)" = 12
check "a TSV row a run, under a header" test "$(rows local)" = 12
check "the header names the swept member and the figures" \
    grep -q "^Alien_MutationRate	seed	evolution	steps	red_deaths	.*	green_pool_worst	red_struck_down_by_gun_bullet	.*	green_struck_down_by_edge	red_bullets_on_gun	gun_shots	gun_kills	red_on_red	red_on_green$" local/results.tsv
check "every row has the 35 columns" \
    bash -c "awk -F'\t' 'NF != 35 { bad = 1 } END { exit bad }' local/results.tsv"
check "every run is there with evolution and with --control" \
    test "$(cut -f1-4 local/results.tsv | tail -n +2 | sort -u | wc -l)" = 12
check "the table has a row a setting with both scores and their intervals" \
    bash -c "grep -cE '^\| s[12] \| (5|20) \| [0-9.]+ \([0-9.]+–[0-9.]+\) \| [0-9.]+ \([0-9.]+–[0-9.]+\) \| .* \| 3 \|$' local/report.md | grep -qx 2"
check "the table is printed" grep -q '^| s1 | 5 | ' out.txt
check "the picture is an SVG naming the settings" grep -q '>s2: 20</text>' local/report.svg
check "nothing is said of missing runs" test ! -s err.txt

# 2. Stopped twice and resumed: a run that the job log records as done never runs again.
set -m # so that the background sweep keeps SIGINT, as at a terminal
"${RUN[@]}" small.sweep --out resumed --jobs 1 > out.txt 2> err.txt &
pid=$!
set +m
wait_for 300 ended_or_finished "$pid" 2 && kill -INT "$pid"
wait "$pid" 2> /dev/null
status=$?
check "SIGINT stops the sweep (status $status)" test "$status" = 130
check "it says how far it got" grep -qE '^Stopped: [0-9]+ of 12 runs are done' err.txt
check "it stopped half-way" test "$(finished resumed | wc -l)" -lt 12
finished resumed > first.txt
summaries_of_finished resumed > first_files.txt
# Parallel exits as soon as it has killed its runs, which may still be dying: the sweep
# waits for them, so that the lock is free the moment it ends.
check "RunsOutlivingAStoppedSweepIsMended: its runs have ended with it" lock_is_free resumed

"${RUN[@]}" small.sweep --out resumed --jobs 1 > out.txt 2> err.txt &
pid=$!
wait_for 300 ended_or_finished "$pid" $(($(wc -l < first.txt) + 2)) && kill -KILL "$pid"
wait "$pid" 2> /dev/null
check "SIGKILL stopped it half-way" test "$(finished resumed | wc -l)" -lt 12
check "a sweep killed outright takes its runs with it" wait_for 60 lock_is_free resumed
finished resumed > second.txt

sweep small.sweep --out resumed > out.txt 2> err.txt
check "the resumed sweep ends (status $?)" test $? = 0
check "it says what an earlier start left" grep -qE '^Going on with the sweep in resumed: [0-9]+ of its runs are done' err.txt
finished resumed > final.txt
check "all 12 runs are done" test "$(cut -d' ' -f1 final.txt | sort -u | wc -l)" = 12
check "no run is recorded as done twice" test "$(wc -l < final.txt)" = 12
check "the runs done before SIGINT were not run again" all_kept first.txt final.txt
check "the runs done before SIGKILL were not run again" all_kept second.txt final.txt
summaries_of_finished resumed > final_files.txt
check "nor were their summaries written again" all_kept first_files.txt final_files.txt
check "the results are those of the sweep that ran through" cmp -s local/results.tsv resumed/results.tsv

# A run counts as done only when its summary is whole: one removed and one cut short after
# their runs ended with status 0 run again at the next start, and no other does.
finished resumed | grep -vE '^(2|9) ' > others.txt
rm resumed/runs/s1-seed1-control.json
head -c 100 resumed/runs/s2-seed2-evolution.json > cut.json && mv cut.json resumed/runs/s2-seed2-evolution.json
sweep small.sweep --out resumed > out.txt 2> err.txt
check "RemovedSummaryIsNeverRunAgainIsMended: the sweep completes (status $?)" test $? = 0
check "RemovedSummaryIsNeverRunAgainIsMended: it counts the whole summaries" \
    grep -q '^Going on with the sweep in resumed: 10 of its runs are done' err.txt
finished resumed > again.txt
check "RemovedSummaryIsNeverRunAgainIsMended: the other runs did not run again" all_kept others.txt again.txt
check "RemovedSummaryIsNeverRunAgainIsMended: every run is recorded as done once" test "$(wc -l < again.txt)" = 12
check "RemovedSummaryIsNeverRunAgainIsMended: the same results" cmp -s local/results.tsv resumed/results.tsv

# 3. On two hosts through parallel's remote path: korvane-sim, the parameter file and the
# job script are sent to each, the summaries come back, and the hosts are left clean. No
# SHELL here, as under a CI runner: a host has the one its login gives, as sshd sets it.
printf '1/hostA\n1/hostB\n' > hosts
env -u SHELL "${RUN[@]}" small.sweep --out remote --sshloginfile hosts --ssh "$LOCALSSH" > out.txt 2> err.txt
check "the sweep runs on the hosts (status $?)" test $? = 0 || { cat err.txt remote/joblog; tail -n 3 remote/runs/*.log; }
check "both hosts ran some of it" \
    bash -c "tail -n +2 remote/joblog | cut -f2 | sort -u | tr '\n' ' ' | grep -qx 'hostA hostB '"
check "the results are those of the sweep run here" cmp -s local/results.tsv remote/results.tsv
check "the hosts are left as they were found" test -z "$(find "$KA_REMOTE_ROOT" -type f)"

# 4. As a Slurm job array: the script's tasks run the same job list.
sweep small.sweep --out slurm --slurm job.sbatch > out.txt 2> err.txt
check "the Slurm script is written (status $?)" test $? = 0
check "it is an array of the 12 runs" grep -qx '#SBATCH --array=1-12' job.sbatch
check "no run has started" test -z "$(ls slurm/runs)"
for task in $(seq 1 10); do
    (cd slurm && SLURM_ARRAY_TASK_ID=$task SLURM_SUBMIT_DIR="$WORK/slurm" sh ../job.sbatch)
done
sweep small.sweep --out slurm --collect > out.txt 2> err.txt
check "collecting before every task ran fails (status $?)" test $? = 1
check "it names the tasks still to run, as ranges" grep -q -- '--array=11-12$' err.txt
check "and why: s2-seed3-evolution has no summary" grep -q "^  s2-seed3-evolution: slurm/runs/s2-seed3-evolution.log: no log" err.txt
check "its table counts the seeds whose two runs finished" grep -q '^| s2 | 20 | .* | 2 |$' slurm/report.md
for task in 11 12; do
    (cd slurm && SLURM_ARRAY_TASK_ID=$task SLURM_SUBMIT_DIR="$WORK/slurm" sh ../job.sbatch)
done
sweep small.sweep --out slurm --collect > out.txt 2> err.txt
check "collecting after every task ran succeeds (status $?)" test $? = 0
check "the results are those of the sweep run through parallel" cmp -s local/results.tsv slurm/results.tsv
check "a task of no line says so" \
    bash -c "cd slurm && SLURM_ARRAY_TASK_ID=13 sh ../job.sbatch 2>&1 | grep -qx 'jobs.tsv has no line 13'"

# A summary that is not whole is not taken, and the report says which and why.
head -c 100 local/runs/s1-seed2-control.json > cut.json && mv cut.json local/runs/s1-seed2-control.json
sweep small.sweep --out local --collect > out.txt 2> err.txt
check "a cut summary fails the collection (status $?)" test $? = 1
check "it names the summary and the cause" \
    grep -q "^  s1-seed2-control: local/runs/s1-seed2-control.json: not a summary: .*parse error" err.txt
check "the report keeps the other runs" test "$(rows local)" = 11

# Nor is one whose figures break the bounds korvane-sim keeps to, or are too large to read.
sed -i '0,/"deaths": [0-9]*/s//"deaths": -1e308/' local/runs/s1-seed3-control.json
sed -i '0,/"alive_share": [0-9.e-]*/s//"alive_share": 1e400/' local/runs/s2-seed1-control.json
sweep small.sweep --out local --collect > out.txt 2> err.txt
check "FiguresBeyondTheirWritersBoundsAreTakenIsMended: the collection fails (status $?)" test $? = 1
check "FiguresBeyondTheirWritersBoundsAreTakenIsMended: it names the summary and the figure" \
    grep -qx "  s1-seed3-control: local/runs/s1-seed3-control.json: populations.red.deaths is not a whole number from 0 to 9223372036854775807" err.txt
check "AFigureBeyondADoubleEndsTheProgramIsMended: it names the summary and the number" \
    grep -q "^  s2-seed1-control: local/runs/s2-seed1-control.json: not a summary: .*number overflow parsing '1e400'" err.txt
check "FiguresBeyondTheirWritersBoundsAreTakenIsMended: the report keeps the other runs" test "$(rows local)" = 9


# 5. Sweep files and values refused with the file, the line and the cause.
printf 'steps 100\nseeds 1-2\nAlien_MutationRate 5\nAlien_MutatonRate 10\n' > typo.sweep
refuses "UnknownMemberInASweepFile" 1 "typo.sweep: line 4: korvane-sim refuses Alien_MutatonRate 10:" \
    "${RUN[@]}" typo.sweep
check "UnknownMemberInASweepFile: with korvane-sim's words for it" grep -q "Alien_MutationRate" err.txt
check "UnknownMemberInASweepFile: no folder is made" test ! -e typo.sweep.results
printf 'steps 100\nseeds 1-2\nAlien_MutationRate 5 abc\n' > value.sweep
refuses "RefusedValueInASweepFile" 1 "value.sweep: line 3: korvane-sim refuses Alien_MutationRate abc:" \
    "${RUN[@]}" value.sweep
printf 'steps 100\nseeds 1\nWindow_Width 700 1000\nGun_Width 48 750\n' > pair.sweep
refuses "SettingThatBreaksARuleTogether" 1 "pair.sweep: korvane-sim refuses the setting Window_Width=700, Gun_Width=750:" \
    "${RUN[@]}" pair.sweep
check "SettingThatBreaksARuleTogether: in the rule's words" \
    grep -qx -- '--set: Gun_Width = 750 must be less than Window_Width' err.txt
check "SettingThatBreaksARuleTogether: no folder is made" test ! -e pair.sweep.results
printf 'steps 100\nseeds 2-1\n' > seeds.sweep
refuses "BackwardSeedRange" 1 "seeds.sweep: line 2: '2-1' is neither a seed" "${RUN[@]}" seeds.sweep
refuses "MissingSweepFile" 1 "missing.sweep: No such file or directory" "${RUN[@]}" missing.sweep
mkdir folder.sweep && mkfifo fifo.sweep
refuses "FolderAsSweepFile" 1 "folder.sweep: is a folder" "${RUN[@]}" folder.sweep
refuses "FifoAsSweepFile" 1 "fifo.sweep: is not a regular file" "${RUN[@]}" fifo.sweep
head -c 3000 "$SIM" > binary.sweep
refuses "BinaryAsSweepFile" 1 "binary.sweep: line 1: holds a control character: this is not a sweep file" \
    "${RUN[@]}" binary.sweep

# 6. Results folders that are not this sweep's, or are in use.
mkdir -p other && echo "a file of its own" > other/notes.txt
refuses "ResultsAmongOtherFiles" 1 "other is not empty and holds no sweep: give a new or an empty folder" \
    "${RUN[@]}" small.sweep --out other
check "ResultsAmongOtherFiles: the folder is left as it was" test "$(ls -A other)" = notes.txt
sed 's/^steps 8000$/steps 9000/' small.sweep > longer.sweep
refuses "ResultsOfAnotherSweep" 1 "local holds the runs of another sweep (its jobs.tsv lists other runs)" \
    "${RUN[@]}" longer.sweep --out local
sed 's/^Alien_MaxSpeed .*/Alien_MaxSpeed 0.2/' params.ini > faster.ini
refuses "ResultsOfAnotherParameterFile" 1 \
    "the runs in local were made with another parameter file: local/params.ini differs from faster.ini" \
    "${RUN[@]}" small.sweep --out local --params faster.ini
exec 9> local/.lock
flock 9
refuses "TwoSweepsInOneFolder" 1 "local is in use: another korvane-sweep, or runs that one started, still work in it" \
    "${RUN[@]}" small.sweep --out local --collect
exec 9>&-
refuses "CollectWithoutASweep" 1 "nothing holds no runs of a sweep: it has no jobs.tsv" \
    "${RUN[@]}" small.sweep --out nothing --collect
refuses "SlurmScriptOverAnInput" 2 "--slurm params.ini and --params params.ini are the same file" \
    "${RUN[@]}" small.sweep --slurm params.ini
check "SlurmScriptOverAnInput: the parameters are untouched" cmp -s "$ROOT/params.ini" params.ini
# Every file the sweep owns is an input: the job list, the job log, the copies of the
# parameter file and korvane-sim, the job script, and whatever the runs' folder holds.
for owned in jobs.tsv joblog params.ini korvane-sim korvane-job.sh; do
    cp "local/$owned" owned.before
    refuses "SlurmScriptOverTheSweepsOwnFileIsMended ($owned)" 2 \
        "--slurm local/$owned and the sweep's own local/$owned are the same file: an output must not overwrite an input" \
        "${RUN[@]}" small.sweep --out local --slurm "local/$owned"
    check "SlurmScriptOverTheSweepsOwnFileIsMended ($owned): it is untouched" cmp -s owned.before "local/$owned"
done
refuses "SlurmScriptAmongTheRunsIsMended" 2 \
    "--slurm local/runs/job.sbatch is in the runs' folder local/runs, whose files are inputs" \
    "${RUN[@]}" small.sweep --out local --slurm local/runs/job.sbatch
mkdir -p emptybin
refuses "WithoutGnuParallel" 1 "GNU parallel is not installed" env PATH="$WORK/emptybin" "$SWEEP" --sim "$SIM" small.sweep
refuses "SshWithoutHosts" 2 "--ssh requires --sshloginfile" "${RUN[@]}" small.sweep --ssh ssh

# 7. The job log, the hosts file and --jobs, checked before any work.
ln -sf /dev/zero slurm/joblog
refuses "JobLogOnADeviceIsMended" 1 "slurm/joblog: is not a regular file" "${RUN[@]}" small.sweep --out slurm
check "JobLogOnADeviceIsMended: the link is left as it was" test -L slurm/joblog
refuses "MissingHostsFileIsMended" 1 "nohosts: No such file or directory" \
    "${RUN[@]}" small.sweep --out hosted --sshloginfile nohosts
check "MissingHostsFileIsMended: no folder is made" test ! -e hosted
printf '1/hostA\n-1/hostB\n' > badhosts
refuses "BadHostLineIsMended" 1 "badhosts: line 2: '-1/hostB' is not a machine" \
    "${RUN[@]}" small.sweep --out hosted --sshloginfile badhosts --ssh "$LOCALSSH"
check "BadHostLineIsMended: no folder is made" test ! -e hosted
refuses "JobsWithoutBoundIsMended" 2 "--jobs: '100000' is not a whole number from 1 to 256" \
    "${RUN[@]}" small.sweep --out hosted --jobs 100000

echo "$FAILURES failure(s)"
[ "$FAILURES" = 0 ]
