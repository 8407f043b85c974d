#!/usr/bin/env bash
# Runs a command on a virtual display of its own, inside a session bus of its
# own. Xvfb picks a free display number itself (-displayfd), so runs started
# side by side never race for one, as xvfb-run -a can.
# Usage: on_display.sh [--screen WxHxD] COMMAND [ARG...]
set -euo pipefail

screen=1280x800x24
if [[ ${1:-} == --screen ]]; then
  screen=$2
  shift 2
fi

work=$(mktemp -d)
cleanup() {
  if [[ -n ${xvfb_pid:-} ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# -noreset: by default the server resets whenever its last client leaves,
# and a client that connects during the reset is refused ("cannot open a
# display"), as a program started just after a short-lived X client was.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!

# Xvfb writes the number once it accepts connections.
deadline=$((SECONDS + 30))
until [[ -s $work/display ]]; do
  if ! kill -0 "$xvfb_pid" 2>/dev/null || ((SECONDS > deadline)); then
    echo "on_display.sh: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$work/display")"

set +e
dbus-run-session -- "$@"
status=$?
set -e
if ((status != 0)) && [[ -s $work/xvfb.log ]]; then
  # What the display server said, for a client that could not reach it.
  echo "on_display.sh: Xvfb on $DISPLAY said:" >&2
  tail -n 20 "$work/xvfb.log" >&2
fi
exit "$status"
