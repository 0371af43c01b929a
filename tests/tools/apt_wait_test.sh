#!/bin/sh
# A newcomer's first make web failed after 2.5 s because an unattended upgrade held apt's lock.
# With the package lists' lock held for a few seconds by another process, apt-wait.sh says it
# waits and then succeeds. Needs root and Debian's mirror (as the set-up does); skipped (77)
# when not root.
set -u
root=$1
[ "$(id -u)" -eq 0 ] || { echo "not root: skipped"; exit 77; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
python3 -c "
import fcntl, sys, time
lock = open('/var/lib/apt/lists/lock', 'w')
fcntl.lockf(lock, fcntl.LOCK_EX)
print('held', flush=True)
time.sleep(8)" > "$out.held" &
holder=$!
until grep -q held "$out.held" 2>/dev/null; do sleep 0.1; done
sh "$root/scripts/apt-wait.sh" update -q > "$out" 2>&1
status=$?
wait $holder
rm -f "$out.held"
failures=0
if grep -q "Waiting for another package manager to finish" "$out"; then echo "ok: it says it waits for the lock"
else echo "FAIL: it says it waits for the lock"; failures=$((failures + 1)); fi
if [ $status = 0 ]; then echo "ok: the update succeeds once the lock is free"
else echo "FAIL: the update succeeds once the lock is free (status $status)"; cat "$out"; failures=$((failures + 1)); fi
echo "$failures failure(s)"
[ $failures = 0 ]
