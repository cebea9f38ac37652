#!/usr/bin/env python3
# Writes a .reg file of N extra type library registrations for a Wine prefix,
# so the registry scan, the list command and the window can be timed over as
# many registrations as a developer machine holds (2,000 to 5,000).
#
# Each registration is TypeLib\{guid}\1.0 with a description, FLAGS, HELPDIR
# and 0\win32 plus 0\win64 (as Wine's own registrations have both), pointing
# at one of a few real library files Wine installs in every prefix. GUIDs are
# derived from the index (uuid5), so the same N always gives the same file
# and the keys spread over the whole GUID range among the real ones.
#
# Usage:
#   python3 tests/bench/make_registrations.py 5000 -o /tmp/extra.reg
#   WINEPREFIX=/tmp/wp WINEDEBUG=-all /usr/lib/wine/wine64 regedit /S /tmp/extra.reg
#   WINEPREFIX=/tmp/wp wineserver -w      # waits until system.reg is written
# Then `velbrook list --wine-prefix /tmp/wp` (Linux) or, under wine64,
# `velbrook-cli.exe list > out.txt` lists them with Wine's own rows.
# --missing-every K points every K-th registration at a file that does not
# exist (the scan tests the file and skips the row unless --include-missing).
import argparse
import sys
import uuid

# Files Wine puts in both system32 and syswow64, so 32- and 64-bit views of
# the prefix find them: type libraries of each kind the reader meets (a .tlb,
# and modules carrying a TYPELIB resource).
REAL_FILES = [
    'C:\\windows\\system32\\stdole2.tlb',
    'C:\\windows\\system32\\stdole32.tlb',
    'C:\\windows\\system32\\msi.dll',
    'C:\\windows\\system32\\scrrun.dll',
    'C:\\windows\\system32\\msxml3.dll',
    'C:\\windows\\system32\\vbscript.dll',
    'C:\\windows\\system32\\wshom.ocx',
    'C:\\windows\\system32\\hnetcfg.dll',
]
MISSING_FILE = 'C:\\windows\\system32\\velbrook-bench-missing.tlb'
HELP_DIR = 'C:\\windows\\help'
# The namespace of the derived GUIDs; any fixed value keeps them stable.
NAMESPACE = uuid.UUID('7c1e2d64-95b0-4c53-9a0e-5f3b1c0d2a11')


def reg_string(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def registration_guid(index):
    return '{' + str(uuid.uuid5(NAMESPACE, 'velbrook-bench-%d' % index)).upper() + '}'


def registration_lines(index, missing_every):
    missing = missing_every > 0 and index % missing_every == missing_every - 1
    path = MISSING_FILE if missing else REAL_FILES[index % len(REAL_FILES)]
    base = 'HKEY_LOCAL_MACHINE\\Software\\Classes\\TypeLib\\' + registration_guid(index) + '\\1.0'
    return [
        '[' + base + ']',
        '@=' + reg_string('Velbrook bench library %d' % index),
        '',
        '[' + base + '\\0\\win32]',
        '@=' + reg_string(path),
        '',
        '[' + base + '\\0\\win64]',
        '@=' + reg_string(path),
        '',
        '[' + base + '\\FLAGS]',
        '@="0"',
        '',
        '[' + base + '\\HELPDIR]',
        '@=' + reg_string(HELP_DIR),
        '',
    ]


def main():
    parser = argparse.ArgumentParser(
        description='Writes a .reg file of N type library registrations for a Wine prefix.')
    parser.add_argument('count', type=int, help='number of registrations')
    parser.add_argument('-o', '--output', required=True, help='the .reg file to write')
    parser.add_argument('--missing-every', type=int, default=0, metavar='K',
                        help='every K-th registration names a file that does not exist')
    args = parser.parse_args()
    if args.count < 0 or args.missing_every < 0:
        parser.error('counts must not be negative')
    lines = ['REGEDIT4', '']
    for index in range(args.count):
        lines += registration_lines(index, args.missing_every)
    # REGEDIT4 files are ANSI; every character written here is ASCII.
    with open(args.output, 'wb') as out:
        out.write(('\r\n'.join(lines) + '\r\n').encode('ascii'))
    return 0


if __name__ == '__main__':
    sys.exit(main())
