"""update.exe as a process under Wine, started with an exact command line and fed by a
local HTTP server: a whole update, every way it can fail, the argument check, the close
query during a download, and a program folder with a space in its path."""
import hashlib
import io
import os
import shutil
import subprocess
import time
import unittest
import zipfile

import http_server
import quimbrel_e2e
from quimbrel_e2e import Probe, gbk_hex, main

UPDATER_DIR = '升级文件'
TOKEN = '启动凭据'


def windows_path(path):
    return 'Z:' + path.replace('/', '\\')


class Cp936Info(zipfile.ZipInfo):
    """An entry whose name is stored as code page 936 bytes without the UTF-8 flag, as
    archivers on a Chinese Windows write them."""

    def _encodeFilenameFlags(self):
        return self.filename.encode('gbk'), self.flag_bits


def make_zip(entries):
    """entries: (name, data or None for a folder, method, cp936 name)."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, 'w') as archive:
        for name, data, method, cp936 in entries:
            info = (Cp936Info if cp936 else zipfile.ZipInfo)(name, date_time=(2024, 5, 1, 12, 0, 0))
            info.compress_type = method
            if data is None:
                info.external_attr = 0o40755 << 16 | 0x10
                archive.writestr(info, b'')
            else:
                archive.writestr(info, data)
    return buffer.getvalue()


def release_zip():
    deflated, stored = zipfile.ZIP_DEFLATED, zipfile.ZIP_STORED
    return make_zip([
        ('replace.txt', b'new contents\r\n' * 50, deflated, False),
        ('lib/', None, stored, False),
        ('lib/engine.dll', bytes(range(256)) * 40, stored, False),
        ('lib/sub/deep.txt', b'deep new', deflated, False),
        ('.config/hidden.txt', b'never copied', deflated, False),
        ('empty/', None, stored, False),
        ('说明.txt', '新版本说明'.encode('gbk'), deflated, True),
        ('文档/更新.txt', b'utf-8 named entry', stored, False),
    ])


def snapshot(folder, skip=(UPDATER_DIR, 'stub_calls.log')):
    """Every file and folder under folder, less the paths in skip, with a digest of each file."""
    tree = {}
    for root, dirs, files in os.walk(folder):
        rel_root = os.path.relpath(root, folder)
        for name in dirs + files:
            rel = os.path.normpath(os.path.join(rel_root, name))
            if any(rel == s or rel.startswith(s + os.sep) for s in skip):
                continue
            path = os.path.join(root, name)
            if os.path.isdir(path):
                tree[rel + '/'] = None
            else:
                with open(path, 'rb') as f:
                    tree[rel] = hashlib.sha256(f.read()).hexdigest()
    return tree


class UpdaterCase(unittest.TestCase):
    """A program folder with a stub Quimbrel.exe and update.exe in its 升级文件 folder, and a
    local server with the releases in a folder of their own."""

    program_dir_name = 'program'
    # Built without a key, so these releases need no signature: this is the updater as it
    # always was. test_signed_update.py drives the keyed one.
    updater_exe = 'update_unkeyed.exe'

    def setUp(self):
        args = quimbrel_e2e.ARGS
        self.bin = args.bin
        self.work = os.path.join(args.work, self.id().rsplit('.', 1)[-1])
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.probe = Probe(self.bin)
        self.www = os.path.join(self.work, 'www')
        os.makedirs(self.www)
        self.server = http_server.start(self.www)
        self.addCleanup(self.server.shutdown)
        self.process = None
        self.maxDiff = None
        self.make_program(self.program_dir_name)

    def make_program(self, name):
        self.program = os.path.join(self.work, name)
        self.updater_dir = os.path.join(self.program, UPDATER_DIR)
        os.makedirs(os.path.join(self.program, 'lib', 'sub'))
        os.makedirs(self.updater_dir)
        shutil.copy(os.path.join(self.bin, 'stub_tool.exe'), os.path.join(self.program, 'Quimbrel.exe'))
        shutil.copy(os.path.join(self.bin, self.updater_exe), os.path.join(self.updater_dir, 'update.exe'))
        for rel, data in (('replace.txt', b'old contents'), ('keep.txt', b'untouched'),
                          ('lib/sub/deep.txt', b'deep old'), ('lib/sub/keep.bin', b'\x00\x01')):
            with open(os.path.join(self.program, rel), 'wb') as f:
                f.write(data)

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def serve(self, name, data):
        with open(os.path.join(self.www, name), 'wb') as f:
            f.write(data)

    def url(self, mode, name='release.zip'):
        return f'http://127.0.0.1:{self.server.port}/{mode}/{name}'

    def command_line(self, url, quoted=False, title='Quimbrel新版', name='Quimbrel.exe'):
        exe = windows_path(os.path.join(self.updater_dir, 'update.exe'))
        exe = f'"{exe}"' if quoted else exe
        return f'{exe} {TOKEN} {url} {title} 运行 {name} release.zip 修正 若干\r\n问题'

    def launch(self, command_line):
        hex_line = command_line.encode('gbk').hex() if isinstance(command_line, str) else command_line.hex()
        self.process = subprocess.Popen(['wine', os.path.join(self.bin, 'launch.exe'), hex_line],
                                        cwd=self.work, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        return self.process

    def exit_code(self, timeout=90):
        return self.process.wait(timeout=timeout)

    def restarts(self):
        path = os.path.join(self.program, 'stub_calls.log')
        if not os.path.exists(path):
            return []
        with open(path) as f:
            return [bytes.fromhex(line.split()[1]).decode('gbk') for line in f.read().splitlines() if line]

    def wait_restart(self, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline and not self.restarts():
            time.sleep(0.1)
        return self.restarts()

    def find_box(self, caption, timeout_ms=60000):
        return self.probe.find(caption_hex=gbk_hex(caption), class_name='#32770', timeout_ms=timeout_ms)

    def box_text_and_buttons(self, box):
        texts, buttons = [], {}
        for child in self.probe.children(box):
            if child['class'].lower() == 'button':
                buttons[int(child['id'])] = child['child']
            elif child['class'].lower() == 'static' and child['caption']:
                texts.append(bytes.fromhex(child['caption']).decode('gbk'))
        return texts, buttons

    def answer_box(self, caption, button_id):
        box = self.find_box(caption)
        self.assertIsNotNone(box, f'no box "{caption}"')
        texts, buttons = self.box_text_and_buttons(box)
        self.probe.run('click', buttons[button_id])
        self.probe.run('wait-gone', box, 10000, check=False)
        return texts

    def updater_window(self, timeout_ms=30000):
        return self.probe.find(caption_hex=gbk_hex('下载管理器'), class_name='QuimbrelUpdater', timeout_ms=timeout_ms)

    def log_text(self, window):
        for child in self.probe.children(window):
            if child['id'] == '301':
                return bytes.fromhex(child['caption']).decode('gbk')
        return ''

    def wait_log(self, window, text, timeout=30):
        deadline = time.time() + timeout
        log = ''
        while time.time() < deadline:
            log = self.log_text(window)
            if text in log:
                return log
            time.sleep(0.2)
        self.fail(f'the log never showed {text!r}; it holds {log!r}')

    def assert_updated(self, before):
        self.assertEqual(self.exit_code(), 0)
        after = snapshot(self.program)
        expected = dict(before)
        for rel, data in (('replace.txt', b'new contents\r\n' * 50), ('lib/engine.dll', bytes(range(256)) * 40),
                          ('lib/sub/deep.txt', b'deep new'), ('说明.txt', '新版本说明'.encode('gbk')),
                          ('文档/更新.txt', b'utf-8 named entry')):
            expected[os.path.normpath(rel)] = hashlib.sha256(data).hexdigest()
        for folder in ('.config/', 'empty/', '文档/'):
            expected[folder] = None
        self.assertEqual(after, expected)
        archive, extraction = self.download_paths()
        self.assertFalse(os.path.exists(archive))
        self.assertFalse(os.path.exists(extraction))
        self.assertTrue(os.path.isdir(os.path.dirname(archive)), 'the download folder is nested in 升级文件')

    def download_paths(self):
        return (os.path.join(self.updater_dir, UPDATER_DIR, 'temp1.zip'), os.path.join(self.updater_dir, 'e_update'))


class Update(UpdaterCase):
    def test_a_release_replaces_what_it_holds_and_restarts_the_program(self):
        self.serve('release.zip', release_zip())
        before = snapshot(self.program)
        # A leftover of an interrupted run is never copied over the program.
        os.makedirs(os.path.join(self.updater_dir, 'e_update'))
        with open(os.path.join(self.updater_dir, 'e_update', 'stale.txt'), 'wb') as f:
            f.write(b'stale')
        self.launch(self.command_line(self.url('normal') + '#part'))
        self.assert_updated(before)
        program_exe = windows_path(self.updater_dir) + '\\..\\Quimbrel.exe'
        self.assertEqual(self.wait_restart(), [f'"{program_exe}"'])
        self.assertEqual([path for path, _, _ in self.server.requests], ['/normal/release.zip'],
                         'the fragment is never sent')

    def test_a_body_without_content_length_is_taken_whole(self):
        self.serve('release.zip', release_zip())
        before = snapshot(self.program)
        self.launch(self.command_line(self.url('nolength')))
        self.assert_updated(before)
        self.assertEqual(len(self.wait_restart()), 1)


class SpacedFolder(UpdaterCase):
    program_dir_name = 'program files'

    def test_a_quoted_updater_path_updates_and_restarts_the_program(self):
        self.serve('release.zip', release_zip())
        before = snapshot(self.program)
        self.launch(self.command_line(self.url('normal'), quoted=True))
        self.assert_updated(before)
        program_exe = windows_path(self.updater_dir) + '\\..\\Quimbrel.exe'
        self.assertEqual(self.wait_restart(), [f'"{program_exe}"'])



def damaged_zip():
    data = bytearray(make_zip([('replace.txt', b'A' * 4000, zipfile.ZIP_STORED, False),
                               ('keep.txt', b'B' * 4000, zipfile.ZIP_STORED, False)]))
    data[data.index(b'B' * 100) + 50] ^= 0xFF  # keep.txt fails its CRC after replace.txt unpacked
    return bytes(data)


def zip_slip():
    return make_zip([('replace.txt', b'first entry is fine', zipfile.ZIP_DEFLATED, False),
                     ('../evil.txt', b'outside', zipfile.ZIP_DEFLATED, False)])


class Failures(UpdaterCase):
    def outside_the_program(self):
        # Everything else under the test's folder must stay as it was, the updater's own
        # folder included: a zip slip would land there first.
        program = os.path.basename(self.program)
        return ('www', os.path.join(program, 'stub_calls.log'), os.path.join(program, UPDATER_DIR, UPDATER_DIR))

    ROWS = [
        # (row, mode, archive, words the box must use, a log line that says why)
        ('dropped at half', 'drop', release_zip(), '下载升级文件失败', '线程异常结束'),
        ('404 with a body', 'missing', release_zip(), '下载升级文件失败', '线程异常结束'),
        ('CRC mismatch', 'normal', damaged_zip(), '已损坏', 'CRC'),
        ('zip slip', 'normal', zip_slip(), '拒绝安装', '../evil.txt'),
        ('not an archive', 'normal', b'<html>an error page served with 200</html>', '已损坏', '不是有效的压缩文件'),
        ('stalled half way', 'stall', release_zip(), '下载升级文件失败', '线程异常结束'),
    ]

    def test_each_failure_leaves_the_program_as_it_was_and_starts_it_again(self):
        for row, mode, data, message, why in self.ROWS:
            with self.subTest(row):
                shutil.rmtree(self.program)
                shutil.rmtree(self.www)
                os.makedirs(self.www)
                self.make_program(self.program_dir_name)
                self.serve('release.zip', data)
                before = snapshot(self.work, skip=self.outside_the_program())
                self.launch(self.command_line(self.url(mode)))
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
                self.assertEqual(snapshot(self.work, skip=self.outside_the_program()), before, row)
                archive, extraction = self.download_paths()
                self.assertFalse(os.path.exists(archive), row)
                self.assertFalse(os.path.exists(extraction), row)
                self.assertEqual(len(self.wait_restart()), 1, f'{row}: the program is started as it was')


class Arguments(UpdaterCase):
    # An unquoted updater path with a space cannot be shown here: Wine's CreateProcessA
    # quotes the path it found before the program sees its command line. The splitter's
    # unit table holds that case.
    def test_wrong_arguments_show_the_box_and_end_with_zero(self):
        exe = windows_path(os.path.join(self.updater_dir, 'update.exe'))
        url = self.url('normal')
        rows = [
            ('five arguments', f'{exe} {TOKEN} {url} 标题 运行 Quimbrel.exe'),
            ('token differs in its last byte',
             exe.encode('gbk') + b' ' + TOKEN.encode('gbk')[:-1] + b'\xdc' + f' {url} 标题 运行 Quimbrel.exe r.zip'.encode('gbk')),
        ]
        self.serve('release.zip', release_zip())
        for row, line in rows:
            with self.subTest(row):
                self.launch(line)
                box = self.find_box('信息：')
                self.assertIsNotNone(box, row)
                texts, buttons = self.box_text_and_buttons(box)
                self.assertIn('程序调用参数错误！', texts, row)
                window = self.updater_window(timeout_ms=0)
                if window:
                    self.assertEqual(self.probe.window(window)['visible'], '0', row)
                self.probe.run('click', buttons[1])
                self.assertEqual(self.exit_code(), 0, row)
        self.assertEqual(self.server.requests, [])
        self.assertEqual(self.restarts(), [])


class CloseDuringDownload(UpdaterCase):
    def test_ok_keeps_the_window_and_cancel_stops_and_closes(self):
        self.serve('release.zip', bytes(2000000))  # 16 KiB a second: never done before the test is
        self.launch(self.command_line(self.url('slow'), title='新版本'))
        window = self.updater_window()
        self.assertIsNotNone(window)
        self.wait_log(window, '收到数据')
        record = self.probe.window(window)
        self.assertEqual(record['rect'].split(',')[2:], ['538', '222'])
        children = {c['id']: c for c in self.probe.children(window)}
        texts = {i: bytes.fromhex(c['caption']).decode('gbk') for i, c in children.items()}
        self.assertEqual([texts[str(i)] for i in range(101, 106)], ['任务名称', '任务大小', '下载进度', '下载速度', '相关操作'])
        # The row: copies of the hidden templates, at their places; the bar now, not the label.
        for template in range(201, 207):
            self.assertEqual(children[str(template)]['visible'], '0')
            self.assertEqual(children[str(template + 1000)]['rect'], children[str(template)]['rect'])
        self.assertEqual(texts['1201'], '新版本')
        self.assertTrue(texts['1202'].endswith('K'), texts['1202'])
        self.assertEqual((children['1203']['visible'], children['1205']['visible']), ('1', '0'))
        self.assertRegex(texts['1204'], r'^\d+\.\d\dKB/s$')
        self.assertTrue(self.log_text(window).startswith('执行下载任务1 #传送常量.下载上传开始\r\n'))

        self.probe.run('close', window)
        self.assertIn('请等待下载完成...', self.answer_box('提示信息', 1))
        time.sleep(1)
        self.assertEqual(self.probe.window(window)['visible'], '1', 'OK keeps the window')
        self.assertIsNone(self.process.poll())

        self.probe.run('close', window)
        self.answer_box('提示信息', 2)
        self.assertEqual(self.exit_code(timeout=30), 0)
        self.assertEqual(self.restarts(), [], 'a cancelled update starts nothing')
        archive, _ = self.download_paths()
        self.assertTrue(os.path.exists(archive), 'the partial archive stays where it is')


if __name__ == '__main__':
    main()
