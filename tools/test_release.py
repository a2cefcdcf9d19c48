#!/usr/bin/env python3
"""The release tool's refusals, and what it writes."""
import base64
import contextlib
import io
import os
import re
import stat
import subprocess
import sys
import tempfile
import unittest
import zipfile

from cryptography.exceptions import InvalidSignature
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.hazmat.primitives.asymmetric.utils import encode_dss_signature

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import release  # noqa: E402

KEYS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'fixtures', 'release_key')
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


def make_tree(work):
    tree = os.path.join(work, 'tree')
    os.makedirs(os.path.join(tree, 'data'))
    with open(os.path.join(tree, 'Quimbrel.exe'), 'wb') as f:
        f.write(b'MZ new program')
    return tree


def manifest_url(out):
    with open(os.path.join(out, 'Quimbrel.xml'), encoding='utf-8') as f:
        return re.search(r'下载地址="([^"]*)"', f.read()).group(1)


def verifies(public_pem, data, raw):
    """An independent check of a raw r || s signature, as CNG takes it."""
    with open(public_pem, 'rb') as f:
        key = serialization.load_pem_public_key(f.read())
    der = encode_dss_signature(int.from_bytes(raw[:32], 'big'), int.from_bytes(raw[32:], 'big'))
    try:
        key.verify(der, data, ec.ECDSA(hashes.SHA256()))
        return True
    except InvalidSignature:
        return False


def signature_of(url):
    encoded = url.split('#sig=', 1)[1].split('&', 1)[0]
    return base64.urlsafe_b64decode(encoded + '==')


class Signing(unittest.TestCase):
    def release(self, work, key, url='http://h/Q.zip'):
        out = os.path.join(work, 'out')
        with contextlib.redirect_stdout(io.StringIO()), contextlib.redirect_stderr(io.StringIO()):
            code = release.main(['--tree', make_tree(work), '--version', '3.3', '--title', 'T', '--file', 'Q.zip',
                                 '--url', url, '--out', out, '--sign-key', key])
        return code, out

    def test_a_signed_release_carries_a_signature_of_its_archive(self):
        with tempfile.TemporaryDirectory() as work:
            code, out = self.release(work, os.path.join(KEYS, 'test_private.pem'))
            self.assertEqual(code, 0)
            url = manifest_url(out)
            self.assertRegex(url, r'^http://h/Q\.zip#sig=[A-Za-z0-9_-]{86}$')
            with open(os.path.join(out, 'Q.zip'), 'rb') as f:
                archive = f.read()
            raw = signature_of(url)
            self.assertTrue(verifies(os.path.join(KEYS, 'test_public.pem'), archive, raw))
            flipped = bytearray(archive)
            flipped[len(flipped) // 2] ^= 1
            self.assertFalse(verifies(os.path.join(KEYS, 'test_public.pem'), bytes(flipped), raw))

    def test_signed_addresses(self):
        raw = bytes(range(64))
        encoded = base64.urlsafe_b64encode(raw).rstrip(b'=').decode()
        rows = [
            ('plain address', 'http://h/Q.zip', f'http://h/Q.zip#sig={encoded}'),
            ('a fragment of its own is kept', 'http://h/Q.zip#part', f'http://h/Q.zip#part&sig={encoded}'),
        ]
        for row, url, expected in rows:
            with self.subTest(row):
                self.assertEqual(release.signed_url(url, raw), expected)
        for url in ('http://h/Q.zip#sig=x', 'http://h/Q.zip#a=1&sig'):
            with self.subTest(url=url):
                with self.assertRaises(release.ReleaseError):
                    release.signed_url(url, raw)

    def test_der_signatures_become_32_byte_halves(self):
        top = 2 ** 256 - 1  # its DER integer needs a leading zero byte
        for r, s in ((1, 2), (top, 1), (2 ** 255, top), (0x1234, 2 ** 200)):
            with self.subTest(r=hex(r), s=hex(s)):
                raw = release.der_to_raw(encode_dss_signature(r, s))
                self.assertEqual(raw, r.to_bytes(32, 'big') + s.to_bytes(32, 'big'))

    def test_a_key_that_is_not_p256_is_refused_and_nothing_is_written(self):
        with tempfile.TemporaryDirectory() as work:
            key = os.path.join(work, 'ed25519.pem')
            subprocess.run(['openssl', 'genpkey', '-algorithm', 'ED25519', '-out', key], check=True)
            code, out = self.release(work, key)
            self.assertEqual(code, 1)
            self.assertFalse(os.path.exists(os.path.join(out, 'Quimbrel.xml')))

    def test_keygen_makes_a_pair_once_that_signs_releases(self):
        with tempfile.TemporaryDirectory() as work:
            keys = os.path.join(work, 'keys')
            printed = io.StringIO()
            with contextlib.redirect_stdout(printed):
                self.assertEqual(release.main(['keygen', '--out', keys]), 0)
            private, public = (os.path.join(keys, n) for n in ('release_private.pem', 'release_public.pem'))
            self.assertIn(f'-DQUIMBREL_RELEASE_PUBLIC_KEY={os.path.abspath(public)}', printed.getvalue())
            self.assertEqual(stat.S_IMODE(os.stat(private).st_mode) & 0o077, 0, 'the private key is the owner\'s')
            with open(private, 'rb') as f:
                first = f.read()
            with contextlib.redirect_stderr(io.StringIO()):
                self.assertEqual(release.main(['keygen', '--out', keys]), 1)
            with open(private, 'rb') as f:
                self.assertEqual(f.read(), first, 'an existing key is never overwritten')
            code, out = self.release(work, private)
            self.assertEqual(code, 0)
            with open(os.path.join(out, 'Q.zip'), 'rb') as f:
                self.assertTrue(verifies(public, f.read(), signature_of(manifest_url(out))))


if __name__ == '__main__':
    unittest.main()
