#!/usr/bin/env bash
# Recovery of simulated variables: makes series with tools/simulate (known
# variables with amplitudes of 0.05 to 2 mag and periods of hours to weeks
# among constant stars; presets typical, cloudy and southern, 20 seeds
# each), runs `varisift --csv` on each and lets recovery_match compare every
# stars.csv with the simulator's truth.txt: completeness by amplitude and
# purity of the results table, the index flag and their union. With --tune
# it runs the tuning seeds instead and searches thresholds of the index
# flag's rule. Series go to a new folder under $TMPDIR (or /tmp), never the
# repository. See bench/README.md.
set -euo pipefail
export LC_ALL=C

usage() {
  cat <<'USAGE'
usage: bench/recovery.sh [--seeds FIRST:LAST] [--tune [--purity P]] [--build DIR] [--keep]
  --seeds FIRST:LAST  seeds of every preset (default 101:120; with --tune 1:20)
  --tune       search the index flag's thresholds (index flag purity >= P %, default 98)
  --build DIR  build folder (default build-bench; configured Release if new)
  --keep       keep the scratch folder with the series
USAGE
}

presets=(typical cloudy southern)
seeds=""
tune=0
purity=98
keep=0
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build-bench"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --seeds) seeds="$2"; shift ;;
    --tune) tune=1 ;;
    --purity) purity="$2"; shift ;;
    --build) build="$2"; shift ;;
    --keep) keep=1 ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 1 ;;
  esac
  shift
done
[[ "$build" = /* ]] || build="$PWD/$build"
# The thresholds were chosen on seeds 1 to 20; the recovery is measured on
# others.
if [[ -z "$seeds" ]]; then seeds=$([[ $tune -eq 1 ]] && echo 1:20 || echo 101:120); fi
first_seed=${seeds%%:*}
last_seed=${seeds##*:}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARISIFT_TESTS=OFF > /dev/null
fi
if ! cmake --build "$build" --target varisift simulate recovery_match > "$build/recovery-build.log" 2>&1; then
  cat "$build/recovery-build.log" >&2
  exit 1
fi
varisift="$build/src/varisift"
simulate="$build/tools/simulate/simulate"
match="$build/bench/recovery_match"

work=$(mktemp -d "${TMPDIR:-/tmp}/varisift-recovery.XXXXXX")
case "$work/" in
  "$repo"/*) echo "refusing to write series inside the repository ($work)" >&2; rmdir "$work"; exit 1 ;;
esac
if [[ $keep -eq 0 ]]; then trap 'rm -rf "$work"' EXIT; else echo "series kept in $work" >&2; fi

folders=()
for preset in "${presets[@]}"; do
  echo "simulating and running $preset, seeds $first_seed to $last_seed ..." >&2
  for ((seed = first_seed; seed <= last_seed; ++seed)); do
    dir="$work/$preset-$seed"
    "$simulate" --preset "$preset" --seed "$seed" --truth --out "$dir" > /dev/null
    "$varisift" --csv "$dir/csv" "$dir" > /dev/null 2> "$dir/varisift.stderr"
    folders+=("$dir")
  done
done

commit=$(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)
if ! git -C "$repo" diff --quiet HEAD -- src 2>/dev/null; then commit="$commit with uncommitted changes in src/"; fi
echo "Varisift recovery of simulated variables, $(date -u '+%Y-%m-%d %H:%M UTC'), code $commit"
echo "presets ${presets[*]}, seeds $first_seed to $last_seed; found = a flagged star within 2\" of the variable"
echo
if [[ $tune -eq 1 ]]; then
  "$match" --tune --purity "$purity" "${folders[@]}"
else
  "$match" "${folders[@]}"
fi
