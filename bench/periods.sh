#!/usr/bin/env bash
# Periods of simulated variables: makes series with tools/simulate (presets
# long-night, three-nights and ten-nights, 20 seeds each, typical and
# cloudy 200), runs `varisift --csv` (the candidates and index-flagged stars
# searched)
# and `varisift --csv --periods-all` (every star with statistics) on each,
# and lets periods_match compare every stars.csv with the simulator's
# truth.txt: the tables by preset and shape and the goals. Then the same
# presets with `--noise white` and with `--nightly-systematic 0.03`, whose
# constant stars period_tune searches in this process (the highest peak's
# frequency is in no file). With --tune it prints the threshold tables on
# the tuning seeds instead; with --cost it times 2,000 searches against a
# run on the capacity series. Series go to a new folder under $TMPDIR (or
# /tmp), never the repository. See bench/README.md.
set -euo pipefail
export LC_ALL=C

usage() {
  cat <<'USAGE'
usage: bench/periods.sh [--seeds FIRST:LAST] [--tune | --cost] [--build DIR] [--keep]
  --seeds FIRST:LAST  seeds of every preset (default 101:120; with --tune 1:20)
  --tune       the tables that chose the thresholds of the search (tuning seeds)
  --cost       CPU time of 2,000 searches against a run on the capacity series
  --build DIR  build folder (default build-bench; configured Release if new)
  --keep       keep the scratch folder with the series
USAGE
}

presets=(typical long-night three-nights ten-nights cloudy)
seeds=""
mode=measure
keep=0
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build-bench"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --seeds) seeds="$2"; shift ;;
    --tune) mode=tune ;;
    --cost) mode=cost ;;
    --build) build="$2"; shift ;;
    --keep) keep=1 ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 1 ;;
  esac
  shift
done
[[ "$build" = /* ]] || build="$PWD/$build"
# The thresholds were chosen on seeds 1 to 20; the periods are measured on
# others.
if [[ -z "$seeds" ]]; then seeds=$([[ $mode == tune ]] && echo 1:20 || echo 101:120); fi
first_seed=${seeds%%:*}
last_seed=${seeds##*:}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARISIFT_TESTS=OFF > /dev/null
fi
if ! cmake --build "$build" --target varisift simulate periods_match period_tune > "$build/periods-build.log" 2>&1; then
  cat "$build/periods-build.log" >&2
  exit 1
fi
varisift="$build/src/varisift"
simulate="$build/tools/simulate/simulate"
match="$build/bench/periods_match"
tune="$build/bench/period_tune"

work=$(mktemp -d "${TMPDIR:-/tmp}/varisift-periods.XXXXXX")
case "$work/" in
  "$repo"/*) echo "refusing to write series inside the repository ($work)" >&2; rmdir "$work"; exit 1 ;;
esac
if [[ $keep -eq 0 ]]; then trap 'rm -rf "$work"' EXIT; else echo "series kept in $work" >&2; fi

commit=$(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)
if ! git -C "$repo" diff --quiet HEAD -- src 2>/dev/null; then commit="$commit with uncommitted changes in src/"; fi
echo "Varisift periods of simulated series, $(date -u '+%Y-%m-%d %H:%M UTC'), code $commit"

if [[ $mode == cost ]]; then
  # CPU time (user + system) of every thread: on a shared machine steadier
  # than the wall time. Best of three.
  echo "simulating the capacity series ..." >&2
  "$simulate" --preset full --seed 1 --out "$work/full" > /dev/null
  best_run=""
  for _ in 1 2 3; do
    rm -f "$work/full/Varisift.log"
    t=$( { /usr/bin/time -f "%U %S %e" "$varisift" "$work/full" > /dev/null; } 2>&1 | tail -n 1)
    cpu=$(echo "$t" | awk '{printf "%.3f", $1 + $2}')
    if [[ -z "$best_run" ]] || awk "BEGIN{exit !($cpu < ${best_run%% *})}"; then best_run="$cpu $(echo "$t" | awk '{print $3}')"; fi
  done
  best_search=""
  for _ in 1 2 3; do
    s=$("$tune" --cost 2000 "$work/full" | awk '$1 == "cpu_seconds" {print $2}')
    if [[ -z "$best_search" ]] || awk "BEGIN{exit !($s < $best_search)}"; then best_search=$s; fi
  done
  "$tune" --cost 2000 "$work/full" | grep -v cpu_seconds
  echo "capacity run: cpu_seconds ${best_run%% *} (wall ${best_run##* } s)"
  echo "2,000 searches on one thread: cpu_seconds $best_search, $(awk "BEGIN{printf \"%.2f\", $best_search / ${best_run%% *}}")x the capacity run's CPU time"
  exit 0
fi

# A series of typical or cloudy holds few variables whose period its one
# night can show (5 and 14 pulsating stars in 20 seeds): those presets are
# measured on ten times the seeds (101 to 300 by default).
last_of() {
  case "$1" in
    typical|cloudy) [[ $mode == measure ]] && echo $((first_seed + 10 * (last_seed - first_seed + 1) - 1)) && return ;;
  esac
  echo "$last_seed"
}
echo "presets ${presets[*]}, seeds $first_seed to $last_seed (typical and cloudy to $(last_of typical))"
echo
folders=()
for preset in "${presets[@]}"; do
  last=$(last_of "$preset")
  echo "simulating and running $preset, seeds $first_seed to $last ..." >&2
  for ((seed = first_seed; seed <= last; ++seed)); do
    dir="$work/$preset-$seed"
    "$simulate" --preset "$preset" --seed "$seed" --truth --out "$dir" > /dev/null
    if [[ $mode == measure ]]; then
      "$varisift" --csv "$dir/csv" "$dir" > /dev/null 2> "$dir/varisift.stderr"
      "$varisift" --csv "$dir/csv-all" --periods-all "$dir" > /dev/null 2>> "$dir/varisift.stderr"
    fi
    folders+=("$dir")
  done
done
if [[ $mode == tune ]]; then
  "$tune" --tune "${folders[@]}"
  exit 0
fi
"$match" "${folders[@]}"

for noise in "--noise white" "--nightly-systematic 0.03"; do
  noise_folders=()
  echo "simulating the constant stars with $noise ..." >&2
  for preset in "${presets[@]}"; do
    for ((seed = first_seed; seed <= last_seed; ++seed)); do
      dir="$work/noise/$preset-$seed"
      rm -rf "$dir"
      # shellcheck disable=SC2086  # the noise options are two words
      "$simulate" --preset "$preset" --seed "$seed" --truth $noise --out "$dir" > /dev/null
      noise_folders+=("$dir")
    done
  done
  echo
  echo "Constant stars (no variable within 2\") with $noise:"
  echo
  "$tune" --constants "${noise_folders[@]}"
done
