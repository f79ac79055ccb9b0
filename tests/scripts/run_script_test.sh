#!/usr/bin/env bash
# The ./run script resolves a relative FILE against the folder it is started from. It runs a copy of
# the script in a scratch repository whose installer, cmake and program are stubs that record what
# they are given, so nothing is installed or built.
set -euo pipefail
script=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
repo=$scratch/repo
mkdir -p "$repo/scripts" "$repo/build/release/bin" "$repo/examples" "$scratch/stubs" "$scratch/data dir"
cp "$script" "$repo/run"
printf '#!/bin/sh\nexit 0\n' >"$repo/scripts/install-packages.sh"
printf '#!/bin/sh\nexit 0\n' >"$scratch/stubs/cmake"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/args"\n' "$scratch" >"$repo/build/release/bin/varnexw32"
chmod +x "$repo/run" "$repo/scripts/install-packages.sh" "$scratch/stubs/cmake" "$repo/build/release/bin/varnexw32"

fail=0
expect() {  # expect NAME ARGS-FILE-CONTENT
  local got
  got=$(cat "$scratch/args")
  if [ "$got" != "$2" ]; then
    printf 'FAIL %s:\n  got      %s\n  expected %s\n' "$1" "$(echo "$got" | tr '\n' ' ')" "$(echo "$2" | tr '\n' ' ')"
    fail=1
  fi
}
run() {  # run FOLDER ARGS...: the script started from FOLDER, with and without a display
  local folder=$1
  shift
  (cd "$folder" && PATH="$scratch/stubs:$PATH" DISPLAY=:0 "$repo/run" "$@" >/dev/null)
}
run_headless() {
  local folder=$1
  shift
  (cd "$folder" && PATH="$scratch/stubs:$PATH" env -u DISPLAY -u WAYLAND_DISPLAY "$repo/run" "$@" >/dev/null)
}

run "$scratch/data dir" d.dat
expect "relative file" "$scratch/data dir/d.dat"
run "$scratch/data dir" ../x/../e.dat
expect "relative file with .." "$scratch/data dir/../x/../e.dat"
run "$scratch/data dir" /abs/f.dat
expect "absolute file" "/abs/f.dat"
run "$scratch/data dir"
expect "no file" "$repo/examples/multi.dat"
run_headless "$scratch/data dir" g.dat
expect "no display" "--export
$scratch/data dir/g.png
$scratch/data dir/g.dat"
run_headless "$scratch/data dir" v1.2/raw
expect "no display, no extension" "--export
$scratch/data dir/v1.2/raw.png
$scratch/data dir/v1.2/raw"
exit $fail
