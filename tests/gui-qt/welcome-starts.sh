#!/usr/bin/env bash
# The welcome check started again and again: each start gets an X server and
# an openbox of its own, exactly as welcome-under-openbox.sh sets them up, so
# a race between the program and the window manager shows as a failed start.
# Not run by CI (a hundred starts take minutes).
# Usage: welcome-starts.sh TARVO [STARTS]   (default 100)
set -uo pipefail
tarvo=$1
starts=${2:-100}
check=$(dirname "$0")/welcome-under-openbox.sh
failed=0
for ((start = 1; start <= starts; start++)); do
  if ! out=$("$check" "$tarvo" 2>&1); then
    failed=$((failed + 1))
    echo "start $start failed:"
    echo "$out" | head -20
  fi
done
echo "welcome window: $((starts - failed)) of $starts starts managed and hinted"
((failed == 0))
