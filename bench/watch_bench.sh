#!/usr/bin/env bash
# The watch of a growing log measured on three simulated series (typical,
# sessions, full): every refresh compared with a run on the log cut where it
# read, the latency of every table from the line that closes it to the page,
# and the processor time of a watch that idles. See bench/README.md.
#   bench/watch_bench.sh [--build DIR] [--presets "typical sessions full"] [--idle SECONDS]
set -euo pipefail
export LC_ALL=C
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build-bench"
presets="typical sessions full"
idle_seconds=300
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build="$2"; shift ;;
    --presets) presets="$2"; shift ;;
    --idle) idle_seconds="$2"; shift ;;
    *) echo "usage: bench/watch_bench.sh [--build DIR] [--presets LIST] [--idle SECONDS]" >&2; exit 1 ;;
  esac
  shift
done
[[ "$build" = /* ]] || build="$PWD/$build"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARISIFT_TESTS=OFF > /dev/null
fi
cmake --build "$build" --target varisift simulate watch_bench > "$build/watch-bench-build.log" 2>&1 ||
  { cat "$build/watch-bench-build.log" >&2; exit 1; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/varisift-watch-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

for preset in $presets; do
  "$build/tools/simulate/simulate" --preset "$preset" --out "$scratch/$preset" > /dev/null
  echo "== $preset: $(stat -c %s "$scratch/$preset/Skymensor.log") bytes"
  "$build/bench/watch_bench" follow "$build/src/varisift" "$scratch/$preset" "$scratch/$preset-work" 2
  rm -rf "$scratch/$preset-work"
done
first=${presets%% *}
for interval in 30 2; do
  echo "== idle, --watch=$interval, $idle_seconds s"
  "$build/bench/watch_bench" idle "$build/src/varisift" "$scratch/$first" "$scratch/idle-$interval" "$interval" "$idle_seconds"
done
