#!/usr/bin/env python3
"""CPU time a Windows program uses while idle under Wine, read from /proc: the program's
own process and the wineserver (which runs Wine's timers) over the same interval.
Runs inside tests/wine/wine-env.   idle_cpu.py PROBE.EXE PROGRAM.EXE SECONDS"""
import os
import subprocess
import sys
import time

TICK = os.sysconf('SC_CLK_TCK')


def cpu_ms(pid):
    with open(f'/proc/{pid}/stat') as f:
        fields = f.read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000.0 / TICK  # utime + stime


def find_pid(matches):
    """A process of this prefix whose program (argv[0]; a Wine process shows its .exe
    there) satisfies `matches`."""
    prefix = ('WINEPREFIX=' + os.environ['WINEPREFIX']).encode()
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open(f'/proc/{entry}/cmdline', 'rb') as f:
                argv0 = f.read().split(b'\0')[0].decode('utf-8', 'replace').strip()
            with open(f'/proc/{entry}/environ', 'rb') as f:
                environment = f.read().split(b'\0')
        except OSError:
            continue
        if prefix in environment and matches(argv0.replace('\\', '/').rsplit('/', 1)[-1].lower()):
            return int(entry)
    return None


def main():
    probe, program, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    name = os.path.basename(program)
    child = subprocess.Popen(['wine', program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        subprocess.run(['wine', probe, 'find', '--class', 'WTWindow' if name == 'Quimbrel.exe' else 'IdleTimer',
                        '--timeout', '30000'], check=True, stdout=subprocess.DEVNULL)
        time.sleep(1.0)  # start-up is not idleness
        pid = find_pid(lambda program: program == name.lower())
        server = find_pid(lambda program: program.startswith('wineserver'))
        p0, s0 = cpu_ms(pid), cpu_ms(server)
        time.sleep(seconds)
        p1, s1 = cpu_ms(pid), cpu_ms(server)
        print(f'process_ms={p1 - p0:.0f} server_ms={s1 - s0:.0f}')
    finally:
        child.kill()
        subprocess.run(['wineserver', '-k'], check=False)
        child.wait()


if __name__ == '__main__':
    main()
