#!/usr/bin/env bash
# Side-by-side numbers for taviro, plain mpv and Celluloid, measured in one
# run under one Xvfb, one player at a time, all at the same video area:
# Celluloid opens at its own size, mpv gets a borderless window of that size
# and taviro a saved window size (config.dll, S_q h_w/h_h) whose video area
# is that size. Per player:
#   - launch-to-first-frame, seen on screen: the centre pixel of the picture
#     turns red (the calibration clip is solid red); median of several runs;
#   - CPU (user+sys) of the process and all its descendants, and of the X
#     server, over a span of 1080p playback, median of several spans;
#   - the frames shown per second over that span: taviro's own count
#     (TAVIRO_DEBUG frame log), for mpv and Celluloid a script inside mpv
#     (frames played less frames dropped);
#   - PSS of the whole tree (smaps_rollup) at the end of the span, and idle:
#     started without a file, 15 s after the start;
#   - per thread, the CPU of each thread of the tree and of the X server
#     over the spans.
# Taviro's web views load the demo service's pages (started here on a free
# loopback port), so its memory counts the pages a user has.
#
# Usage: bench/compare_players.sh [--taviro PATH] [--runs N] [--seconds N]
#          [--cpu-runs N] [--players "taviro mpv celluloid mpv_x11"] [--area WxH]
# --area gives the video area instead of Celluloid's (for runs without it).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
taviro_bin="$here/build/dev/app/taviro"
service_bin=
runs=5
cpu_runs=3
span=10
players_wanted="taviro mpv celluloid"
area=
usage="usage: $0 [--taviro PATH] [--service PATH] [--runs N] [--seconds N] [--cpu-runs N] [--players LIST] [--area WxH]"
while (($#)); do
  case $1 in
    --taviro) taviro_bin=$2; shift 2 ;;
    --service) service_bin=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --seconds) span=$2; shift 2 ;;
    --cpu-runs) cpu_runs=$2; shift 2 ;;
    --players) players_wanted=$2; shift 2 ;;
    --area) area=$2; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
taviro_bin=$(realpath "$taviro_bin")
[[ -x $taviro_bin ]] || { echo "no taviro binary at $taviro_bin" >&2; exit 1; }
[[ -n $service_bin ]] || service_bin=$here/build/dev/app/taviro-service
[[ -x $service_bin ]] || { echo "no service at $service_bin (build taviro_service)" >&2; exit 1; }
service_bin=$(realpath "$service_bin")

install_missing() { # $1 = command, $2 = Debian package
  command -v "$1" >/dev/null && return 0
  echo "installing $2 ..." >&2
  if [[ $(id -u) -eq 0 ]]; then apt-get install -y "$2" >/dev/null; else sudo apt-get install -y "$2" >/dev/null; fi
}
install_missing mpv mpv
[[ " $players_wanted " == *" celluloid "* ]] && install_missing celluloid celluloid

# Everything below runs inside a single Xvfb and, as on a desktop, one
# session bus (without it GTK programs start a bus of their own each time).
if [[ -z ${TAVIRO_BENCH_INNER:-} ]]; then
  exec env TAVIRO_BENCH_INNER=1 xvfb-run -a -s "-screen 0 1280x800x24 -noreset" dbus-run-session -- \
    "$0" --taviro "$taviro_bin" --service "$service_bin" --runs "$runs" --seconds "$span" \
    --cpu-runs "$cpu_runs" --players "$players_wanted" ${area:+--area "$area"}
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
service_pid=
cleanup() {
  if [[ -n $player_pid ]]; then kill "$player_pid" 2>/dev/null || true; fi
  if [[ -n $service_pid ]]; then kill "$service_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

now() { date +%s.%N; }
hz=$(getconf CLK_TCK)

# --- the demo service ----------------------------------------------------------
"$service_bin" --port 0 --data "$here/service/data" >"$work/service.log" 2>&1 &
service_pid=$!
for ((i = 0; i < 200; i++)); do
  service_base=$(sed -n 's/^listening on //p' "$work/service.log" | head -n1)
  [[ -n $service_base ]] && break
  sleep 0.1
done
[[ -n $service_base ]] || { echo "the demo service did not start" >&2; exit 1; }
[[ $service_base == */ ]] || service_base+=/

# --- players -----------------------------------------------------------------
# Each start_* launches the player in the background (on file $1, or idle
# without one) and sets player_pid.
# The video area every player gets; set from Celluloid's own by `settle_area`.
area_w=784
area_h=541
# Taviro's outer window size for that area, in pixels; 0 = its default size.
taviro_w=0
taviro_h=0
# mpv and Celluloid run this script, which logs frames played and dropped.
fps_script=$work/fps.lua
cat >"$fps_script" <<'LUA'
local out = io.open(os.getenv("TAVIRO_BENCH_FPS_LOG") or "/dev/null", "a")
-- Stamped with /proc/uptime, the clock the script reads.
local function uptime()
  local f = io.open("/proc/uptime")
  local t = f:read("*n")
  f:close()
  return t
end
mp.add_periodic_timer(1, function()
  local played = mp.get_property_number("estimated-frame-number")
  if played == nil then return end
  local dropped = mp.get_property_number("frame-drop-count", 0) +
    mp.get_property_number("decoder-frame-drop-count", 0)
  out:write(string.format("%d %.3f\n", played - dropped, uptime()))
  out:flush()
end)
LUA

# The program keeps its files beside itself, so every start gets a fresh
# folder; a window size is given the way the program keeps one.
start_taviro() {
  local app=$work/taviro-$RANDOM$RANDOM
  mkdir -p "$app"
  cp "$taviro_bin" "$app/taviro"
  cp "$here/data/i.gif" "$app/i.gif"
  if ((taviro_w > 0)); then
    printf '[S_q]\ns_size=2\nh_w=%d\nh_h=%d\n' $((taviro_w * 15)) $((taviro_h * 15)) >"$app/config.dll"
  fi
  TAVIRO_DEBUG=1 TAVIRO_SERVICE_BASE_URL=$service_base TAVIRO_INSTANCE=bench-$RANDOM$RANDOM \
    "$app/taviro" "$@" >"$work/taviro.log" 2>&1 &
  player_pid=$!
}
start_mpv() {
  local idle=()
  (($# == 0)) && idle=(--idle=yes --force-window=yes)
  TAVIRO_BENCH_FPS_LOG=$work/fps.log mpv --no-config --ao=null --geometry=${area_w}x${area_h}+0+0 --no-border \
    --keepaspect-window=no --osc=no --osd-level=0 --really-quiet --script="$fps_script" "${idle[@]}" \
    "${mpv_extra[@]}" "$@" >"$work/mpv.log" 2>&1 &
  player_pid=$!
}
mpv_extra=()
# mpv drawing the way taviro does without a GPU: scaled on the CPU and put
# on screen as an image, with the same bilinear scaler.
start_mpv_x11() {
  mpv_extra=(--vo=x11 --sws-scaler=bilinear)
  start_mpv "$@"
  mpv_extra=()
}
# Celluloid's settings live in memory, so every start has its defaults; it
# runs the scripts in its configuration folder.
start_celluloid() {
  mkdir -p "$work/xdg/celluloid/scripts"
  cp "$fps_script" "$work/xdg/celluloid/scripts/"
  GSETTINGS_BACKEND=memory XDG_CONFIG_HOME=$work/xdg TAVIRO_BENCH_FPS_LOG=$work/fps.log \
    celluloid --new-window --mpv-options="--ao=null" "$@" \
    >"$work/celluloid.log" 2>&1 &
  player_pid=$!
}
stop_player() {
  kill "$player_pid" 2>/dev/null || true
  wait "$player_pid" 2>/dev/null || true
  player_pid=
  sleep 1
}

window_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n1; }
window_rect() { # prints "x y w h" of the first visible window of pid $1
  local w
  w=$(window_of "$1") || return 1
  [[ -n $w ]] || return 1
  xdotool getwindowgeometry --shell "$w" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}

is_red_at() { # $1 = "x,y"
  local rgb r g b
  rgb=$(import -window root -crop "1x1+${1%,*}+${1#*,}" +repage -depth 8 txt:- 2>/dev/null |
    grep -o 'rgba\?([0-9]*,[0-9]*,[0-9]*' | head -n1) || return 1
  [[ -n $rgb ]] || return 1
  IFS=, read -r r g b <<<"${rgb#*(}"
  ((r >= 160 && g < 96 && b < 96))
}

# Starts the player on the red clip and waits (up to 60 s) for red on
# screen; then reads the picture and the video area from a screenshot and
# the player's window size. Sets centre_<name>, and cal_* for the caller.
declare -A centre
calibrate() {
  local name=$1 i found=
  "start_$name" "$red_clip"
  for ((i = 0; i < 120; i++)); do
    found=$(import -window root -depth 8 ppm:- 2>/dev/null | python3 "$here/bench/screen_area.py" || true)
    [[ -n $found ]] && break
    sleep 0.5
  done
  sleep 2 # let the layout settle after the first frame
  import -window root "$cache/${name}-calibration.png" 2>/dev/null || true
  read -r cal_win_x cal_win_y cal_win_w cal_win_h <<<"$(window_rect "$player_pid" || echo "0 0 0 0")"
  found=$(import -window root -depth 8 ppm:- 2>/dev/null |
    python3 "$here/bench/screen_area.py" "$cal_win_x" "$cal_win_y" "$cal_win_w" "$cal_win_h" || true)
  stop_player
  [[ -n $found ]] || { echo "   $name showed no picture" >&2; return 1; }
  read -r _ cal_pic_w cal_pic_h cal_pic_x cal_pic_y _ cal_area_w cal_area_h _ _ <<<"$found"
  centre[$name]="$((cal_pic_x + cal_pic_w / 2)),$((cal_pic_y + cal_pic_h / 2))"
  echo "   $name: window ${cal_win_w}x${cal_win_h}, picture ${cal_pic_w}x${cal_pic_h}" >&2
}

# Celluloid's own video area (the dark-or-red rectangle around its picture)
# becomes everyone's. Taviro's chrome takes a fixed 206x114 pixels around
# its video area (784x541 in its default 990x655 window); the picture size
# its calibration prints shows that the area came out right.
settle_area() {
  if [[ -n $area ]]; then
    area_w=${area%x*} area_h=${area#*x}
  elif [[ " ${players[*]} " == *" celluloid "* ]]; then
    calibrate celluloid
    area_w=$cal_area_w area_h=$cal_area_h
  fi
  taviro_w=$((area_w + 206)) taviro_h=$((area_h + 114))
  echo "   video area for all: ${area_w}x${area_h}" >&2
}

# Seconds from launch until the centre pixel turns red, or "timeout".
first_frame() {
  local name=$1 t0 t
  t0=$(now)
  "start_$name" "$red_clip"
  while :; do
    if is_red_at "${centre[$name]}"; then
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
ticks_of() { # utime+stime of process $1 (all its threads), clock ticks
  local f
  f=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
  f=${f##*) } # the name may hold spaces
  read -r -a fields <<<"$f"
  echo $((fields[11] + fields[12])) # utime, stime (fields 14, 15)
}
tree_ticks() {
  local sum=0 p
  for p in $(tree_pids "$1"); do sum=$((sum + $(ticks_of "$p"))); done
  echo "$sum"
}
tree_pss_kib() { # also lists each process's share in $work/pss-last
  local sum=0 p v
  : >"$work/pss-last"
  for p in $(tree_pids "$1"); do
    v=$(awk '/^Pss:/{print $2}' "/proc/$p/smaps_rollup" 2>/dev/null) || continue
    sum=$((sum + ${v:-0}))
    echo "$(cat "/proc/$p/comm" 2>/dev/null) ${v:-0}" >>"$work/pss-last"
  done
  echo "$sum"
}
# Each process's PSS (MiB) of the last measurement, as "name=MiB ...".
pss_parts() {
  awk '{k[$1] += $2} END {for (n in k) printf "%s=%.1f\n", n, k[n] / 1024}' "$work/pss-last" | sort | tr '\n' ' '
}
# One line per thread of the pids given: "pid:tid process/thread ticks".
thread_ticks() {
  local p t f pname tname
  for p in "$@"; do
    pname=$(cat "/proc/$p/comm" 2>/dev/null) || continue
    for t in /proc/"$p"/task/*; do
      f=$(cat "$t/stat" 2>/dev/null) || continue
      tname=${f#*(} tname=${tname%)*}
      f=${f##*) }
      read -r -a fields <<<"$f"
      # The main thread is told apart from the threads that took its name.
      [[ ${t##*/} == "$p" ]] && tname+="(main)"
      echo "$p:${t##*/} ${pname// /_}/${tname// /_} $((fields[11] + fields[12]))"
    done
  done
}

# The X server this script draws on.
display_number=${DISPLAY#:}
display_number=${display_number%%.*}
xserver_pid=
for p in /proc/[0-9]*; do
  if [[ $(cat "$p/comm" 2>/dev/null) == Xvfb ]] &&
    tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q -- " :$display_number "; then
    xserver_pid=${p#/proc/}
  fi
done
[[ -n $xserver_pid ]] || echo "the X server's process was not found: its CPU is left out" >&2

# Frames shown per second over [$2, $3] (uptime seconds), from the
# player's frame log.
fps_of() {
  local name=$1
  case $name in
    taviro) sed -n 's/^taviro: frames shown \([0-9]*\) at \([0-9]*\) us$/\1 \2/p' "$work/taviro.log" |
      awk '{print $1, $2 / 1e6}' ;;
    *) cat "$work/fps.log" 2>/dev/null ;;
  esac | awk -v from="$2" -v to="$3" '$2 >= from && $2 <= to' |
    awk 'NR == 1 {f = $1; t = $2} {l = $1; u = $2}
         END { if (NR < 2 || u == t) print "n/a"; else printf "%.1f\n", (l - f) / (u - t) }'
}

# Taviro's main thread rendering (scaling, converting) and painting the
# picture over [$1, $2], from its debug log: "render_s paint_s".
main_thread_split() {
  sed -n 's/^taviro: software render cpu \([0-9]*\) us paint cpu \([0-9]*\) us at \([0-9]*\) us$/\1 \2 \3/p' \
    "$work/taviro.log" | awk -v from="$1" -v to="$2" '$3 / 1e6 >= from && $3 / 1e6 <= to' |
    awk 'NR == 1 {r = $1; p = $2; t = $3} {R = $1; P = $2; T = $3}
         END { if (NR >= 2) printf "%.3f %.3f %.3f\n", (R - r) / 1e6, (P - p) / 1e6, (T - t) / 1e6 }'
}

# Prints "cpu_seconds xserver_seconds pss_mib fps" for $span seconds of
# playback after a 3 s settle; adds each thread's ticks to threads-$name.
playback_load() {
  local name=$1 t1 t2 x1 x2 pss fps t_start t_end
  rm -f "$work/fps.log"
  "start_$name" "$test_clip"
  sleep 3
  t_start=$(awk '{print $1}' /proc/uptime)
  # Taviro's frame log stamps monotonic time; uptime counts the same clock.
  t1=$(tree_ticks "$player_pid")
  x1=$(ticks_of "${xserver_pid:-0}")
  thread_ticks $(tree_pids "$player_pid") $xserver_pid >"$work/threads-before"
  sleep "$span"
  t2=$(tree_ticks "$player_pid")
  t_end=$(awk '{print $1}' /proc/uptime)
  x2=$(ticks_of "${xserver_pid:-0}")
  thread_ticks $(tree_pids "$player_pid") $xserver_pid >"$work/threads-after"
  pss=$(tree_pss_kib "$player_pid")
  echo "$name playing: $(pss_parts)" >>"$work/pss-parts"
  import -window root "$cache/${name}-playing.png" 2>/dev/null || true
  fps=$(fps_of "$name" "$t_start" "$t_end")
  [[ $name == taviro ]] && main_thread_split "$t_start" "$t_end" >>"$work/main-split"
  stop_player
  join <(sort "$work/threads-before") <(sort "$work/threads-after") |
    awk '{print $2, $5 - $3}' >>"$work/threads-$name"
  echo "$(echo "scale=2; ($t2 - $t1) / $hz" | bc) $(echo "scale=2; ($x2 - $x1) / $hz" | bc)" \
    "$(echo "scale=1; $pss / 1024" | bc) $fps"
}

# PSS of the tree 15 s after a start without a file.
idle_pss() {
  local name=$1 pss
  "start_$name"
  sleep 15
  pss=$(tree_pss_kib "$player_pid")
  echo "$name idle: $(pss_parts)" >>"$work/pss-parts"
  import -window root "$cache/${name}-idle.png" 2>/dev/null || true
  stop_player
  echo "scale=1; $pss / 1024" | bc
}

median() { printf '%s\n' "$@" | grep -v -e timeout -e n/a | sort -g | awk '{a[NR]=$1} END{if (NR==0) print "n/a"; else if (NR%2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

# --- run -----------------------------------------------------------------------
players=()
for name in $players_wanted; do
  if [[ $name == celluloid ]] && ! command -v celluloid >/dev/null; then
    echo "celluloid not installed: skipped" >&2
    continue
  fi
  players+=("$name")
done

echo "== video area" >&2
settle_area
declare -A ff cpu xcpu sum pss idle fps
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
  cpus=() xcpus=() sums=() psss=() fpss=()
  for ((i = 0, tries = 0; i < cpu_runs && tries < 2 * cpu_runs; tries++)); do
    read -r c x m f <<<"$(playback_load "$name")"
    # A span in which the player showed no frame measured no playback.
    if [[ $f != n/a ]] && (($(echo "$f < 1" | bc))); then
      echo "   a span without frames ($name): measured again" >&2
      continue
    fi
    cpus+=("$c") xcpus+=("$x") sums+=("$(echo "$c + $x" | bc)") psss+=("$m") fpss+=("$f")
    i=$((i + 1))
  done
  echo "   CPU runs (tree X): $(paste -d' ' <(printf '%s\n' "${cpus[@]}") <(printf '%s\n' "${xcpus[@]}") | tr '\n' ',')" \
    "fps: ${fpss[*]}" >&2
  cpu[$name]=$(median "${cpus[@]}")
  xcpu[$name]=$(median "${xcpus[@]}")
  sum[$name]=$(median "${sums[@]}")
  pss[$name]=$(median "${psss[@]}")
  fps[$name]=$(median "${fpss[@]}")
  idle[$name]=$(idle_pss "$name")
done

ratio() { if [[ $1 == n/a || $2 == n/a ]]; then echo n/a; else echo "scale=2; $1 / $2" | bc -l; fi; }
row() { printf '%-16s %8s %9s %9s %9s %6s %10s %9s\n' "$@"; }
echo
echo "1080p30 H.264 in a ${area_w}x${area_h} video area; CPU in seconds per ${span} s of playback (median of ${cpu_runs})"
row player "first(s)" "CPU tree" "CPU X" "CPU sum" fps "PSS play" "PSS idle"
for name in "${players[@]}"; do
  row "$name" "${ff[$name]}" "${cpu[$name]}" "${xcpu[$name]}" "${sum[$name]}" "${fps[$name]}" \
    "${pss[$name]}" "${idle[$name]}"
done
if [[ " ${players[*]} " == *" taviro "* ]]; then
  for other in "${players[@]}"; do
    [[ $other == taviro ]] && continue
    row "taviro/$other" "$(ratio "${ff[taviro]}" "${ff[$other]}")" "$(ratio "${cpu[taviro]}" "${cpu[$other]}")" \
      "$(ratio "${xcpu[taviro]}" "${xcpu[$other]}")" "$(ratio "${sum[taviro]}" "${sum[$other]}")" "" \
      "$(ratio "${pss[taviro]}" "${pss[$other]}")" "$(ratio "${idle[taviro]}" "${idle[$other]}")"
  done
fi
echo "(PSS in MiB; fps: taviro counts frames it drew, mpv and Celluloid frames played less frames dropped,"
echo " n/a where the player logged no count;"
echo " mpv and Celluloid run with --ao=null, taviro with whatever sound output exists; without a GPU"
echo " mpv's and Celluloid's OpenGL output runs on the CPU; mpv_x11 scales on the CPU as taviro does)"

echo
echo "PSS per process (MiB), each measurement:"
sed 's/^/  /' "$work/pss-parts"

# Where the CPU goes: each thread's seconds per span, averaged over the spans.
for name in "${players[@]}"; do
  echo
  echo "threads of $name and the X server (s per ${span} s):"
  # Threads a thread starts carry its name (libavcodec's decoding threads
  # run as mpv/mpv_core): each name shows how many threads it stands for.
  awk -v runs="$cpu_runs" -v hz="$hz" '{t[$1] += $2; n[$1]++}
    END {for (k in t) if (t[k] > 0) printf "  %7.2f  %s (%d)\n", t[k] / runs / hz, k, n[k] / runs}' \
    "$work/threads-$name" | sort -rn | head -n 25
  if [[ $name == taviro && -s $work/main-split ]]; then
    # Scaled to the span: the log's stamps cover a little less than it.
    awk -v span="$span" '$3 > 0 {r += $1 * span / $3; p += $2 * span / $3; n++}
      END {printf "  of which taviro'"'"'s main thread: %.2f software render (scaling, converting), %.2f painting into the window\n", r / n, p / n}' \
      "$work/main-split"
  fi
done
exit 0
