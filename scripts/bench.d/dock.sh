#!/usr/bin/env bash
# One dock tick that moves nothing, on the host, optimised and without sanitizers.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset host -B build/bench -DCMAKE_BUILD_TYPE=Release -DQUIMBREL_SANITIZE=OFF >/dev/null
cmake --build build/bench --target qb_dock_bench >/dev/null
out=$(build/bench/tests/perf/qb_dock_bench --benchmark_format=csv 2>/dev/null)
python3 - "$out" <<'PY'
import csv, io, sys
rows = {r['name']: float(r['cpu_time']) for r in csv.DictReader(io.StringIO(sys.argv[1]))}
plan, ref = rows['PlanDockTickNothingMoves'], rows['ReferenceCopyInputs']
print('one PlanDockTick that moves nothing (host, Google Benchmark):')
print(f'  {plan:.1f} ns, copying its inputs {ref:.1f} ns, ratio {plan / ref:.1f}')
PY
