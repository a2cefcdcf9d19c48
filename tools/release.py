#!/usr/bin/env python3
"""Publishes a Quimbrel release: the release ZIP of a program tree and the Quimbrel.xml
manifest that Quimbrel's update check reads.

  tools/release.py --tree DIR --version 3.3 --title Quimbrel-3.3 --file Quimbrel-3.3.zip \
                   --url http://updates.example.com/Quimbrel-3.3.zip --notes "..." --out DIR \
                   [--sign-key release_private.pem]
  tools/release.py keygen --out DIR     (once: the signing key pair)

With --sign-key the archive is signed (ECDSA P-256 over its SHA-256, with OpenSSL) and the
signature goes into the download address's fragment, "#sig=<base64url>", which no server
sees; an update.exe built with the public half installs nothing else.

Quimbrel hands the download address, the title, the file name and the notes to
update.exe on one command line that the updater splits at white space, so this tool
refuses what that line cannot carry instead of publishing a release that cannot install."""
import argparse
import base64
import os
import re
import subprocess
import sys
import tempfile
import zipfile

COMMAND_LINE_LIMIT = 32767           # characters of a Windows command line
RUN_DIRECTORY_ALLOWANCE = 259        # the longest folder a user may have installed to
VERSION = re.compile(r'^[0-9]+(\.[0-9]+)?$')
SIGNATURE_SIZE = 64                  # r and s of ECDSA P-256, 32 bytes each
SIGNATURE_PLACEHOLDER = '#sig=' + 'A' * 86


class ReleaseError(Exception):
    pass


def hand_off_line(url, title, file_name, notes, run_directory='X' * RUN_DIRECTORY_ALLOWANCE):
    return (f'"{run_directory}\\升级文件\\update.exe" 启动凭据 {url} {title} 运行 Quimbrel.exe '
            f'{file_name} {notes}')


def check_release(version, url, title, file_name, notes):
    """Raises ReleaseError with a plain reason for what the hand-off cannot carry."""
    if not VERSION.match(version):
        raise ReleaseError(f'the version "{version}" does not read as a number such as 3.3')
    for what, value in (('download address', url), ('file title', title), ('file name', file_name)):
        if not value:
            raise ReleaseError(f'the {what} is empty')
        if re.search(r'\s', value) or '"' in value:
            raise ReleaseError(f'the {what} "{value}" holds white space or a double quote, '
                               'which would shift the updater\'s arguments')
    for what, value in (('download address', url), ('file title', title), ('file name', file_name),
                        ('notes', notes)):
        try:
            value.encode('gbk')
        except UnicodeEncodeError:
            raise ReleaseError(f'the {what} holds characters that code page 936 cannot carry')
    if len(hand_off_line(url, title, file_name, notes)) > COMMAND_LINE_LIMIT:
        raise ReleaseError(f'the hand-off line would exceed {COMMAND_LINE_LIMIT} characters: shorten the notes')


def openssl(*args, data=None):
    try:
        done = subprocess.run(['openssl', *args], input=data, capture_output=True)
    except FileNotFoundError:
        raise ReleaseError('openssl is not installed; the release key is used through it')
    if done.returncode != 0:
        raise ReleaseError(f'openssl {args[0]} failed: {done.stderr.decode(errors="replace").strip()}')
    return done.stdout


def check_signing_key(private_key):
    text = openssl('pkey', '-in', private_key, '-noout', '-text').decode(errors='replace')
    if 'prime256v1' not in text and 'P-256' not in text:
        raise ReleaseError(f'{private_key} is not an ECDSA P-256 private key (make one with: release.py keygen)')


def der_to_raw(der):
    """ECDSA-Sig-Value (SEQUENCE of two INTEGERs) as the raw r || s that CNG verifies."""
    def length(at):
        first = der[at]
        if first < 0x80:
            return first, at + 1
        count = first & 0x7F
        return int.from_bytes(der[at + 1:at + 1 + count], 'big'), at + 1 + count

    if der[0] != 0x30:
        raise ReleaseError('openssl gave a signature that is not a DER sequence')
    _, at = length(1)
    parts = []
    for _ in range(2):
        if der[at] != 0x02:
            raise ReleaseError('openssl gave a signature without two integers')
        size, at = length(at + 1)
        value = int.from_bytes(der[at:at + size], 'big')
        at += size
        parts.append(value.to_bytes(SIGNATURE_SIZE // 2, 'big'))
    return b''.join(parts)


def sign_archive(path, private_key):
    """The raw 64-byte signature of the file, checked against the key's own public half."""
    check_signing_key(private_key)
    der = openssl('dgst', '-sha256', '-sign', private_key, '-binary', path)
    with tempfile.TemporaryDirectory() as work:
        public, signature = os.path.join(work, 'public.pem'), os.path.join(work, 'signature.der')
        with open(public, 'wb') as f:
            f.write(openssl('pkey', '-in', private_key, '-pubout'))
        with open(signature, 'wb') as f:
            f.write(der)
        openssl('dgst', '-sha256', '-verify', public, '-signature', signature, path)
    return der_to_raw(der)


def signed_url(url, signature):
    encoded = base64.urlsafe_b64encode(signature).rstrip(b'=').decode('ascii')
    if '#' not in url:
        return f'{url}#sig={encoded}'
    fragment = url.split('#', 1)[1]
    if any(part.split('=', 1)[0] == 'sig' for part in fragment.split('&')):
        raise ReleaseError(f'the download address "{url}" already carries a signature')
    return f'{url}&sig={encoded}'


def keygen(out):
    """Writes a new signing key pair to out; returns the paths (private, public)."""
    private, public = os.path.join(out, 'release_private.pem'), os.path.join(out, 'release_public.pem')
    for path in (private, public):
        if os.path.exists(path):
            raise ReleaseError(f'{path} exists; a release key is made once and never overwritten')
    os.makedirs(out, exist_ok=True)
    key = openssl('genpkey', '-algorithm', 'EC', '-pkeyopt', 'ec_paramgen_curve:P-256',
                  '-pkeyopt', 'ec_param_enc:named_curve')
    descriptor = os.open(private, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
    with os.fdopen(descriptor, 'wb') as f:
        f.write(key)
    with open(public, 'wb') as f:
        f.write(openssl('pkey', '-in', private, '-pubout'))
    return private, public


def escape(value):
    # The five entity references only: the reader keeps every other reference as written.
    return (value.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')
            .replace('"', '&quot;').replace("'", '&apos;'))


def manifest(version, url, title, file_name, notes):
    attributes = [('版本号', version), ('下载地址', url), ('文件标题', title), ('文件名', file_name),
                  ('升级说明', notes)]
    body = ' '.join(f'{name}="{escape(value)}"' for name, value in attributes)
    return f'<?xml version="1.0" encoding="utf-8"?>\n<最新版本>\n  <版本信息 {body}/>\n</最新版本>\n'.encode('utf-8')


def write_zip(tree, path):
    with zipfile.ZipFile(path, 'w', compression=zipfile.ZIP_DEFLATED) as archive:
        for folder, subfolders, files in os.walk(tree):
            subfolders.sort()
            relative = os.path.relpath(folder, tree)
            if relative != '.' and not files and not subfolders:
                archive.writestr(relative.replace(os.sep, '/') + '/', b'')
            for name in sorted(files):
                full = os.path.join(folder, name)
                archive.write(full, os.path.relpath(full, tree).replace(os.sep, '/'))


def keygen_main(argv):
    parser = argparse.ArgumentParser(prog='release.py keygen', description='Makes the release signing key pair.')
    parser.add_argument('--out', required=True, help='a folder of the publisher\'s own, kept off the update server')
    args = parser.parse_args(argv)
    try:
        private, public = keygen(args.out)
    except ReleaseError as error:
        print(f'release: refused: {error}', file=sys.stderr)
        return 1
    print(f'release: wrote {private} (keep it secret: whoever holds it can publish to every user)')
    print(f'release: wrote {public}')
    print('release: build the release with')
    print(f'  cmake --preset release -DQUIMBREL_UPDATE_HOST=<host> -DQUIMBREL_RELEASE_PUBLIC_KEY={os.path.abspath(public)}')
    print(f'and sign each release with --sign-key {os.path.abspath(private)}')
    return 0


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if argv[:1] == ['keygen']:
        return keygen_main(argv[1:])
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--tree', required=True, help='the program folder as it should be after the update')
    parser.add_argument('--version', required=True)
    parser.add_argument('--title', required=True)
    parser.add_argument('--file', required=True, dest='file_name')
    parser.add_argument('--url', required=True, help='where the ZIP will be downloaded from')
    parser.add_argument('--notes', default='')
    parser.add_argument('--out', required=True)
    parser.add_argument('--sign-key', help='the release private key (PEM); the address then carries the signature')
    args = parser.parse_args(argv)
    try:
        # The signature lengthens the address; the hand-off must still carry it.
        check_release(args.version, args.url + (SIGNATURE_PLACEHOLDER if args.sign_key else ''), args.title,
                      args.file_name, args.notes)
        if not os.path.isdir(args.tree):
            raise ReleaseError(f'{args.tree} is not a folder')
        if args.sign_key:
            check_signing_key(args.sign_key)
        os.makedirs(args.out, exist_ok=True)
        archive = os.path.join(args.out, args.file_name)
        write_zip(args.tree, archive)
        url = signed_url(args.url, sign_archive(archive, args.sign_key)) if args.sign_key else args.url
    except ReleaseError as error:
        print(f'release: refused: {error}', file=sys.stderr)
        return 1
    with open(os.path.join(args.out, 'Quimbrel.xml'), 'wb') as f:
        f.write(manifest(args.version, url, args.title, args.file_name, args.notes))
    print(f'release: wrote {args.file_name} and Quimbrel.xml to {args.out}' + (', signed' if args.sign_key else ''))
    return 0


if __name__ == '__main__':
    sys.exit(main())
