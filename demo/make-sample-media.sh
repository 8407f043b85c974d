#!/usr/bin/env bash
# Generates the service's sample clips (small H.264/AAC MP4 files with a
# test picture and a tone) into the folder given, when they are missing, and,
# when a second folder is given, a sample library of them there: a small
# series in its own folder and a film, named as people name their files.
set -euo pipefail
out=${1:?usage: make-sample-media.sh OUTPUT_FOLDER [LIBRARY_FOLDER]}
library=${2:-}
mkdir -p "$out"

make_clip() {
  local name=$1 pattern=$2 tone=$3
  [[ -s "$out/$name" ]] && return 0
  ffmpeg -loglevel error -y \
    -f lavfi -i "$pattern=size=640x360:rate=25:duration=20" \
    -f lavfi -i "sine=frequency=$tone:sample_rate=44100:duration=20" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -profile:v main \
    -c:a aac -b:a 64k -movflags +faststart -shortest "$out/$name.tmp.mp4"
  mv "$out/$name.tmp.mp4" "$out/$name"
}

make_clip sample-a.mp4 testsrc2 440
make_clip sample-b.mp4 smptebars 660
make_clip sample-c.mp4 rgbtestsrc 880

# Links where the file system allows, so the library costs no space.
place() {
  mkdir -p "$(dirname "$2")"
  ln -f "$out/$1" "$2" 2>/dev/null || cp -f "$out/$1" "$2"
}

# Names without the word "sample": the library leaves such files out as
# extras. The folder is the build's own, made anew each time.
if [[ -n $library ]]; then
  rm -rf "$library"
  place sample-a.mp4 "$library/演示剧集/演示剧集 第01集.mp4"
  place sample-b.mp4 "$library/演示剧集/演示剧集 第02集.mp4"
  place sample-c.mp4 "$library/演示剧集/演示剧集 第03集.mp4"
  place sample-c.mp4 "$library/演示电影 (2024).mp4"
fi
