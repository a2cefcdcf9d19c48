"""Drives the real Quimbrel.exe under Wine from outside, through the probe.

Runs inside tests/wine/wine-env, which provides the display, the prefix and the
virtual desktop. Every test gets a fresh folder holding a copy of Quimbrel.exe."""
import argparse
import os
import shutil
import subprocess
import sys
import time
import unittest

ARGS = None


def gbk_hex(text):
    return text.encode('gbk').hex()


def parse_record(line):
    record = {}
    for field in line.split(' '):
        if '=' in field:
            key, value = field.split('=', 1)
            record[key] = value
    return record


class Probe:
    def __init__(self, bin_dir):
        self.exe = os.path.join(bin_dir, 'probe.exe')

    def run(self, *args, check=True):
        done = subprocess.run(['wine', self.exe, *map(str, args)], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True, timeout=60)
        if check and done.returncode != 0:
            raise AssertionError(f'probe {" ".join(map(str, args))} failed with {done.returncode}')
        return [line.rstrip('\r') for line in done.stdout.splitlines() if line.strip()]

    def find(self, caption_hex=None, class_name=None, timeout_ms=20000):
        args = ['find']
        if caption_hex is not None:
            args += ['--caption', caption_hex]
        if class_name is not None:
            args += ['--class', class_name]
        lines = self.run(*args, '--timeout', timeout_ms, check=False)
        return parse_record(lines[0])['hwnd'] if lines else None

    def window(self, hwnd):
        record = {}
        for line in self.run('window', hwnd):
            key, _, value = line.partition('=')
            record[key] = value
        return record

    def children(self, hwnd):
        return [parse_record(line) for line in self.run('children', hwnd)]


class QuimbrelCase(unittest.TestCase):
    """A fresh folder with Quimbrel.exe in it, and the process started from it."""

    tools = ()  # names of stub tools to place beside Quimbrel.exe

    def setUp(self):
        self.bin = ARGS.bin
        self.work = os.path.join(ARGS.work, self.id().rsplit('.', 1)[-1])
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        shutil.copy(os.path.join(self.bin, 'Quimbrel.exe'), self.work)
        for tool in self.tools:
            shutil.copy(os.path.join(self.bin, 'stub_tool.exe'), os.path.join(self.work, tool))
        self.probe = Probe(self.bin)
        self.process = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def start(self, cwd=None):
        """Starts Quimbrel.exe (from another directory by default) and waits for its window."""
        self.process = subprocess.Popen(['wine', os.path.join(self.work, 'Quimbrel.exe')],
                                        cwd=cwd or ARGS.bin, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        hwnd = self.probe.find(class_name='WTWindow')
        self.assertIsNotNone(hwnd, 'the main window never appeared')
        return hwnd

    def wait_exit(self, timeout=30):
        return self.process.wait(timeout=timeout)

    def stub_calls(self, expected, timeout=20):
        """(tool, command line, current directory) of each stub start, once `expected` have arrived."""
        path = os.path.join(self.work, 'stub_calls.log')
        deadline = time.time() + timeout
        lines = []
        while time.time() < deadline:
            if os.path.exists(path):
                with open(path) as f:
                    lines = [line.split() for line in f.read().splitlines() if line]
                if len(lines) >= expected:
                    break
            time.sleep(0.1)
        return [(name.lower(), bytes.fromhex(command).decode('gbk'), bytes.fromhex(directory).decode('gbk'))
                for name, command, directory in lines]


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument('--bin', required=True)
    parser.add_argument('--work', required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], '-v'] + rest)
