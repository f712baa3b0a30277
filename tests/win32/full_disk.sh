#!/usr/bin/env bash
# Runs the editor's full-disk test: the editor and its test under a limit on
# the size of a file they may write (ulimit -f), which its save of a large
# config.cfg outgrows part way, as a full disk would stop it.
# Usage: full_disk.sh WINE TESTS_EXE EDITOR_EXE
set -euo pipefail
wine="$1" tests="$2" editor="$3"
dir=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$dir" "$log"' EXIT
cp "$editor" "$dir/zemlo-config.exe"

# The test writes a player's config.cfg that fills the limit but for 100 bytes.
limit_kib=160

# SIGXFSZ ignored (as it stays across exec): a write past the limit then
# fails as on a full disk instead of killing the writer. Output to a file, not
# a pipe: Wine's processes outlive the test.
status=0
(trap '' XFSZ && ulimit -f "$limit_kib" && ZEMLO_FULL_DISK_BYTES=$((limit_kib * 1024)) \
  ZEMLO_FULL_DISK_DIR="Z:$(printf %s "$dir" | tr / '\\')" exec "$wine" "$tests" --gtest_filter='EditorOnFullDisk.*') \
  >"$log" 2>&1 </dev/null || status=$?
tr -d '\r' <"$log"
grep -q '^\[  PASSED  \] 1 test' "$log" || { echo "full_disk.sh: the test did not pass" >&2; exit 1; }
exit $status
