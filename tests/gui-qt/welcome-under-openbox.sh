#!/usr/bin/env bash
# The real program on a real X server with a real window manager: the welcome
# window must be owned by the main window (transient for it), stay off the
# task bar, carry no title, lie above the main window and leave it active.
# Usage: welcome-under-openbox.sh TARVO. Exits 77 (skipped) without Xvfb,
# openbox or xprop.
set -uo pipefail
tarvo=$1
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done

work=$(mktemp -d /tmp/tarvo-openbox-XXXXXX)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A free display: Xvfb picks it and writes its number once it listens.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
deadline=$((SECONDS + 20))
until [ -s "$work/display" ] || ((SECONDS > deadline)); do sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
[ "$DISPLAY" != ":" ] || { echo "Xvfb did not start"; exit 1; }

# Now and then openbox cannot open the fresh display and ends at once; it is
# started again then, rather than the program checked without a window manager.
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for attempt in 1 2 3; do
  openbox --sm-disable >>"$work/openbox.log" 2>&1 &
  pids+=($!)
  until wm_up || ! kill -0 "${pids[-1]}" 2>/dev/null || ((SECONDS > deadline)); do sleep 0.1; done
  wm_up && break
done
wm_up || { echo "openbox did not start"; cat "$work/openbox.log"; exit 1; }

mkdir -p "$work/config" "$work/state"
XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state QT_QPA_PLATFORM=xcb \
  "$tarvo" >"$work/tarvo.log" 2>&1 &
pids+=($!)

prop() { xprop "$@" 2>/dev/null; }
clients() { prop -root _NET_CLIENT_LIST | sed -n 's/.*# //p' | tr -d ','; }
main="" welcome=""
find_windows() {
  main="" welcome=""
  for w in $(clients); do
    if prop -id "$w" WM_NAME | grep -q '"tarvo V '; then main=$w; else welcome=$w; fi
  done
  [ -n "$main" ] && [ -n "$welcome" ]
}
checks() {
  find_windows || { echo "main and welcome windows not both managed"; return 1; }
  local failed=0
  prop -id "$welcome" WM_TRANSIENT_FOR | grep -q "# $main\$" ||
    { echo "welcome is not transient for the main window"; failed=1; }
  prop -id "$welcome" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    { echo "welcome has a task-bar entry"; failed=1; }
  prop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR &&
    { echo "the main window has no task-bar entry"; failed=1; }
  prop -id "$welcome" _NET_WM_NAME | grep -q '= " "$' ||
    { echo "welcome shows a title"; failed=1; }
  prop -id "$welcome" _NET_WM_ALLOWED_ACTIONS | grep -Eq 'MAXIMIZE|RESIZE' &&
    { echo "welcome can be maximised or resized"; failed=1; }
  local stacking
  stacking=$(prop -root _NET_CLIENT_LIST_STACKING | sed -n 's/.*# //p' | tr -d ',')
  [[ "$stacking" == *"$main"*"$welcome"* ]] ||
    { echo "welcome is not above the main window: $stacking"; failed=1; }
  prop -root _NET_ACTIVE_WINDOW | grep -q "# $main\$" ||
    { echo "the main window is not the active one"; failed=1; }
  return $failed
}

# The window manager takes the windows and their state in its own time, and a
# sanitizer build on a loaded machine takes long to show them at all.
deadline=$((SECONDS + 120))
until checks >"$work/why" || ((SECONDS > deadline)); do sleep 0.2; done
if ! checks >"$work/why"; then
  cat "$work/why"
  for w in $main $welcome; do
    prop -id "$w" WM_NAME WM_TRANSIENT_FOR _NET_WM_STATE _NET_WM_ALLOWED_ACTIONS
  done
  cat "$work/tarvo.log"
  exit 1
fi
echo "welcome $welcome: transient for $main, off the task bar, untitled, above it"
