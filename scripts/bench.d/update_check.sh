#!/usr/bin/env bash
# One update check's own work (fetch, decode, load, reads; not its 3000 ms waits) against
# curl fetching the same manifest, on loopback in the same run; and the size of the
# release Quimbrel.exe that carries update.exe.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --build --preset win32 --target check_bench >/dev/null
bin=$PWD/build/win32/bin
work=$(mktemp -d); trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import os, sys
sys.path.insert(0, 'tools')
import release
with open(os.path.join(sys.argv[1], 'Quimbrel.xml'), 'wb') as f:
    f.write(b'\xef\xbb\xbf' + release.manifest('3.3', 'http://127.0.0.1/r.zip', 'Quimbrel-3.3', 'r.zip', 'fixes'))
PY
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work" >/dev/null 2>&1 &
server=$!
sleep 1
url=http://127.0.0.1:$port/Quimbrel.xml
check=$(tests/wine/wine-env build/win32/bench-prefix -- wine "$bin/check_bench.exe" "$url" 30 | tr -d '\r')
curl_ms=$(python3 - "$url" <<'PY'
import subprocess, sys, time
times = []
for _ in range(30):
    t = time.perf_counter()
    subprocess.run(['curl', '-s', '-o', '/dev/null', sys.argv[1]], check=True)
    times.append((time.perf_counter() - t) * 1000)
print(f'{sorted(times)[len(times) // 2]:.2f}')
PY
)
python3 - "$check" "$curl_ms" <<'PY'
import sys
check = dict(f.split('=') for f in sys.argv[1].split())
ms, curl = float(check['check_ms']), float(sys.argv[2])
print('one update check without its waits (median of 30, loopback):')
print(f'  fetch + decode + load + reads under Wine {ms:.2f} ms, curl fetching the manifest {curl:.2f} ms, ratio {ms / curl:.2f}')
PY
if cmake --preset release -DQUIMBREL_UPDATE_HOST=updates.example.com >/dev/null 2>&1 &&
   cmake --build --preset release >/dev/null 2>&1; then
  echo "release sizes: Quimbrel.exe with update.exe inside $(stat -c %s build/release/bin/Quimbrel.exe) bytes," \
       "update.exe $(stat -c %s build/release/bin/update.exe) bytes"
fi
