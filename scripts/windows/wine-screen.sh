# Sourced by the wine scripts that show the program, after wine-env.sh: a display of its own for the
# run (Xvfb, 1920x1080), polling, answering message boxes, and at the end the wine processes, the
# display and the run's folder $work are gone. Expects $work and $me (what messages start with).
xvfb=""
cleanup() {
  set +e
  wineserver -k 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb"
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$me: FAILED: $*" >&2; exit 1; }
# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
  local limit=$1 t0=$SECONDS
  shift
  until "$@" >/dev/null 2>&1; do
    [ $((SECONDS - t0)) -lt "$limit" ] || return 1
    sleep 0.2
  done
}
# answer TITLE KEY: presses KEY in the message box titled TITLE (raised first: without a window
# manager it may open behind the full-screen stage).
answer() {
  local box
  box=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
  xdotool windowraise "$box"
  xdotool windowfocus --sync "$box"
  xdotool key "$2"
}

export DISPLAY=:$((500 + RANDOM % 400))
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wait_for 20 xdpyinfo || fail "Xvfb"
