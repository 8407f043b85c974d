#!/usr/bin/env bash
# Generates the demo service's sample clips (small H.264/AAC MP4 files with a
# test picture and a tone) into the folder given, when they are missing.
set -euo pipefail
out=${1:?usage: make-sample-media.sh OUTPUT_FOLDER}
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
