#!/usr/bin/env bash
# Runs the editor's test of a game folder that refuses new files to the
# ordinary user, beside a config.cfg that user may write: the save stages its
# copy in the temporary folder and writes config.cfg in place. Through
# scripts/unprivileged, as root writes into any folder.
# Usage: read_only_folder.sh TESTS_EXE EDITOR_EXE
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: read_only_folder.sh TESTS_EXE EDITOR_EXE" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/tester"
tests="$1" editor="$2"
dir=$(mktemp -d)
trap 'chmod u+w "$dir"; rm -rf "$dir"' EXIT
cp "$editor" "$dir/zemlo-config.exe"
printf '[General]\r\nshowFPS=0\r\n; keep\r\n' >"$dir/config.cfg"
if [ "$(id -u)" -eq 0 ]; then
  chown "$ZEMLO_TESTER" "$dir/config.cfg"  # the folder stays root's
  chmod 0755 "$dir"
else
  chmod 0555 "$dir"
fi
bash "$root/scripts/unprivileged" --wine "$tests" --gtest_filter='EditorInReadOnlyFolder.*' \
  "--game-folder=$(printf 'Z:%s' "$dir" | tr / '\\')"
