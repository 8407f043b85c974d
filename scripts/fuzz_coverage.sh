#!/usr/bin/env bash
# Line coverage of each parser's own code reached by its fuzz target's
# committed corpus (fuzz/corpus/TARGET), from llvm-cov. Builds the targets
# with coverage in build/fuzz (the build scripts/fuzz.sh uses too).
# Usage: scripts/fuzz_coverage.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

# The files that are each target's parser; the rest of what it links is not
# its own code.
declare -A sources=(
  [channel_list_fuzz]="src/channels/channel_list.cpp src/channels/channel_code.cpp src/channels/channel_text.cpp src/channels/channel_list_page.cpp"
  [programme_guide_fuzz]="src/channels/programme_guide.cpp"
  [episode_list_page_fuzz]="src/playback/episode_list_page.cpp"
  [episode_reply_fuzz]="src/playback/episode_reply.cpp"
  [external_call_fuzz]="src/playback/external_call.cpp src/playback/script_string_literal.cpp"
  [extract_between_fuzz]="src/util/extract_between.cpp"
  [handoff_fuzz]="src/app/hand_off_text.cpp"
  [hls_playlist_fuzz]="src/helper/hls_playlist.cpp"
  [stream_shape_fuzz]="src/helper/stream_shape.cpp"
  [socket_diag_fuzz]="src/helper/socket_diag.cpp"
  [connect_rule_fuzz]="src/helper/connect_rule.cpp"
  [helper_request_fuzz]="src/helper/helper_protocol.cpp"
  [link_forms_fuzz]="src/lists/list_links.cpp src/playback/catalogue_links.cpp src/playback/item_key.cpp"
  [list_file_fuzz]="src/lists/list_fields.cpp src/lists/list_text.cpp"
  [list_text_fuzz]="src/lists/list_page.cpp"
  [media_name_fuzz]="src/library/media_name.cpp src/library/library_titles.cpp src/library/natural_order.cpp"
  [media_address_fuzz]="src/playback/media_address.cpp"
  [media_request_fuzz]="src/helper/media_request.cpp"
  [profile_text_fuzz]="src/util/profile_text.cpp"
  [qvod_name_fuzz]="src/helper/download_name.cpp src/playback/page_trust.cpp"
  [ranges_file_fuzz]="src/helper/ranges_file.cpp src/helper/byte_ranges.cpp"
  [script_escape_fuzz]="src/util/script_escape.cpp"
  [service_texts_fuzz]="src/services/headline_file.cpp src/services/notice_schedule.cpp src/services/switch_file.cpp"
  [uri_list_fuzz]="src/app/hand_off_paths.cpp"
)

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIRO_FUZZ=ON \
  -DTAVIRO_FUZZ_COVERAGE=ON -DTAVIRO_BUILD_GUI=OFF -DTAVIRO_BUILD_TESTS=OFF -DTAVIRO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target taviro_fuzzers >/dev/null

targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=("${!sources[@]}")
  mapfile -t targets < <(printf '%s\n' "${targets[@]}" | sort)
fi

work=build/fuzz/coverage
mkdir -p "$work"
printf '%-24s %7s %7s %8s\n' target lines missed covered
for target in "${targets[@]}"; do
  binary=build/fuzz/fuzz/$target
  rm -f "$work/$target".*
  # Every input of the corpus once; nothing new is kept.
  LLVM_PROFILE_FILE="$PWD/$work/$target.profraw" "$binary" -runs=0 "fuzz/corpus/$target" >"$work/$target.log" 2>&1
  llvm-profdata merge -sparse "$work/$target.profraw" -o "$work/$target.profdata"
  llvm-cov report "$binary" -instr-profile="$work/$target.profdata" >"$work/$target.report"
  # Rows: file, regions, missed, cover, functions, missed, executed, lines,
  # missed lines, ...; only the target's own files are summed.
  read -r lines missed < <(awk -v own="${sources[$target]}" '
    BEGIN { n = split(own, names, " "); for (i = 1; i <= n; i++) wanted[names[i]] = 1 }
    ($1 in wanted) { lines += $8; missed += $9 }
    END { print lines + 0, missed + 0 }' "$work/$target.report")
  cover=$(awk -v l="$lines" -v m="$missed" 'BEGIN { printf "%.1f%%", l ? 100 * (l - m) / l : 0 }')
  printf '%-24s %7s %7s %8s\n' "$target" "$lines" "$missed" "$cover"
done
