#!/usr/bin/env bash
# update.exe's signature check of a 200 MB archive against downloading it on loopback, in
# the same run.   QB_SIGNATURE_RUNS (default 3); QB_BIN picks the build (scripts/bench sets it).
set -euo pipefail
cd "$(dirname "$0")/../.."
bin=${QB_BIN:-$PWD/build/win32/bin}
if [ ! -f "$bin/signature_bench.exe" ]; then
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target signature_bench >/dev/null
  bin=$PWD/build/win32/bin
fi
build=$(dirname "$bin")
tests/wine/wine-env "$build/bench-prefix" -- python3 tests/perf/signature_bench.py "$bin" "$build/signature-bench" \
  "${QB_SIGNATURE_RUNS:-3}"
