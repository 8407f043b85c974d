#!/usr/bin/env bash
# Side-by-side numbers for taviro and plain mpv (and Celluloid when installed),
# measured in one run under one Xvfb, one player at a time:
#   - launch-to-first-frame, seen on screen: the centre pixel of the video area
#     turns red (the clip's first frame is solid red); median of several runs;
#   - CPU (user+sys of the process and all its descendants) over a fixed span
#     of 1080p playback, and the tree's summed VmRSS at the end of that span.
# Both players draw into a 784x541 video area, the size taviro's video area
# has in its 990x655 window.
#
# Usage: bench/compare_players.sh [--taviro PATH] [--runs N] [--seconds N] [--cpu-runs N]
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
taviro_bin="$here/build/dev/app/taviro"
runs=5
cpu_runs=3
span=10
while (($#)); do
  case $1 in
    --taviro) taviro_bin=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --seconds) span=$2; shift 2 ;;
    --cpu-runs) cpu_runs=$2; shift 2 ;;
    *) echo "usage: $0 [--taviro PATH] [--runs N] [--seconds N] [--cpu-runs N]" >&2; exit 2 ;;
  esac
done
taviro_bin=$(realpath "$taviro_bin")
[[ -x $taviro_bin ]] || { echo "no taviro binary at $taviro_bin" >&2; exit 1; }

if ! command -v mpv >/dev/null; then
  echo "installing mpv ..." >&2
  if [[ $(id -u) -eq 0 ]]; then apt-get install -y mpv >/dev/null; else sudo apt-get install -y mpv >/dev/null; fi
fi

# Everything below runs inside a single Xvfb and, as on a desktop, one
# session bus (without it GTK programs start a bus of their own each time).
if [[ -z ${TAVIRO_BENCH_INNER:-} ]]; then
  exec env TAVIRO_BENCH_INNER=1 xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- \
    "$0" --taviro "$taviro_bin" --runs "$runs" --seconds "$span" --cpu-runs "$cpu_runs"
fi

cache=${XDG_CACHE_HOME:-$HOME/.cache}/taviro-bench
mkdir -p "$cache"
red_clip=$cache/red-1080p.mp4
test_clip=$cache/testsrc2-1080p-30fps.mp4
if [[ ! -s $red_clip ]]; then
  ffmpeg -loglevel error -y -f lavfi -i color=c=red:size=1920x1080:rate=30:duration=20 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p "$red_clip"
fi
if [[ ! -s $test_clip ]]; then
  ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=1920x1080:rate=30:duration=30 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p "$test_clip"
fi

work=$(mktemp -d)
player_pid=
cleanup() {
  if [[ -n $player_pid ]]; then kill "$player_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

now() { date +%s.%N; }
area_w=784
area_h=541

# --- players -----------------------------------------------------------------
# Each start_* launches the player on $1 in the background and sets player_pid.
# The program keeps its files beside itself, so every start gets a fresh folder.
start_taviro() {
  local app=$work/taviro-$RANDOM$RANDOM
  mkdir -p "$app"
  cp "$taviro_bin" "$app/taviro"
  cp "$here/data/i.gif" "$app/i.gif"
  "$app/taviro" "$1" >"$work/taviro.log" 2>&1 &
  player_pid=$!
}
start_mpv() {
  mpv --no-config --ao=null --geometry=${area_w}x${area_h}+0+0 --no-border \
    --keepaspect-window=no --osc=no --osd-level=0 --really-quiet "$@" \
    >"$work/mpv.log" 2>&1 &
  player_pid=$!
}
# mpv drawing the way taviro does without a GPU: scaled on the CPU and put
# on screen as an image, with the same bilinear scaler.
start_mpv_x11() { start_mpv --vo=x11 --sws-scaler=bilinear "$1"; }
start_celluloid() {
  celluloid --new-window "$1" >"$work/celluloid.log" 2>&1 &
  player_pid=$!
}
stop_player() {
  kill "$player_pid" 2>/dev/null || true
  wait "$player_pid" 2>/dev/null || true
  player_pid=
  sleep 1
}

# Screen position of the video area's centre, per player. Without a window
# manager taviro's window opens at a fixed place; it is read once per run from
# the window itself (calibrate) and its video area sits at (2, 39) inside it.
centre_taviro=
centre_mpv="$((area_w / 2)),$((area_h / 2))"
centre_mpv_x11=$centre_mpv
centre_celluloid=

window_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n1; }
window_origin() { # prints "x y" of the first visible window of pid $1
  local w
  w=$(window_of "$1") || return 1
  [[ -n $w ]] || return 1
  xdotool getwindowgeometry --shell "$w" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}'
}
window_centre() { # centre of the first visible window of pid $1
  local w
  w=$(window_of "$1") || return 1
  [[ -n $w ]] || return 1
  xdotool getwindowgeometry --shell "$w" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x+int(w/2) "," y+int(h/2)}'
}

is_red_at() { # $1 = "x,y"
  local rgb r g b
  rgb=$(import -window root -crop "1x1+${1%,*}+${1#*,}" +repage -depth 8 txt:- 2>/dev/null |
    grep -o 'rgba\?([0-9]*,[0-9]*,[0-9]*' | head -n1) || return 1
  [[ -n $rgb ]] || return 1
  IFS=, read -r r g b <<<"${rgb#*(}"
  ((r >= 160 && g < 96 && b < 96))
}

# Waits (up to 30 s) for the player's window to come up, then reads where the
# centre of its video area is.
calibrate() {
  local name=$1 i origin
  "start_$name" "$red_clip"
  for ((i = 0; i < 300; i++)); do
    origin=$(window_origin "$player_pid" || true)
    [[ -n $origin ]] && break
    sleep 0.1
  done
  sleep 4
  case $name in
    taviro)
      read -r ox oy <<<"$origin"
      centre_taviro="$((ox + 2 + area_w / 2)),$((oy + 39 + area_h / 2))" ;;
    celluloid) centre_celluloid=$(window_centre "$player_pid") ;;
  esac
  import -window root "$cache/${name}-calibration.png" 2>/dev/null || true
  stop_player
}

# Seconds from launch until the centre pixel turns red, or "timeout".
first_frame() {
  local name=$1 centre_var="centre_$1" t0 t
  local centre=${!centre_var}
  t0=$(now)
  "start_$name" "$red_clip"
  while :; do
    if is_red_at "$centre"; then
      t=$(now)
      break
    fi
    if (($(echo "$(now) - $t0 > 30" | bc))); then t=timeout; break; fi
    sleep 0.05
  done
  stop_player
  if [[ $t == timeout ]]; then echo timeout; else printf '%.3f\n' "$(echo "$t - $t0" | bc -l)"; fi
}

# --- process tree sampling ---------------------------------------------------
tree_pids() { # pid $1 and all its descendants
  ps -e -o pid=,ppid= | awk -v root="$1" '
    { parent[$1] = $2 }
    END {
      for (p in parent) {
        q = p
        while (q != "" && q != 0 && q != 1) { if (q == root) { print p; break }; q = parent[q] }
      }
    }'
}
tree_ticks() { # utime+stime of the whole tree, clock ticks
  local sum=0 p f
  for p in $(tree_pids "$1"); do
    f=$(cat "/proc/$p/stat" 2>/dev/null) || continue
    f=${f##*) }                         # the name may hold spaces
    read -r -a fields <<<"$f"
    sum=$((sum + fields[11] + fields[12])) # utime, stime (fields 14, 15)
  done
  echo "$sum"
}
tree_rss_kib() {
  local sum=0 p v
  for p in $(tree_pids "$1"); do
    v=$(awk '/^VmRSS:/{print $2}' "/proc/$p/status" 2>/dev/null) || continue
    sum=$((sum + ${v:-0}))
  done
  echo "$sum"
}

hz=$(getconf CLK_TCK)
# Prints "cpu_seconds rss_mib" for $span seconds of playback after a 3 s settle.
playback_load() {
  local name=$1 t1 t2 rss
  "start_$name" "$test_clip"
  sleep 3
  t1=$(tree_ticks "$player_pid")
  sleep "$span"
  t2=$(tree_ticks "$player_pid")
  rss=$(tree_rss_kib "$player_pid")
  import -window root "$cache/${name}-playing.png" 2>/dev/null || true
  stop_player
  echo "$(echo "scale=2; ($t2 - $t1) / $hz" | bc) $(echo "scale=1; $rss / 1024" | bc)"
}

median() { printf '%s\n' "$@" | grep -v timeout | sort -g | awk '{a[NR]=$1} END{if (NR==0) print "n/a"; else if (NR%2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

# --- run -----------------------------------------------------------------------
players=(taviro mpv mpv_x11)
if command -v celluloid >/dev/null; then players+=(celluloid); else echo "celluloid not installed: skipped" >&2; fi

declare -A ff cpu rss
for name in "${players[@]}"; do
  echo "== $name" >&2
  calibrate "$name" # also warms the file cache for both clips alike
  times=()
  for ((i = 0; i < runs; i++)); do
    times+=("$(first_frame "$name")")
  done
  echo "   first frame runs: ${times[*]}" >&2
  ff[$name]=$(median "${times[@]}")
  # A single span swings by a tenth on a shared machine: take the median.
  cpus=() rsss=()
  for ((i = 0; i < cpu_runs; i++)); do
    read -r c r <<<"$(playback_load "$name")"
    cpus+=("$c") rsss+=("$r")
  done
  echo "   CPU runs: ${cpus[*]}" >&2
  cpu[$name]=$(median "${cpus[@]}")
  rss[$name]=$(median "${rsss[@]}")
done

ratio() { if [[ $1 == n/a || $2 == n/a ]]; then echo n/a; else echo "scale=2; $1 / $2" | bc -l; fi; }
printf '\n%-14s %12s %18s %9s\n' player "first frame (s)" "CPU s / ${span} s" "RSS MiB"
for name in "${players[@]}"; do
  printf '%-14s %12s %18s %9s\n' "$name" "${ff[$name]}" "${cpu[$name]}" "${rss[$name]}"
done
for other in "${players[@]:1}"; do
  printf '%-14s %12s %18s %9s\n' "taviro/$other" "$(ratio "${ff[taviro]}" "${ff[$other]}")" \
    "$(ratio "${cpu[taviro]}" "${cpu[$other]}")" "$(ratio "${rss[taviro]}" "${rss[$other]}")"
done
echo "(1080p H.264 in a ${area_w}x${area_h} video area; mpv with --ao=null, taviro with whatever sound output exists;"
echo " mpv picks its GPU output, which runs on the CPU without a GPU; mpv_x11 scales on the CPU as taviro does there)"
exit 0
