#!/usr/bin/env bash
# Checks that every folder of src/ includes only folders that come before it
# in the layer order (VARISIFT_LAYERS in the top CMakeLists.txt), and that
# tests/ includes src/ by the same rule as the folder it mirrors. Prints each
# include that points to a later folder and exits 1 when there is one.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
layers=$(sed -n 's/^set(VARISIFT_LAYERS \(.*\))$/\1/p' "$repo/CMakeLists.txt")
[[ -n "$layers" ]] || { echo "check_layers: no VARISIFT_LAYERS in CMakeLists.txt" >&2; exit 1; }

declare -A rank
n=0
for layer in $layers; do rank[$layer]=$n; n=$((n + 1)); done

bad=0
for root in src tests; do
  for layer in $layers; do
    dir="$repo/$root/$layer"
    [[ -d "$dir" ]] || continue
    while IFS=: read -r file line text; do
      target=$(sed -n 's/^#include "\([a-z_]*\)\/.*"$/\1/p' <<<"$text")
      [[ -n "$target" && -n "${rank[$target]+x}" ]] || continue
      if (( rank[$target] > rank[$layer] )); then
        echo "${file#$repo/}:$line: $layer includes the later folder $target: $text"
        bad=1
      fi
    done < <(grep -n '^#include "' -r "$dir" --include='*.h' --include='*.cpp' || true)
  done
done
if (( bad )); then
  echo "check_layers: includes point to later folders (order: $layers)" >&2
  exit 1
fi
echo "check_layers: every include points to the same or an earlier folder ($layers)"
