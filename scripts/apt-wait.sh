#!/bin/sh
# apt-get with its arguments, waiting while another package manager (an unattended upgrade,
# another install) holds apt's locks, up to ten minutes and saying so, instead of failing at
# once: dpkg's lock is waited for by apt itself, the package lists' lock here.
# Usage: apt-wait.sh <apt-get arguments...> (through sudo when not run as root)
set -u
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
limit=${KA_APT_WAIT_SECONDS:-600}
waited=0
while :; do
    out=$($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="$limit" "$@" 2>&1)
    status=$?
    case $out in
        *"Could not get lock"*) ;;
        *) printf '%s\n' "$out"; exit $status ;;
    esac
    if [ "$waited" -ge "$limit" ]; then
        printf '%s\n' "$out"
        echo "Another package manager held apt's lock for $limit s: try again once it is done."
        exit 1
    fi
    [ "$waited" -eq 0 ] && echo "Waiting for another package manager to finish (it holds apt's lock), up to $limit s..."
    sleep 5
    waited=$((waited + 5))
done
