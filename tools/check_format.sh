#!/usr/bin/env bash
# Checks that every C++ file of the project is laid out as .clang-format
# says; prints the files that are not and exits 1. With --fix, formats them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ "${1:-}" == --fix ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if (( ${#bad[@]} )); then
  printf '%s\n' "${bad[@]}"
  echo "check_format: ${#bad[@]} files differ from .clang-format (tools/check_format.sh --fix)" >&2
  exit 1
fi
echo "check_format: ${#files[@]} files follow .clang-format"
