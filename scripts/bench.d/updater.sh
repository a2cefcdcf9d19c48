#!/usr/bin/env bash
# update.exe: download throughput against curl, unpack and install against unzip and cp,
# and its size, each against a reference measured in the same run.
#   QB_UPDATER_RUNS (default 3) runs of each; QB_BIN picks the build (scripts/bench sets it);
#   QB_UPDATER_EXE the updater in it to measure (default update.exe).
set -euo pipefail
cd "$(dirname "$0")/../.."
bin=${QB_BIN:-$PWD/build/win32/bin}
if [ ! -f "$bin/update.exe" ] || [ ! -f "$bin/launch.exe" ]; then
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target update launch stub_tool >/dev/null
  bin=$PWD/build/win32/bin
fi
build=$(dirname "$bin")
tests/wine/wine-env "$build/bench-prefix" -- python3 tests/perf/updater_bench.py "$bin" "$build/updater-bench" \
  "${QB_UPDATER_RUNS:-3}" "${QB_UPDATER_EXE:-update.exe}"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
size() { i686-w64-mingw32-strip -o "$tmp/s.exe" "$1" && stat -c %s "$tmp/s.exe"; }
u=$(size "$bin/update.exe"); m=$(size "$bin/minimal_window.exe")
python3 -c "print(f'size of update.exe, stripped: {$u / 1024:.0f} KiB (aim 300 KiB or less), '
             f'minimal window {$m / 1024:.0f} KiB, ratio {$u / $m:.1f}')"
