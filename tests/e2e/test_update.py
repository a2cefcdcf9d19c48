"""The upgrade road from outside: "检测升级" against a local server on the win32 build's
update host (127.0.0.1:18080), each outcome, and the whole road through update.exe."""
import http.server
import io
import os
import socketserver
import sys
import tempfile
import threading
import time
import zipfile

from quimbrel_e2e import QuimbrelCase, gbk_hex, main

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import release  # noqa: E402

PORT = 18080
TEST_KEY = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fixtures', 'release_key',
                        'test_private.pem')
CHECK_UPDATE = 107
STANDARD = bytes.hex(b'Quimbrel      3.2')


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    files = {}  # path -> (status, body)


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        status, body = self.server.files.get(self.path, (404, b''))
        self.send_response(status)
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def manifest(version, url='http://127.0.0.1:18080/r.zip', notes='fixes and more'):
    return b'\xef\xbb\xbf' + release.manifest(version, url, 'Quimbrel-3.3', 'r.zip', notes)


class Update(QuimbrelCase):
    def setUp(self):
        super().setUp()
        self.server = None

    def tearDown(self):
        if self.server:
            self.server.shutdown()
            self.server.server_close()
        super().tearDown()

    def serve(self, files):
        self.server = Server(('127.0.0.1', PORT), Handler)
        self.server.files = files
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def caption(self, hwnd):
        return self.probe.window(hwnd)['caption']

    def wait_for(self, what, condition, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.1)
        self.fail(f'timed out waiting for {what}')

    def box(self, caption):
        hwnd = self.probe.find(caption_hex=gbk_hex(caption), class_name='#32770', timeout_ms=30000)
        self.assertIsNotNone(hwnd, f'no box "{caption}"')
        return hwnd, {c['id']: c for c in self.probe.children(hwnd)}

    def test_server_down_box_closes_by_itself(self):
        hwnd = self.start()
        self.probe.run('command', hwnd, CHECK_UPDATE)
        box, controls = self.box('提示信息')
        self.assertEqual(controls['65535']['caption'], gbk_hex('未接通升级服务器'))
        self.assertEqual(self.probe.run('wait-gone', box, 20000, check=False), [])
        self.wait_for('the standard caption', lambda: self.caption(hwnd) == STANDARD)
        # The updater was deployed first, all the same.
        with open(os.path.join(self.work, '升级文件', 'update.exe'), 'rb') as f:
            deployed = f.read()
        with open(os.path.join(self.bin, 'update.exe'), 'rb') as f:
            self.assertEqual(deployed, f.read(), 'the deployed updater differs from the built one')

    def test_empty_body_is_unreachable(self):
        self.serve({'/Quimbrel.xml': (200, b'')})
        hwnd = self.start()
        self.probe.run('command', hwnd, CHECK_UPDATE)
        box, controls = self.box('提示信息')
        self.assertEqual(controls['65535']['caption'], gbk_hex('未接通升级服务器'))

    def no_new_version(self, files):
        self.serve(files)
        hwnd = self.start()
        self.probe.run('command', hwnd, CHECK_UPDATE)
        self.wait_for('"未检测到新版本"', lambda: self.caption(hwnd) == gbk_hex('未检测到新版本'))
        self.wait_for('the standard caption', lambda: self.caption(hwnd) == STANDARD)

    def test_error_page_means_no_new_version(self):
        self.no_new_version({'/Quimbrel.xml': (404, b'<html><body>404 Not Found</body></html>')})

    def test_same_version_is_not_newer(self):
        self.no_new_version({'/Quimbrel.xml': (200, manifest('3.2'))})

    def test_prompt_cancel_returns_at_once(self):
        self.serve({'/Quimbrel.xml': (200, manifest('3.3'))})
        hwnd = self.start()
        self.probe.run('command', hwnd, CHECK_UPDATE)
        box, controls = self.box('版本升级')
        self.assertEqual(controls['65535']['caption'],
                         gbk_hex('发现有新版本可以更新！\r\n\r\n版本号：3.3\r\n下载说明：fixes and more'))
        self.assertEqual(self.caption(hwnd), gbk_hex('检测升级中...'))
        self.probe.run('click', controls['2']['child'])
        self.wait_for('the standard caption', lambda: self.caption(hwnd) == STANDARD, timeout=10)
        self.assertIsNone(self.process.poll())

    def test_whole_road(self):
        # The release: a stub standing in for the new Quimbrel.exe, and data in folders.
        archive = io.BytesIO()
        with zipfile.ZipFile(archive, 'w') as z:
            with open(os.path.join(self.bin, 'stub_tool.exe'), 'rb') as f:
                z.writestr(zipfile.ZipInfo('Quimbrel.exe'), f.read(), compress_type=zipfile.ZIP_DEFLATED)
            z.writestr('data/sub/note.txt', b'new note', compress_type=zipfile.ZIP_STORED)
        # Signed with the test key that the win32 build's update.exe carries.
        with tempfile.TemporaryDirectory() as scratch:
            path = os.path.join(scratch, 'r.zip')
            with open(path, 'wb') as f:
                f.write(archive.getvalue())
            url = release.signed_url('http://127.0.0.1:18080/r.zip', release.sign_archive(path, TEST_KEY))
        self.serve({'/Quimbrel.xml': (200, manifest('3.3', url)), '/r.zip': (200, archive.getvalue())})
        # An old updater of other content is replaced by the embedded one before it starts.
        os.makedirs(os.path.join(self.work, '升级文件'))
        with open(os.path.join(self.work, '升级文件', 'update.exe'), 'wb') as f:
            f.write(b'MZ old updater')
        with open(os.path.join(self.work, 'keep.txt'), 'wb') as f:
            f.write(b'untouched')

        hwnd = self.start()
        self.probe.run('command', hwnd, CHECK_UPDATE)
        box, controls = self.box('版本升级')
        self.probe.run('click', controls['1']['child'])
        self.assertEqual(self.wait_exit(), 0)
        with open(os.path.join(self.work, '升级文件', 'update.exe'), 'rb') as f:
            deployed = f.read()
        with open(os.path.join(self.bin, 'update.exe'), 'rb') as f:
            self.assertEqual(deployed, f.read())

        calls = self.stub_calls(1, timeout=60)
        self.assertEqual([tool for tool, _, _ in calls], ['quimbrel.exe'], 'the program was not started again')
        with open(os.path.join(self.work, 'data', 'sub', 'note.txt'), 'rb') as f:
            self.assertEqual(f.read(), b'new note')
        with open(os.path.join(self.work, 'keep.txt'), 'rb') as f:
            self.assertEqual(f.read(), b'untouched')
        self.assertFalse(os.path.exists(os.path.join(self.work, '升级文件', 'e_update')))
        self.assertFalse(os.path.exists(os.path.join(self.work, '升级文件', '升级文件', 'temp1.zip')))


if __name__ == '__main__':
    main()
