# Checks shared by the tools' end-to-end scripts: source it; FAILURES counts the checks that
# failed.

FAILURES=0
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; FAILURES=$((FAILURES + 1)); return 1; fi; }

# wait_for <seconds> <command...>: polls until the command succeeds; false if it never does.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# refuses <name> <status> <message> <command...>: the command ends with the status and says
# the message (out.txt and err.txt keep what it wrote).
refuses() {
    local what=$1 want=$2 message=$3
    shift 3
    timeout 120 "$@" > out.txt 2> err.txt
    local status=$?
    check "$what: status $want (got $status)" test "$status" = "$want"
    check "$what: says \"$message\"" grep -qF -- "$message" err.txt
}
