"""Signed releases under Wine: update.exe built with the test key installs only what the
test key signed, an unkeyed build installs as it always did, an install that fails part-way
leaves the program folder as it was, and the whole road from Quimbrel.exe with a keyed
updater that replaces an old unkeyed one before it starts it."""
import http.server
import os
import shutil
import socketserver
import subprocess
import sys
import threading
import time
import zipfile

import test_updater as base
from quimbrel_e2e import QuimbrelCase, gbk_hex, main

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import release  # noqa: E402

KEYS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fixtures', 'release_key')
TEST_KEY = os.path.join(KEYS, 'test_private.pem')
OTHER_KEY = os.path.join(KEYS, 'other_private.pem')


def signature(data, key=TEST_KEY, work=None):
    path = os.path.join(work, 'to_sign.zip')
    with open(path, 'wb') as f:
        f.write(data)
    try:
        return release.sign_archive(path, key)
    finally:
        os.remove(path)


def swapped_zip():
    return base.make_zip([('replace.txt', b'not what the publisher signed', zipfile.ZIP_DEFLATED, False),
                          ('Quimbrel.exe', b'MZ someone else\'s program', zipfile.ZIP_DEFLATED, False)])


class KeyedCase(base.UpdaterCase):
    updater_exe = 'update.exe'

    def signed(self, url, data, key=TEST_KEY):
        return release.signed_url(url, signature(data, key, self.work))

    def refused(self, row, why, message='签名'):
        """The failure box and the log after a refusal; the program folder as it was."""
        window = self.updater_window()
        self.assertIsNotNone(window, row)
        box = self.find_box('升级失败', timeout_ms=90000)
        self.assertIsNotNone(box, f'{row}: no failure box')
        log = self.log_text(window)
        texts, buttons = self.box_text_and_buttons(box)
        self.assertTrue(any(message in t and '程序没有被修改' in t for t in texts), f'{row}: {texts}')
        self.assertIn(why, log, row)
        self.probe.run('click', buttons[1])
        self.assertEqual(self.exit_code(), 0, row)
        return log


class KeyedUpdater(KeyedCase):
    def test_a_signed_release_installs(self):
        data = base.release_zip()
        self.serve('release.zip', data)
        before = self.snapshot_all()
        self.launch(self.command_line(self.signed(self.url('normal') + '#part', data)))
        self.assert_updated(before)
        self.assertEqual(len(self.wait_restart()), 1)
        self.assertFalse(os.path.exists(os.path.join(self.updater_dir, 'e_backup')), 'the kept files are removed')

    def snapshot_all(self):
        return base.snapshot(self.program)

    def outside_the_program(self):
        # The updater's own folder is watched too, but for its download folder.
        program = os.path.basename(self.program)
        return ('www', os.path.join(program, 'stub_calls.log'), os.path.join(program, base.UPDATER_DIR,
                                                                                base.UPDATER_DIR))

    def test_what_the_key_did_not_sign_is_never_opened(self):
        good = base.release_zip()
        rows = [
            # (row, archive on the server, address, a log line that says why)
            ('archive swapped on the server', swapped_zip(), lambda url: self.signed(url, good), '签名与文件不符'),
            ('signed by another key', good, lambda url: self.signed(url, good, OTHER_KEY), '签名与文件不符'),
            ('unsigned', good, lambda url: url, '下载地址没有签名'),
            ('a fragment without a signature', good, lambda url: url + '#part=1', '下载地址没有签名'),
            ('malformed signature', good, lambda url: url + '#sig=not-a-signature', '签名格式无效'),
        ]
        for row, data, address, why in rows:
            with self.subTest(row):
                shutil.rmtree(self.program)
                self.make_program(self.program_dir_name)
                self.serve('release.zip', data)
                before = base.snapshot(self.work, skip=self.outside_the_program())
                self.launch(self.command_line(address(self.url('normal'))))
                log = self.refused(row, why)
                self.assertNotIn('签名验证通过', log, row)
                self.assertEqual(base.snapshot(self.work, skip=self.outside_the_program()), before, row)
                archive, extraction = self.download_paths()
                self.assertFalse(os.path.exists(archive), f'{row}: the refused archive is removed')
                self.assertFalse(os.path.exists(extraction), f'{row}: nothing was unpacked')
                self.assertEqual(len(self.wait_restart()), 1, f'{row}: the program is started as it was')


class UnkeyedUpdater(base.UpdaterCase):
    updater_exe = 'update_unkeyed.exe'

    def test_an_unsigned_release_installs_as_it_always_did(self):
        self.serve('release.zip', base.release_zip())
        before = base.snapshot(self.program)
        self.launch(self.command_line(self.url('normal')))
        self.assert_updated(before)
        self.assertEqual(len(self.wait_restart()), 1)


class PartWayFailure(KeyedCase):
    def test_a_file_held_by_another_program_rolls_the_whole_install_back(self):
        data = base.release_zip()
        self.serve('release.zip', data)
        before = base.snapshot(self.program)
        # Reached after the files of the program folder and of lib were replaced or added.
        held = os.path.join(self.program, 'lib', 'sub', 'deep.txt')
        holder = subprocess.Popen(['wine', os.path.join(self.bin, 'hold_file.exe'),
                                   base.windows_path(held).encode('gbk').hex()],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(holder.wait)
        self.addCleanup(holder.kill)
        self.assertEqual(holder.stdout.readline().strip(), b'held')
        self.launch(self.command_line(self.signed(self.url('normal'), data)))
        log = self.refused('held file', 'deep.txt', message='恢复')
        self.assertIn('签名验证通过', log)
        self.assertEqual(base.snapshot(self.program), before, 'the program folder is byte for byte as it was')
        for leftover in ('e_backup', 'e_update', os.path.join(base.UPDATER_DIR, 'temp1.zip')):
            self.assertFalse(os.path.exists(os.path.join(self.updater_dir, leftover)), leftover)
        self.assertEqual(len(self.wait_restart()), 1, 'the program is started as it was')


PORT = 18080  # the win32 build's update host
CHECK_UPDATE = 107


class ManifestServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    files = {}


class ManifestHandler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        body = self.server.files.get(self.path)
        self.send_response(200 if body is not None else 404)
        body = body if body is not None else b'<html>404</html>'
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class WholeRoad(QuimbrelCase):
    def setUp(self):
        super().setUp()
        self.server = ManifestServer(('127.0.0.1', PORT), ManifestHandler)
        self.addCleanup(self.server.server_close)
        self.addCleanup(self.server.shutdown)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        with open(os.path.join(self.work, 'keep.txt'), 'wb') as f:
            f.write(b'untouched')
        with open(os.path.join(self.bin, 'stub_tool.exe'), 'rb') as f:
            stub = f.read()
        self.release = base.make_zip([('data/sub/note.txt', b'new note', zipfile.ZIP_DEFLATED, False),
                                      ('Quimbrel.exe', stub, zipfile.ZIP_DEFLATED, False)])

    def road(self, url):
        self.server.files = {'/Quimbrel.xml': b'\xef\xbb\xbf' + release.manifest('3.3', url, 'Quimbrel-3.3', 'r.zip',
                                                                             'signed'),
                             '/r.zip': self.release}
        hwnd = self.start()
        self.probe.run('command', hwnd, CHECK_UPDATE)
        box = self.probe.find(caption_hex=gbk_hex('版本升级'), class_name='#32770', timeout_ms=30000)
        self.assertIsNotNone(box, 'no upgrade prompt')
        buttons = {c['id']: c['child'] for c in self.probe.children(box)}
        self.probe.run('click', buttons['1'])
        self.assertEqual(self.wait_exit(), 0)
        with open(os.path.join(self.work, '升级文件', 'update.exe'), 'rb') as f, \
                open(os.path.join(self.bin, 'update.exe'), 'rb') as built:
            self.assertEqual(f.read(), built.read(), 'the keyed updater was deployed')

    def test_a_keyed_quimbrel_replaces_an_unkeyed_updater_which_then_refuses_an_unsigned_release(self):
        os.makedirs(os.path.join(self.work, '升级文件'))
        shutil.copy(os.path.join(self.bin, 'update_unkeyed.exe'), os.path.join(self.work, '升级文件', 'update.exe'))
        before = base.snapshot(self.work)
        self.road(f'http://127.0.0.1:{PORT}/r.zip')
        box = self.probe.find(caption_hex=gbk_hex('升级失败'), class_name='#32770', timeout_ms=60000)
        self.assertIsNotNone(box, 'the unsigned release was not refused')
        buttons = {c['id']: c['child'] for c in self.probe.children(box)}
        self.probe.run('click', buttons['1'])
        # The program as it was, the real Quimbrel.exe, starts again.
        hwnd = self.probe.find(class_name='WTWindow', timeout_ms=30000)
        self.assertIsNotNone(hwnd, 'the program was not started again')
        self.probe.run('close', hwnd)
        self.probe.run('wait-gone', hwnd, 15000, check=False)
        self.assertEqual(base.snapshot(self.work), before, 'nothing of the unsigned release was installed')

    def test_a_signed_release_installs_over_the_whole_road(self):
        self.road(release.signed_url(f'http://127.0.0.1:{PORT}/r.zip', signature(self.release, work=self.work)))
        calls = self.stub_calls(1, timeout=60)
        self.assertEqual([tool for tool, _, _ in calls], ['quimbrel.exe'], 'the new program was started')
        with open(os.path.join(self.work, 'data', 'sub', 'note.txt'), 'rb') as f:
            self.assertEqual(f.read(), b'new note')
        with open(os.path.join(self.work, 'keep.txt'), 'rb') as f:
            self.assertEqual(f.read(), b'untouched')
        for leftover in ('e_update', os.path.join('升级文件', 'temp1.zip')):
            self.assertFalse(os.path.exists(os.path.join(self.work, '升级文件', leftover)), leftover)
        # The old Quimbrel.exe may still be the image of a process that is ending, which
        # can be moved but not deleted: then it alone waits there for the next update.
        backups = os.path.join(self.work, '升级文件', 'e_backup')
        for name in os.listdir(backups) if os.path.isdir(backups) else []:
            with open(os.path.join(backups, name), 'rb') as f, open(os.path.join(self.bin, 'Quimbrel.exe'), 'rb') as old:
                self.assertEqual(f.read(), old.read(), f'e_backup holds {name}, not the old program')


if __name__ == '__main__':
    main()
