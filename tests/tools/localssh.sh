#!/bin/sh
# Stands in for ssh where no ssh server runs: "localssh.sh [options] HOST [--] COMMAND..."
# runs the command here, as sh would on HOST, in the folder $KA_REMOTE_ROOT/HOST, which
# plays that machine's login folder. GNU parallel and rsync call it as they call ssh.
set -eu
while [ $# -gt 0 ]; do
    case $1 in
        -l | -p | -o | -i | -S | -F | -c | -m | -b | -E | -J) shift 2 ;;
        --) shift; break ;;
        -*) shift ;;
        *) break ;;
    esac
done
host=$1
shift
[ "${1-}" = -- ] && shift
# sshd hands the command the user's login shell in SHELL, and parallel's remote side runs
# the jobs with it: without it they would not run at all.
SHELL=$(getent passwd "$(id -u)" | cut -d: -f7)
export SHELL="${SHELL:-/bin/sh}"
mkdir -p "$KA_REMOTE_ROOT/$host"
cd "$KA_REMOTE_ROOT/$host"
# ssh hands the remote shell its arguments joined by spaces.
exec sh -c "$*"
