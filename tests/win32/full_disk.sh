#!/usr/bin/env bash
# Runs the editor's full-disk tests. By default: the editor and its test under
# a limit on the size of a file they may write (ulimit -f), which its save of a
# large config.cfg outgrows part way, as a full disk would stop it. With
# --file-system: the editor in a folder of a file system that is full (a small
# tmpfs, so it needs root to mount), beside a config.cfg whose first page is a
# hole, so that a write in place and the undo of it both fail.
# Usage: full_disk.sh [--file-system] WINE TESTS_EXE EDITOR_EXE
set -euo pipefail
mode=limit
[ "${1:-}" = --file-system ] && { mode=file-system; shift; }
[ $# -eq 3 ] || { echo "usage: full_disk.sh [--file-system] WINE TESTS_EXE EDITOR_EXE" >&2; exit 2; }
wine="$1" tests="$2" editor="$3"
dir=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$dir" "$log"' EXIT

# Output to a file, not a pipe: Wine's processes outlive the test.
finish() {
  tr -d '\r' <"$log"
  grep -q '^\[  PASSED  \] 1 test' "$log" || { echo "full_disk.sh: the test did not pass" >&2; exit 1; }
  exit "$1"
}
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

if [ "$mode" = file-system ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo -n)
  "${as_root[@]}" mount -t tmpfs -o "size=2m,mode=0755,uid=$(id -u)" zemlo-full "$dir" ||
    { echo "full_disk.sh: cannot mount a tmpfs (root or sudo without a password): skipped" >&2; exit 77; }
  trap '"${as_root[@]}" umount -l "$dir"; rm -rf "$dir" "$log"' EXIT
  cp "$editor" "$dir/zemlo-config.exe"
  truncate -s 4096 "$dir/config.cfg"
  printf '\r\n[General]\r\nshowFPS=1\r\n; keep\r\n' >>"$dir/config.cfg"
  dd if=/dev/zero of="$dir/filler" bs=4096 2>/dev/null || true  # until the file system is full
  status=0
  "$wine" "$tests" --gtest_filter='EditorOnFullFileSystem.*' "--game-folder=$(winpath "$dir")" \
    >"$log" 2>&1 </dev/null || status=$?
  finish $status
fi

cp "$editor" "$dir/zemlo-config.exe"

# The test writes a player's config.cfg that fills the limit but for 100 bytes.
limit_kib=160

# SIGXFSZ ignored (as it stays across exec): a write past the limit then
# fails as on a full disk instead of killing the writer.
status=0
(trap '' XFSZ && ulimit -f "$limit_kib" && exec "$wine" "$tests" --gtest_filter='EditorOnFullDisk.*' \
  "--game-folder=$(winpath "$dir")" "--file-size-limit=$((limit_kib * 1024))") \
  >"$log" 2>&1 </dev/null || status=$?
finish $status
