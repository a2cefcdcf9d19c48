#!/usr/bin/env bash
# The manifest reader's throughput and one whole update-check read, on the host. The bench
# target compiles the reader with -O2 and no sanitizers, whatever build/host is set up for.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset host >/dev/null
cmake --build build/host --target qb_manifest_bench >/dev/null
nice build/host/bin/qb_manifest_bench
