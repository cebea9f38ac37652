#!/usr/bin/env python3
# A real Wine prefix for the catalogue: made with wineboot, given test type
# library registrations through Wine's own regedit, then listed by the Linux
# reader (checked against the registrations; a member search finds Wine's
# browser library) and, when the Windows build is at hand, by velbrook's
# Windows list and search under wine64 from Wine's own registry (checked for
# equal output).
import argparse
import os
import shutil
import subprocess
import sys

SKIP = 77

# (GUID key, version, description, locale, win32 key spelling, expand?, path)
REGISTRATIONS = [
    ('{D1D1D1D1-1111-4111-8111-111111111111}', '1.0', 'Velbrook test stdole two', '0',
     'win32', True, '%SystemRoot%\\system32\\stdole2.tlb'),
    ('{D1D1D1D1-1111-4111-8111-111111111111}', '2.0', 'Caf\u00e9 "quoted" back\\slash', '409',
     'Win32', False, 'C:\\windows\\system32\\stdole32.tlb'),
    ('{d2d2d2d2-2222-4222-8222-222222222222}', '1.0', 'x' * 300, '0',
     'WIN32', False, 'C:\\nowhere\\missing.tlb'),
    ('{D3D3D3D3-3333-4333-8333-333333333333}', '1.0', 'Two chars', '0',
     'win32', False, 'C:'),
    ('{D4D4D4D4-4444-4444-8444-444444444444}', '1.0', 'Undefined variable', '0',
     'win32', True, '%VelbrookUndefined%\\x.tlb'),
    ('{D5D5D5D5-5555-4555-8555-555555555555}', '1.0', 'Resource in a module', '0',
     'win32', False, 'C:\\windows\\system32\\oleaut32.dll\\1'),
    ('{d0d0d0d0-0000-4000-8000-000000000000}', '3.1', 'Program files', '0',
     'win32', True, '%ProgramFiles%\\Velbrook Test\\Lib.TLB'),
    # Equal File texts keep the order of addition, which shows the order in
    # which Wine enumerates keys: by upper-cased name, so "{a" before "{B" and
    # version "10.0" before "9.0".
    ('{BBBB0000-0000-4000-8000-000000000000}', '1.0', 'tie upper B', '0',
     'win32', False, 'C:\\tie\\Tie.tlb'),
    ('{aaaa0000-0000-4000-8000-000000000000}', '9.0', 'tie lower a nine', '0',
     'win32', False, 'C:\\tie\\Tie.tlb'),
    ('{aaaa0000-0000-4000-8000-000000000000}', '10.0', 'tie lower a ten', '0',
     'win32', False, 'C:\\tie\\Tie.tlb'),
]
OUR_GUIDS = {r[0].upper() for r in REGISTRATIONS}


def wine_env(prefix):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG='-all', WINEDLLOVERRIDES='mscoree,mshtml=',
               LANG='en_US.UTF-8')
    return env


def reg_string(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def reg_expand(text):
    data = (text + '\0').encode('utf-16-le')
    return 'hex(2):' + ','.join('%02x' % b for b in data)


def setup(args):
    shutil.rmtree(args.prefix, ignore_errors=True)
    env = wine_env(args.prefix)
    subprocess.run([args.wine, 'wineboot', '-i'], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    lines = ['Windows Registry Editor Version 5.00', '']
    for guid, version, description, locale, win32, expand, path in REGISTRATIONS:
        base = 'HKEY_CLASSES_ROOT\\TypeLib\\' + guid + '\\' + version
        lines += ['[' + base + ']', '@=' + reg_string(description), '']
        lines += ['[' + base + '\\FLAGS]', '@="0"', '']
        lines += ['[' + base + '\\' + locale + '\\' + win32 + ']',
                  '@=' + (reg_expand(path) if expand else reg_string(path)), '']
    reg_file = os.path.join(args.prefix, 'drive_c', 'velbrook-test.reg')
    with open(reg_file, 'wb') as out:
        out.write(('\ufeff' + '\r\n'.join(lines) + '\r\n').encode('utf-16-le'))
    # A library file under Program Files for the environment expansion.
    lib_dir = os.path.join(args.prefix, 'drive_c', 'Program Files (x86)', 'Velbrook Test')
    os.makedirs(lib_dir, exist_ok=True)
    shutil.copy(os.path.join(args.prefix, 'drive_c', 'windows', 'system32', 'stdole2.tlb'),
                os.path.join(lib_dir, 'lib.tlb'))
    subprocess.run([args.wine, 'regedit', '/S', 'C:\\velbrook-test.reg'], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Waits for the server to write the registry files and exit.
    subprocess.run([args.wineserver, '-w'], env=env, check=True)
    return 0


def unix_path(prefix, windows_path, bitness):
    """The prefix file a 32- or 64-bit program reaches by windows_path."""
    parts = windows_path.replace('/', '\\').split('\\')
    if len(parts[0]) != 2 or parts[0][1] != ':':
        return None
    if (bitness == 32 and len(parts) > 2 and parts[1].lower() == 'windows' and
            parts[2].lower() == 'system32'):
        parts[2] = 'syswow64'
    current = os.path.join(prefix, 'dosdevices', parts[0].lower())
    for part in parts[1:]:
        if not part:
            continue
        names = os.listdir(current) if os.path.isdir(current) else []
        match = [n for n in names if n.lower() == part.lower()]
        current = os.path.join(current, match[0] if match else part)
    return current


def expected_rows(prefix, bitness, include_missing):
    program_files = 'C:\\Program Files (x86)' if bitness == 32 else 'C:\\Program Files'
    rows = []
    # Wine enumerates keys sorted by upper-cased name.
    for guid, version, description, _, _, expand, path in sorted(
            REGISTRATIONS, key=lambda r: (r[0].upper(), r[1].upper())):
        if expand:
            path = path.replace('%SystemRoot%', 'C:\\windows')
            path = path.replace('%ProgramFiles%', program_files)
        if len(path) <= 2:
            continue
        if not include_missing:
            found = unix_path(prefix, path, bitness)
            if not found or not os.path.isfile(found):
                continue
        last = path.split('\\')
        file_column = last[-1] if '.' in last[-1] else '\\'.join(last[-2:])
        if len(description.encode('cp1252')) >= 260:
            description = ''
        rows.append((file_column.upper(), description, path, guid.upper()))
    # Stable sort by File, byte-wise, as the scan inserts.
    rows.sort(key=lambda r: r[0].encode('cp1252'))
    return ['\t'.join(r) for r in rows]


def run_list(command, env=None):
    result = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        raise RuntimeError('%s failed (%d): %s' % (command, result.returncode,
                                                  result.stderr.decode(errors='replace')))
    return result.stdout.decode('cp1252').split('\n')[:-1]


def check_linux(args):
    failures = 0
    for bitness in (32, 64):
        for include_missing in (False, True):
            command = [args.linux_cli, 'list', '--wine-prefix', args.prefix,
                       '--bitness', str(bitness)]
            if include_missing:
                command.append('--include-missing')
            lines = run_list(command)
            ours = [l for l in lines if l.split('\t')[-1] in OUR_GUIDS]
            expected = expected_rows(args.prefix, bitness, include_missing)
            label = 'bitness %d%s' % (bitness, ', include missing' if include_missing else '')
            if ours != expected:
                failures += 1
                print('MISMATCH (%s)\n got:\n  %s\n expected:\n  %s' %
                      (label, '\n  '.join(ours), '\n  '.join(expected)))
            else:
                print('ok (%s): %d rows' % (label, len(ours)))
    failures += check_member_search(args)
    return 1 if failures else 0


def check_member_search(args):
    """A method of Wine's own browser library is found by member name, in
    the interface that declares it and in those that inherit it. Whether
    wineboot registered it as win32, win64 or both depends on whether the
    machine runs 32-bit Wine, so the search covers both."""
    result = subprocess.run([args.linux_cli, 'search', '--member', 'Navigate', '--wine-prefix',
                             args.prefix, '--bitness', 'all'],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    hits = {tuple(line.split('\t')[2:]) for line in result.stdout.decode('cp1252').splitlines()
            if line.split('\t')[0] == 'IEFRAME.DLL'}
    expected = {('method', 'Navigate', 'IWebBrowser', ''),
                ('method', 'Navigate', 'IWebBrowserApp', 'IWebBrowser'),
                ('method', 'Navigate', 'IWebBrowser2', 'IWebBrowser')}
    if result.returncode != 0 or not expected <= hits:
        print('MISMATCH search --member Navigate (exit %d): ieframe hits %s' %
              (result.returncode, sorted(hits)))
        return 1
    print('ok search --member Navigate: %d ieframe hits' % len(hits))
    return 0


def compare_windows(args):
    if not args.windows_cli or not os.path.isfile(args.windows_cli):
        print('Windows build not found (%s); comparison skipped' % args.windows_cli)
        return SKIP
    env = wine_env(args.prefix)
    failures = 0
    cases = [['list'], ['list', '--include-missing'], ['search', 'StdFont'],
             ['search', 'IUnknown', '--include-missing'], ['search', 'NoSuchName'],
             # Libraries named by their registered GUID: the newest version,
             # a resource of a module, a missing file, an unregistered GUID.
             ['show', '{D1D1D1D1-1111-4111-8111-111111111111}'],
             ['show', 'd5d5d5d5-5555-4555-8555-555555555555'],
             ['show', '{d2d2d2d2-2222-4222-8222-222222222222}'],
             ['show', '{D9D9D9D9-9999-4999-8999-999999999999}'],
             # Search by kind: members (inherited ones with their base),
             # GUIDs with and without braces, ProgIDs, any; no hit; a
             # malformed GUID.
             ['search', '--member', 'Navigate'], ['search', '--member', 'QueryInterface'],
             ['search', '--guid', '{8856F961-340A-11D0-A96B-00C04FD705A2}'],
             ['search', '--guid', 'eab22ac0-30c1-11cf-a7eb-0000c05bae0b'],
             ['search', '--progid', 'Shell.Explorer'], ['search', '--any', 'StdFont'],
             ['search', '--member', 'NoSuchMember'], ['search', '--guid', '{8856F961}']]
    for case in cases:
        windows = subprocess.run([args.wine, args.windows_cli] + case, env=env,
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        linux = subprocess.run([args.linux_cli] + case + ['--wine-prefix', args.prefix,
                                                          '--bitness', '64'],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        same = windows.stdout == linux.stdout and windows.returncode == linux.returncode
        print('%s %s: %d lines, exit %d' % ('ok' if same else 'MISMATCH', ' '.join(case),
                                           linux.stdout.count(b'\n'), linux.returncode))
        if not same:
            failures += 1
            print(' windows (exit %d):\n%s\n linux (exit %d):\n%s' %
                  (windows.returncode, windows.stdout.decode('cp1252'), linux.returncode,
                   linux.stdout.decode('cp1252')))
    failures += compare_generate_by_guid(args, env)
    subprocess.run([args.wineserver, '-w'], env=env)
    return 1 if failures else 0


def compare_generate_by_guid(args, env):
    """generate GUID --all gives the same file from both builds (but for the
    header's date, which each writes in its own form); the header names the
    registered path."""
    guid = '{D1D1D1D1-1111-4111-8111-111111111111}'
    work = args.prefix + '-generate'
    shutil.rmtree(work, ignore_errors=True)
    env = dict(env, SOURCE_DATE_EPOCH='0')
    commands = {
        'windows': [args.wine, os.path.abspath(args.windows_cli)],
        'linux': [os.path.abspath(args.linux_cli)],
    }
    options = {'windows': [], 'linux': ['--wine-prefix', args.prefix, '--bitness', '64']}
    texts = []
    for name in ('windows', 'linux'):
        directory = os.path.join(work, name)
        os.makedirs(directory)
        result = subprocess.run(commands[name] + ['generate', guid, '--all'] + options[name],
                                env=env, cwd=directory,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        path = os.path.join(directory, 'STDOLE32.inc')
        if result.returncode != 0 or not os.path.isfile(path):
            print('MISMATCH generate %s: %s exit %d: %s' %
                  (guid, name, result.returncode, result.stderr.decode(errors='replace')))
            return 1
        with open(path, 'rb') as f:
            lines = f.read().split(b'\r\n')
        lines[1] = lines[1].rsplit(b' on ', 1)[0]
        texts.append(lines)
    shutil.rmtree(work, ignore_errors=True)
    header = b"' COM Include for file: C:\\windows\\system32\\stdole32.tlb"
    if texts[0] != texts[1]:
        print('MISMATCH generate %s: the two include files differ' % guid)
        return 1
    if texts[1][0] != header:
        print('MISMATCH generate %s: header %r' % (guid, texts[1][0]))
        return 1
    print('ok generate %s --all: %d lines, same from both builds' % (guid, len(texts[1])))
    return 0


def cleanup(args):
    subprocess.run([args.wineserver, '-k'], env=wine_env(args.prefix))
    shutil.rmtree(args.prefix, ignore_errors=True)
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('mode', choices=['setup', 'check', 'compare', 'cleanup'])
    parser.add_argument('--prefix', required=True)
    parser.add_argument('--wine', default='/usr/lib/wine/wine64')
    parser.add_argument('--wineserver', default='/usr/lib/wine/wineserver64')
    parser.add_argument('--linux-cli')
    parser.add_argument('--windows-cli')
    args = parser.parse_args()
    args.prefix = os.path.abspath(args.prefix)
    return {'setup': setup, 'check': check_linux, 'compare': compare_windows,
            'cleanup': cleanup}[args.mode](args)


if __name__ == '__main__':
    sys.exit(main())
