#!/bin/sh
# Runs the libFuzzer targets of tests/fuzz, one at a time.
#   fuzz.sh check BUILD_DIR          each target over every file of its committed corpus, once
#   fuzz.sh run BUILD_DIR SECONDS    each target for SECONDS on a copy of its corpus; new inputs
#                                    and crashes stay under BUILD_DIR/fuzz-run/<target>/
set -eu
mode=$1
build=$2
seconds=${3:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
targets="fuzz_params fuzz_bitmap fuzz_brain fuzz_pool"

# A time-out, a large allocation or a large resident set counts as a crash.
limits() {
  echo "-timeout=10 -malloc_limit_mb=64 -rss_limit_mb=1024"
}

# New inputs stay small, which keeps the fuzzer fast (the readers bound themselves all the
# same; committed inputs run whole). The text readers get numbers at the edges of what
# they parse.
fuzz_options() {
  case $1 in
    fuzz_pool) echo "-max_len=16384" ;;
    *) echo "-max_len=4096" ;;
  esac
  [ "$1" = fuzz_bitmap ] || echo "-dict=$root/tests/fuzz/numbers.dict"
}

check() {
  for t in $targets; do
    log="$build/fuzz-check-$t.log"
    # shellcheck disable=SC2046
    if ! "$build/tests/fuzz/$t" $(limits) "$root/tests/fuzz/corpus/$t"/* > "$log" 2>&1; then
      tail -n 40 "$log"
      echo "$t failed on its committed corpus (log: $log)"
      exit 1
    fi
    echo "$t: $(ls "$root/tests/fuzz/corpus/$t" | wc -l) corpus inputs ran clean"
  done
}

run() {
  failed=""
  for t in $targets; do
    dir="$build/fuzz-run/$t"
    rm -rf "$dir"
    mkdir -p "$dir/corpus" "$dir/crashes"
    cp "$root/tests/fuzz/corpus/$t"/* "$dir/corpus/"
    echo "$t: fuzzing for $seconds s (log: $dir/fuzz.log)"
    # shellcheck disable=SC2046
    if "$build/tests/fuzz/$t" $(limits) $(fuzz_options "$t") -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$dir/crashes/" "$dir/corpus" > "$dir/fuzz.log" 2>&1; then
      grep -E 'stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$dir/fuzz.log" || true
    else
      tail -n 40 "$dir/fuzz.log"
      echo "$t: FOUND A FAULT; the input is in $dir/crashes/"
      failed="$failed $t"
    fi
  done
  [ -z "$failed" ] || { echo "faults found by:$failed"; exit 1; }
}

case $mode in
  check) check ;;
  run) run ;;
  *) echo "usage: fuzz.sh check|run BUILD_DIR [SECONDS]" >&2; exit 2 ;;
esac
