#!/usr/bin/env python3
"""Publishes a Quimbrel release: the release ZIP of a program tree and the Quimbrel.xml
manifest that Quimbrel's update check reads.

  tools/release.py --tree DIR --version 3.3 --title Quimbrel-3.3 --file Quimbrel-3.3.zip \
                   --url http://updates.example.com/Quimbrel-3.3.zip --notes "..." --out DIR

Quimbrel hands the download address, the title, the file name and the notes to
update.exe on one command line that the updater splits at white space, so this tool
refuses what that line cannot carry instead of publishing a release that cannot install."""
import argparse
import os
import re
import sys
import zipfile

COMMAND_LINE_LIMIT = 32767           # characters of a Windows command line
RUN_DIRECTORY_ALLOWANCE = 259        # the longest folder a user may have installed to
VERSION = re.compile(r'^[0-9]+(\.[0-9]+)?$')


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


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--tree', required=True, help='the program folder as it should be after the update')
    parser.add_argument('--version', required=True)
    parser.add_argument('--title', required=True)
    parser.add_argument('--file', required=True, dest='file_name')
    parser.add_argument('--url', required=True, help='where the ZIP will be downloaded from')
    parser.add_argument('--notes', default='')
    parser.add_argument('--out', required=True)
    args = parser.parse_args(argv)
    try:
        check_release(args.version, args.url, args.title, args.file_name, args.notes)
        if not os.path.isdir(args.tree):
            raise ReleaseError(f'{args.tree} is not a folder')
    except ReleaseError as error:
        print(f'release: refused: {error}', file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    write_zip(args.tree, os.path.join(args.out, args.file_name))
    with open(os.path.join(args.out, 'Quimbrel.xml'), 'wb') as f:
        f.write(manifest(args.version, args.url, args.title, args.file_name, args.notes))
    print(f'release: wrote {args.file_name} and Quimbrel.xml to {args.out}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
