"""The cost of update.exe's signature check, against the download it guards, in one run.

  signature_bench.py BIN WORK RUNS

A 200 MB archive of random bytes, signed with the test key the win32 build embeds: its
check by signature_bench.exe (the updater's own verifier, under Wine) against curl fetching
it from the local server on loopback, timed by the server from the request to the last
byte. Runs inside tests/wine/wine-env."""
import os
import shutil
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'e2e'))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
import http_server  # noqa: E402
import release  # noqa: E402

SIZE = 200 * 1000 * 1000
TEST_KEY = os.path.join(HERE, '..', 'fixtures', 'release_key', 'test_private.pem')


def main():
    bin_dir, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    archive = os.path.join(work, 'release.zip')
    with open(archive, 'wb') as f:
        for _ in range(SIZE // (1 << 20)):
            f.write(os.urandom(1 << 20))
        f.write(os.urandom(SIZE % (1 << 20)))
    signature = release.sign_archive(archive, TEST_KEY).hex()
    server = http_server.start(work)
    url = f'http://127.0.0.1:{server.port}/normal/release.zip'

    downloads = []
    for _ in range(runs):
        target = os.path.join(work, 'curl.zip')
        subprocess.run(['curl', '-s', '--noproxy', '*', '-o', target, url], check=True)
        _, start, end = server.requests[-1]
        downloads.append((end - start) * 1000)
        os.remove(target)
    # update.exe's own road: its engine downloads and hashes as the bytes arrive, and the
    # check after the last byte verifies that digest.
    road = os.path.join(work, 'road.txt')
    with open(road, 'w') as out:
        subprocess.run(['wine', os.path.join(bin_dir, 'signature_bench.exe'), '--download', url,
                        'Z:' + os.path.join(work, 'engine.zip').replace('/', '\\'), signature, str(runs)],
                       stdout=out, stderr=subprocess.DEVNULL)
    with open(road) as f:
        road_fields = dict(f.split('=') for f in f.read().split())
    server.shutdown()
    # Into a file: Wine's own processes keep a pipe open long after the program has ended.
    report = os.path.join(work, 'verify.txt')
    with open(report, 'w') as out:
        subprocess.run(['wine', os.path.join(bin_dir, 'signature_bench.exe'), 'Z:' + archive.replace('/', '\\'),
                        signature, str(runs)], stdout=out, stderr=subprocess.DEVNULL)
    with open(report) as f:
        printed = f.read()
    fields = dict(f.split('=') for f in printed.split())
    if fields.get('result') != 'valid':
        sys.exit(f'signature_bench: the check did not pass: {printed!r}')
    verify, download = float(fields['verify_ms']), statistics.median(downloads)
    if road_fields.get('result') != 'valid':
        sys.exit(f'signature_bench: the check after the engine download did not pass: {road_fields!r}')
    after, engine = float(road_fields['verify_ms']), float(road_fields['download_ms'])
    print(f'signature check of a 200 MB archive after update.exe downloaded it (median of {runs}, Wine): '
          f'{after:.1f} ms, the download itself (hashing as it arrives) {engine:.0f} ms, ratio {after / engine:.4f}')
    print(f'  for reference: a whole pass over the file {verify:.0f} ms; curl downloading it on loopback '
          f'{download:.0f} ms, ratio {verify / download:.2f}')
    shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
