#!/usr/bin/env bash
# Capacity-scale benchmark of Varisift. Generates three simulated series in a
# scratch folder (never in the repository): the full capacity (209 images of
# 19,999 lines), 100 images of about 3,000 lines, and a 2.4-million-entry
# catalogue. For each it times `wc -l` of the input, the real varisift binary
# (wall time, peak RSS) and varisift_phases (per-phase times), every
# measurement repeated and the best kept, and prints each figure as a ratio
# to `wc -l` of the same file, with the targets. See bench/README.md.
set -euo pipefail
export LC_ALL=C

usage() {
  cat <<'EOF'
usage: bench/run_bench.sh [--small] [--capacity-scan] [--repeat N] [--build DIR] [--keep]
  --small      small series (seconds in all): for CI or a quick look
  --capacity-scan  also time the direct-scan identification on the capacity
               series (about 1.5 minutes per repeat on two cores)
  --repeat N   runs of each measurement, the best is kept (default 3)
  --build DIR  build folder (default build-bench; configured Release if new)
  --keep       keep the scratch folder with the series
Scratch series go to a new folder under $TMPDIR (or /tmp).
EOF
}

small=0
capacity_scan=0
repeat=3
keep=0
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build-bench"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --small) small=1 ;;
    --capacity-scan) capacity_scan=1 ;;
    --repeat) repeat="$2"; shift ;;
    --build) build="$2"; shift ;;
    --keep) keep=1 ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 1 ;;
  esac
  shift
done
[[ "$build" = /* ]] || build="$PWD/$build"

# --- build -----------------------------------------------------------------
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARISIFT_TESTS=OFF > /dev/null
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
[[ "$build_type" == Release ]] || echo "warning: $build is a '$build_type' build, not Release" >&2
if ! cmake --build "$build" --target varisift varisift_phases parse_floor simulate > "$build/bench-build.log" 2>&1; then
  cat "$build/bench-build.log" >&2
  exit 1
fi
varisift="$build/src/varisift"
phases="$build/bench/varisift_phases"
floor="$build/bench/parse_floor"
simulate="$build/tools/simulate/simulate"

# --- scratch folder --------------------------------------------------------
work=$(mktemp -d "${TMPDIR:-/tmp}/varisift-bench.XXXXXX")
case "$work/" in
  "$repo"/*) echo "refusing to write series inside the repository ($work)" >&2; rmdir "$work"; exit 1 ;;
esac
if [[ $keep -eq 0 ]]; then trap 'rm -rf "$work"' EXIT; else echo "series kept in $work"; fi

# --- the series ------------------------------------------------------------
# capacity: the reader's capacity; ident: the identification comparison
# (stars and field chosen so that about 3,000 stars are measured per image,
# at the star density of the capacity series); catalogue: a small log with a
# catalogue of 2.4 million entries.
if [[ $small -eq 1 ]]; then
  capacity_args=(--preset full --images 20)
  ident_args=(--images 30 --stars 1500 --field 17)
  catalogue_args=(--preset tiny --vsx-filler 200000)
else
  capacity_args=(--preset full)
  ident_args=(--images 100 --stars 4600 --field 30)
  catalogue_args=(--preset tiny --vsx-filler 2400000)
fi
echo "generating series in $work ..." >&2
"$simulate" --seed 1 "${capacity_args[@]}" --out "$work/capacity" > /dev/null
"$simulate" --seed 1 "${ident_args[@]}" --out "$work/ident" > /dev/null
"$simulate" --seed 1 "${catalogue_args[@]}" --out "$work/catalogue" > /dev/null

# --- measuring -------------------------------------------------------------
now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }

# Best wall time of `wc -l FILE` over the repeats, in seconds.
best_wc() {
  local file=$1 best="" t0 t1 i
  cat "$file" > /dev/null  # into the page cache, like every later run
  for ((i = 0; i < repeat; ++i)); do
    t0=$(now_us); wc -l "$file" > /dev/null; t1=$(now_us)
    if [[ -z "$best" || $((t1 - t0)) -lt $best ]]; then best=$((t1 - t0)); fi
  done
  awk -v us="$best" 'BEGIN { printf "%.6f\n", us / 1e6 }'
}

# Best wall time of the real binary in folder $1 (further arguments passed
# on) and the largest peak RSS (KiB) seen: prints "seconds kib".
best_varisift() {
  local dir=$1 best="" rss=0 t0 t1 m i
  shift
  for ((i = 0; i < repeat; ++i)); do
    rm -f "$dir/Varisift.log"
    t0=$(now_us)
    (cd "$dir" && /usr/bin/time -f "%M" -o "$work/time.out" "$varisift" "$@" > /dev/null 2>&1)
    t1=$(now_us)
    m=$(tail -n 1 "$work/time.out")
    if [[ -z "$best" || $((t1 - t0)) -lt $best ]]; then best=$((t1 - t0)); fi
    if [[ $m -gt $rss ]]; then rss=$m; fi
  done
  rm -f "$dir/Varisift.log"
  awk -v us="$best" -v kib="$rss" 'BEGIN { printf "%.6f %d\n", us / 1e6, kib }'
}

# varisift_phases in folder $1 (further arguments passed on), repeated: the
# smallest value of every timed figure, the largest of every rss_* figure.
best_phases() {
  local dir=$1 i
  shift
  : > "$work/phases.all"
  for ((i = 0; i < repeat; ++i)); do
    (cd "$dir" && "$phases" --report "$work/phases.report" "$@") >> "$work/phases.all"
  done
  awk '$2 ~ /^[0-9.]+$/ {
         if (!($1 in v)) { v[$1] = $2; order[++n] = $1 }
         else if ($1 ~ /^rss_/ ? $2 + 0 > v[$1] + 0 : $2 + 0 < v[$1] + 0) v[$1] = $2
       }
       $2 !~ /^[0-9.]+$/ { v[$1] = $2; if (!seen[$1]++) order[++n] = $1 }
       END { for (i = 1; i <= n; ++i) print order[i], v[order[i]] }' "$work/phases.all"
}

# Best time of parse_floor on the log in folder $1.
best_floor() {
  local dir=$1 best="" s i
  for ((i = 0; i < repeat; ++i)); do
    s=$(cd "$dir" && "$floor" | awk '$1 == "parse_floor" { print $2 }')
    best=$(if [[ -z "$best" ]]; then echo "$s"; else min_of "$best" "$s"; fi)
  done
  echo "$best"
}

min_of() { awk -v a="$1" -v b="$2" 'BEGIN { print (a + 0 < b + 0) ? a : b }'; }

get() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

declare -A wc_log wc_vsx bin_s bin_kib
for set in capacity ident catalogue; do
  echo "measuring $set ..." >&2
  wc_log[$set]=$(best_wc "$work/$set/Skymensor.log")
  wc_vsx[$set]=$(best_wc "$work/$set/vsx.dat")
  read -r bin_s[$set] bin_kib[$set] < <(best_varisift "$work/$set")
  if [[ $set == capacity ]]; then
    floor_s=$(best_floor "$work/$set")
    read -r export_s export_kib < <(best_varisift "$work/$set" --csv "$work/out-csv" --aavso "$work/out.txt" \
      --obscode XYZ --filter V)
    read -r html_s html_kib < <(best_varisift "$work/$set" --html "$work/out.html")
  fi
  if [[ $set == ident || ($set == capacity && $capacity_scan -eq 1) ]]; then
    best_phases "$work/$set" --direct-scan > "$work/$set.phases"
  else
    best_phases "$work/$set" > "$work/$set.phases"
  fi
  # wc -l once more after the program runs: on a shared machine a passing
  # slowdown then does not spoil every repeat of the reference.
  wc_log[$set]=$(min_of "${wc_log[$set]}" "$(best_wc "$work/$set/Skymensor.log")")
  wc_vsx[$set]=$(min_of "${wc_vsx[$set]}" "$(best_wc "$work/$set/vsx.dat")")
done

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# --- the table -------------------------------------------------------------
bytes() { stat -c %s "$1"; }
lines() { wc -l < "$1" | tr -d ' '; }

# The targets are set for the full sizes; small series are not judged.
judge=$((1 - small))
missed=0
row() {  # label seconds reference_seconds [target_ratio le|ge]
  awk -v label="$1" -v s="$2" -v ref="$3" -v target="$([[ $judge -eq 1 ]] && echo "${4:-}")" -v sense="${5:-}" 'BEGIN {
    ratio = s / ref
    verdict = ""
    if (target != "") {
      ok = sense == "le" ? ratio <= target : ratio >= target
      verdict = sprintf("%s %sx  %s", sense == "le" ? "<=" : ">=", target, ok ? "met" : "MISSED")
    }
    printf "  %-38s %10.4f s %9.2fx   %s\n", label, s, ratio, verdict
    if (target != "" && !ok) exit 1
  }' || missed=$((missed + 1))
}

phase_rows() {  # set reference_seconds
  local set=$1 ref=$2 f=$work/$1.phases name label
  row "vsx load (x wc -l vsx.dat)" "$(get vsx_load "$f")" "${wc_vsx[$set]}"
  for name in log_read fields identification detection_pass1 detection_pass2 detection_closing total; do
    case $name in
      log_read) label="log read" ;;
      detection_pass1) label="detection pass 1 (check)" ;;
      detection_pass2) label="detection pass 2 (report)" ;;
      detection_closing) label="detection closing tables" ;;
      total) label="total of the phases" ;;
      *) label=$name ;;
    esac
    row "$label" "$(get "$name" "$f")" "$ref"
  done
}

describe() {  # set
  local f=$work/$1.phases
  printf "%s images, %s stars identified, %s catalogue entries loaded; log %s lines, %.1f MB; vsx.dat %s lines, %.1f MB\n" \
    "$(get images "$f")" "$(get stars "$f")" "$(get vsx_entries "$f")" \
    "$(lines "$work/$1/Skymensor.log")" "$(awk -v b="$(bytes "$work/$1/Skymensor.log")" 'BEGIN { print b / 1e6 }')" \
    "$(lines "$work/$1/vsx.dat")" "$(awk -v b="$(bytes "$work/$1/vsx.dat")" 'BEGIN { print b / 1e6 }')"
}

echo
echo "Varisift capacity benchmark ($([[ $small -eq 1 ]] && echo small || echo full) series), $(date)"
commit=$(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)
if ! git -C "$repo" diff --quiet HEAD -- src 2>/dev/null; then commit="$commit with uncommitted changes in src/"; fi
echo "code: $commit"
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "load average: $load_before before, $load_after after; best of $repeat runs each (wc -l: of $repeat before and $repeat after)"
echo "ratios: seconds / best wc -l seconds of the same file (Skymensor.log unless noted)"

for set in capacity ident catalogue; do
  echo
  case $set in
    capacity) echo "capacity series: $(describe capacity)" ;;
    ident) echo "identification series: $(describe ident)" ;;
    catalogue) echo "catalogue series: $(describe catalogue)" ;;
  esac
  row "wc -l Skymensor.log" "${wc_log[$set]}" "${wc_log[$set]}"
  row "wc -l vsx.dat" "${wc_vsx[$set]}" "${wc_vsx[$set]}"
  if [[ $set == capacity ]]; then
    row "parse_floor (one core)" "$floor_s" "${wc_log[$set]}"
    row "varisift whole run" "${bin_s[$set]}" "${wc_log[$set]}"
    row "varisift whole run (x parse_floor)" "${bin_s[$set]}" "$floor_s" 1.5 le
    rss_row() {  # label kib target
      awk -v label="$1" -v kib="$2" -v target="$3" -v b="$(bytes "$work/$set/Skymensor.log")" -v judged=$judge 'BEGIN {
        r = kib * 1024 / b
        verdict = judged ? sprintf("<= %.2f  %s", target, r <= target ? "met" : "MISSED") : ""
        printf "  %-38s %10.1f MiB %6.2f of log size  %s\n", label, kib / 1024, r, verdict
        if (judged && r > target) exit 1 }' || missed=$((missed + 1))
    }
    rss_row "varisift peak RSS" "${bin_kib[$set]}" 0.85
    row "with --csv --aavso (x whole run)" "$export_s" "${bin_s[$set]}" 1.2 le
    rss_row "with --csv --aavso, peak RSS" "$export_kib" 1.00
    row "with --html (x whole run)" "$html_s" "${bin_s[$set]}" 1.3 le
  elif [[ $set == catalogue ]]; then
    row "varisift whole run (x wc -l vsx.dat)" "${bin_s[$set]}" "${wc_vsx[$set]}"
    awk -v kib="${bin_kib[$set]}" 'BEGIN { printf "  %-38s %10.1f MiB\n", "varisift peak RSS", kib / 1024 }'
  else
    row "varisift whole run" "${bin_s[$set]}" "${wc_log[$set]}"
    awk -v kib="${bin_kib[$set]}" 'BEGIN { printf "  %-38s %10.1f MiB\n", "varisift peak RSS", kib / 1024 }'
  fi
  echo "  varisift_phases:"
  if [[ $set == catalogue ]]; then
    row "vsx load (x wc -l vsx.dat)" "$(get vsx_load "$work/$set.phases")" "${wc_vsx[$set]}" 10 le
    row "total of the phases (x wc -l vsx.dat)" "$(get total "$work/$set.phases")" "${wc_vsx[$set]}"
  else
    phase_rows "$set" "${wc_log[$set]}"
  fi
  if [[ $set == capacity ]]; then
    awk -v s="$(get identification "$work/$set.phases")" -v judged=$judge 'BEGIN {
      verdict = judged ? (s <= 0.25 ? "<= 0.25 s  met" : "<= 0.25 s  MISSED") : ""
      printf "  %-38s %10.4f s              %s\n", "identification, one thread", s, verdict
      if (judged && s > 0.25) exit 1 }' || missed=$((missed + 1))
  fi
  f=$work/$set.phases
  if [[ -n "$(get direct_scan "$f")" ]]; then
    row "direct-scan identification (baseline)" "$(get direct_scan "$f")" "${wc_log[$set]}"
    awk -v d="$(get direct_scan "$f")" -v i="$(get identification "$f")" -v q="$(get identification_queries "$f")" \
      -v same="$(get direct_scan_same "$f")" 'BEGIN {
      printf "  %-38s %21.1fx\n", "identification speed-up over the scan", d / i
      printf "  %-38s %10.0f ns vs %.0f ns direct (%d boxes; same stars: %s)\n", "per reference box searched", i / q * 1e9, d / q * 1e9, q, same }'
  fi
done
echo
if [[ $judge -eq 1 ]]; then echo "targets missed: $missed"; else echo "small series: targets not judged"; fi
