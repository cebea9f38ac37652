#!/usr/bin/env python3
# `velbrook list` over a small hand-made 64-bit Wine prefix without 32-bit
# Wine: what each bitness lists, the Bits and problem fields, and the notes on
# standard error about registrations left out and 64-bit ones not shown.
# Usage: list_bitness_test.py velbrook
import os
import subprocess
import sys
import tempfile

HEADER = 'WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n'
# Wow6432Node\TypeLib links to the shared TypeLib, as in Wine's own prefixes.
LINK = ('[Software\\\\Classes\\\\Wow6432Node\\\\TypeLib]\n#link\n'
        '"SymbolicLinkValue"=hex(6):' +
        ','.join('%02x,00' % ord(c) for c in '\\Registry\\Machine\\Software\\Classes\\TypeLib') +
        '\n\n')
# (GUID, description, platform, path, hive)
REGISTRATIONS = [
    ('{A}', 'only in system32', 'win32', 'C:\\windows\\system32\\a.tlb', 'system'),
    ('{B}', 'both', 'win32', 'C:\\windows\\system32\\b.dll', 'system'),
    ('{B}', 'both', 'win64', 'C:\\windows\\system32\\b.dll', 'system'),
    ('{C}', 'corrupt', 'win32', 'C:\\c.tlb', 'system'),
    ('{D}', '64 only', 'win64', 'C:\\d.tlb', 'system'),
    ('{E}', 'per user', 'win32', 'C:\\e.tlb', 'user'),
]
FILES = {
    'windows/system32/a.tlb': b'MSFT',
    'windows/system32/b.dll': b'MZ\x90\x00',
    'windows/syswow64/b.dll': b'MZ\x90\x00',
    'c.tlb': b'junk',
    'd.tlb': b'MSFT',
    'e.tlb': b'SLTG',
}

A = 'A.TLB\tonly in system32\tC:\\windows\\system32\\a.tlb\t{A}'
B = 'B.DLL\tboth\tC:\\windows\\system32\\b.dll\t{B}'
C = 'C.TLB\tcorrupt\tC:\\c.tlb\t{C}'
D = 'D.TLB\t64 only\tC:\\d.tlb\t{D}'
E = 'E.TLB\tper user\tC:\\e.tlb\t{E}'
LEFT_OUT = 'velbrook: 1 registrations left out: file not found (--include-missing lists them)\n'
# (options, stdout lines, stderr)
CASES = [
    ([], [B, C, E], LEFT_OUT),
    (['--include-missing', '--problems'],
     [A + '\tfile not found', B + '\t', C + '\tnot a type library', E + '\t'], ''),
    (['--bitness', '64'], [A, B, C, E], ''),
    (['--bitness', 'all', '--problems'],
     [B + '\t32\t', B + '\t64\t', C + '\t32\tnot a type library', D + '\t64\t', E + '\t32\t'],
     LEFT_OUT),
]


def reg_key(registration):
    guid, description, platform, path, _ = registration
    base = 'Software\\\\Classes\\\\TypeLib\\\\%s\\\\1.0' % guid
    return ('[%s]\n@="%s"\n\n[%s\\\\0\\\\%s]\n@="%s"\n\n' %
            (base, description, base, platform, path.replace('\\', '\\\\')))


def make_prefix(directory, registrations):
    system = HEADER + LINK + ''.join(reg_key(r) for r in registrations if r[4] == 'system')
    user = 'WINE REGISTRY Version 2\n\n' + ''.join(
        reg_key(r) for r in registrations if r[4] == 'user')
    with open(os.path.join(directory, 'system.reg'), 'w') as f:
        f.write(system)
    with open(os.path.join(directory, 'user.reg'), 'w') as f:
        f.write(user)
    for relative, data in FILES.items():
        path = os.path.join(directory, 'drive_c', relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
    os.makedirs(os.path.join(directory, 'dosdevices'))
    os.symlink('../drive_c', os.path.join(directory, 'dosdevices', 'c:'))


def run(cli, prefix, options):
    result = subprocess.run([cli, 'list', '--wine-prefix', prefix] + options,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    return result.returncode, result.stdout.decode('cp1252'), result.stderr.decode('cp1252')


def check(label, got, expected):
    if got == expected:
        return 0
    print('MISMATCH %s:\n got:      %r\n expected: %r' % (label, got, expected))
    return 1


def main():
    cli = sys.argv[1]
    failures = 0
    with tempfile.TemporaryDirectory(prefix='velbrook-list-') as work:
        full = os.path.join(work, 'full')
        only64 = os.path.join(work, 'only64')
        os.makedirs(full)
        os.makedirs(only64)
        make_prefix(full, REGISTRATIONS)
        make_prefix(only64, [r for r in REGISTRATIONS if r[0] == '{D}'])
        for options, lines, stderr in CASES:
            code, out, err = run(cli, full, options)
            label = 'list ' + ' '.join(options)
            failures += check(label + ' (exit)', code, 0)
            failures += check(label, out, ''.join(line + '\n' for line in lines))
            failures += check(label + ' (stderr)', err, stderr)
        code, out, err = run(cli, only64, [])
        failures += check('empty 32-bit list', (code, out, err),
                          (0, '', 'velbrook: no 32-bit registrations; 1 64-bit registrations '
                                  '(--bitness all lists them)\n'))
    print('%d failures' % failures)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
