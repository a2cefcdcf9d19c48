"""update.exe's figures under Wine, each against a reference in the same run, on loopback.

  updater_bench.py BIN WORK RUNS [UPDATER]   (UPDATER: the file in BIN to run, update.exe by default)

Download: a 200 MB archive from the local server, timed by the server from the request to the
last byte sent, for update.exe and for curl. Unpack and install: the same archive of 2,000
files, from the last byte sent to the start of the restarted program, against unzip -o, cp -r
and the removal of the temporaries. Runs inside tests/wine/wine-env."""
import os
import shutil
import statistics
import subprocess
import sys
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import http_server  # noqa: E402
import release  # noqa: E402

# The win32 build's update.exe embeds this key's public half and installs only what it signed.
TEST_KEY = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fixtures', 'release_key',
                        'test_private.pem')

FILES = 2000
FILE_SIZE = 100_000
UPDATER_DIR = '升级文件'


def make_archive(path):
    # Incompressible data, half stored and half deflated, in 20 folders of 100 files.
    with zipfile.ZipFile(path, 'w') as archive:
        for i in range(FILES):
            method = zipfile.ZIP_STORED if i % 2 else zipfile.ZIP_DEFLATED
            archive.writestr(zipfile.ZipInfo(f'd{i // 100:02}/f{i:04}.bin', (2024, 1, 1, 0, 0, 0)),
                             os.urandom(FILE_SIZE), compress_type=method, compresslevel=1)


def windows_path(path):
    return 'Z:' + path.replace('/', '\\')


def main():
    bin_dir, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    updater_exe = sys.argv[4] if len(sys.argv) > 4 else 'update.exe'
    shutil.rmtree(work, ignore_errors=True)
    www = os.path.join(work, 'www')
    os.makedirs(www)
    archive = os.path.join(www, 'release.zip')
    make_archive(archive)
    size = os.path.getsize(archive)
    server = http_server.start(www)
    url = f'http://127.0.0.1:{server.port}/normal/release.zip'
    signed = release.signed_url(url, release.sign_archive(archive, TEST_KEY))

    curl_times, updater_times, install_times, reference_installs = [], [], [], []
    for run in range(runs):
        # curl, timed by the server as update.exe is.
        target = os.path.join(work, 'curl.zip')
        subprocess.run(['curl', '-s', '--noproxy', '*', '-o', target, url], check=True)
        _, start, end = server.requests[-1]
        curl_times.append(end - start)
        os.remove(target)

        # update.exe in a program folder of its own, restarting a stub Quimbrel.exe.
        program = os.path.join(work, f'program{run}')
        updater_dir = os.path.join(program, UPDATER_DIR)
        os.makedirs(updater_dir)
        shutil.copy(os.path.join(bin_dir, 'stub_tool.exe'), os.path.join(program, 'Quimbrel.exe'))
        shutil.copy(os.path.join(bin_dir, updater_exe), os.path.join(updater_dir, 'update.exe'))
        line = (f'{windows_path(updater_dir)}\\update.exe 启动凭据 {signed} bench 运行 Quimbrel.exe r.zip x')
        done = subprocess.run(['wine', os.path.join(bin_dir, 'launch.exe'), line.encode('gbk').hex()],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
        restarted = os.path.join(program, 'stub_calls.log')
        deadline = time.time() + 20  # the restarted program may write its record after we ended
        while not os.path.exists(restarted) and time.time() < deadline:
            time.sleep(0.05)
        if done.returncode != 0 or not os.path.exists(restarted):
            raise SystemExit(f'update.exe failed (exit {done.returncode})')
        _, start, end = server.requests[-1]
        updater_times.append(end - start)
        install_times.append(os.path.getmtime(restarted) - end)
        if len(os.listdir(os.path.join(program, 'd00'))) != 100:
            raise SystemExit('update.exe did not install the archive')
        shutil.rmtree(program)

        # The same install with unzip and cp, the temporaries removed as update.exe does.
        program = os.path.join(work, 'reference')
        os.makedirs(program)
        copy = os.path.join(work, 'reference.zip')
        shutil.copy(archive, copy)
        extraction = os.path.join(work, 'e_update')
        begin = time.time()
        subprocess.run(['unzip', '-o', '-q', copy, '-d', extraction], check=True)
        subprocess.run(['cp', '-r', extraction + '/.', program], check=True)
        shutil.rmtree(extraction)
        os.remove(copy)
        reference_installs.append(time.time() - begin)
        shutil.rmtree(program)
    server.shutdown()
    shutil.rmtree(work, ignore_errors=True)

    mb = size / 1e6
    curl_s, updater_s = statistics.median(curl_times), statistics.median(updater_times)
    install_s, reference_s = statistics.median(install_times), statistics.median(reference_installs)
    print(f'update.exe download of a {mb:.0f} MB archive on loopback (median of {runs}, Wine), against curl:')
    print(f'  update.exe {mb / updater_s:.0f} MB/s, curl {mb / curl_s:.0f} MB/s, ratio {curl_s / updater_s:.2f}')
    print(f'update.exe unpack and install of that archive ({FILES} files), against unzip -o, cp -r and rm:')
    print(f'  update.exe {install_s:.2f} s (restart of the program included), reference {reference_s:.2f} s, '
          f'ratio {install_s / reference_s:.2f}')


if __name__ == '__main__':
    main()
