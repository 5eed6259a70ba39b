#!/usr/bin/env bash
# Makes the manual page doc/varisift.1 with help2man from the program's
# --help and --version, plus doc/varisift.h2m (the files it reads and
# writes, its exit status, an example). Run it after a change of an option,
# of the help text or of the version, review the difference and commit the
# page: builds install the committed page and need no help2man.
#   tools/make_man_page.sh [BUILD_FOLDER]    (default: build)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-build}
if ! command -v help2man >/dev/null; then
  echo "make_man_page: help2man is needed (Debian: apt-get install help2man)" >&2
  exit 1
fi
cmake --build "$build" --target varisift
program=$(realpath "$build/src/varisift")

# The page shows the date of the newest changelog entry, so that making it
# again changes nothing until the next release.
stamp=$(sed -n 's/^ -- .*>  //p' doc/changelog | head -n 1)
SOURCE_DATE_EPOCH=$(date -d "$stamp" +%s)
export SOURCE_DATE_EPOCH

# Varisift ends its lines in CR LF; help2man reads them through a filter
# named like the program, which drops the CRs.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '#!/bin/sh\n"%s" "$@" | tr -d "\\r"\n' "$program" >"$scratch/varisift"
chmod +x "$scratch/varisift"
LC_ALL=C.UTF-8 help2man --no-info --section 1 \
  --name "find probable variable stars in a series of measured sky images" \
  --include doc/varisift.h2m --output doc/varisift.1 "$scratch/varisift"
echo "make_man_page: wrote doc/varisift.1; review it (man -l doc/varisift.1) and commit it"
