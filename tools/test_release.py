#!/usr/bin/env python3
"""The release tool's refusals, and what it writes."""
import os
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import release  # noqa: E402

GOOD = dict(version='3.3', url='http://h/Q.zip', title='Quimbrel-3.3', file_name='Q.zip', notes='fixes')


class Checks(unittest.TestCase):
    def test_refusals(self):
        rows = [
            ('version', 'abc'), ('version', ''), ('version', '3.3.1'), ('version', 'V3.3'),
            ('url', ''), ('url', 'http://h/a b.zip'), ('url', 'http://h/a\tb.zip'), ('url', 'http://h/"x'),
            ('title', ''), ('title', 'Quimbrel 3.3'), ('file_name', ''), ('file_name', 'a\nb.zip'),
            ('notes', 'x' * 33000), ('notes', '\U0001F600'),
        ]
        for field, value in rows:
            with self.subTest(field=field, value=value[:20]):
                with self.assertRaises(release.ReleaseError):
                    release.check_release(**dict(GOOD, **{field: value}))

    def test_accepted(self):
        for notes in ('', 'fixes a\r\nand b', '1 < 2 & "q"', 'x' * 32000):
            with self.subTest(notes=notes[:20]):
                release.check_release(**dict(GOOD, notes=notes))

    def test_manifest_escapes_with_the_five_entities_and_keeps_line_breaks(self):
        text = release.manifest('3.3', 'http://h/Q.zip?a=1&b=2', 'T', 'Q.zip', 'a<b>"c"\'d\'\r\n&#10;').decode('utf-8')
        self.assertIn('下载地址="http://h/Q.zip?a=1&amp;b=2"', text)
        self.assertIn('升级说明="a&lt;b&gt;&quot;c&quot;&apos;d&apos;\r\n&amp;#10;"', text)
        self.assertTrue(text.startswith('<?xml version="1.0" encoding="utf-8"?>\n<最新版本>'))

    def test_writes_the_zip_and_the_manifest(self):
        with tempfile.TemporaryDirectory() as work:
            tree = os.path.join(work, 'tree')
            os.makedirs(os.path.join(tree, 'data', 'sub'))
            os.makedirs(os.path.join(tree, 'empty'))
            with open(os.path.join(tree, 'Quimbrel.exe'), 'wb') as f:
                f.write(b'MZ')
            with open(os.path.join(tree, 'data', 'sub', '说明.txt'), 'wb') as f:
                f.write(b'x')
            out = os.path.join(work, 'out')
            self.assertEqual(release.main(['--tree', tree, '--version', '3.3', '--title', 'T', '--file', 'Q.zip',
                                           '--url', 'http://h/Q.zip', '--out', out]), 0)
            with zipfile.ZipFile(os.path.join(out, 'Q.zip')) as archive:
                self.assertEqual(sorted(archive.namelist()),
                                 ['Quimbrel.exe', 'data/sub/说明.txt', 'empty/'])
            self.assertTrue(os.path.exists(os.path.join(out, 'Quimbrel.xml')))
            self.assertEqual(release.main(['--tree', tree, '--version', 'x', '--title', 'T', '--file', 'Q.zip',
                                           '--url', 'http://h/Q.zip', '--out', out]), 1)


if __name__ == '__main__':
    unittest.main()
