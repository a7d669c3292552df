#!/usr/bin/env python3
"""Prints the version resource of a Windows DLL (what Explorer's Properties show) and, with
--expect VERSION, checks it: fixed file and product versions VERSION.0, the texts FileVersion
and ProductVersion VERSION, ProductName "VARNE Gate", CompanyName "Quorrin Sound",
OriginalFilename the file's own name, a DLL, and strings in the language the Translation entry
names (the one Explorer looks up).

Usage: version_info.py PLUGIN.dll [--expect VERSION]
"""

import pathlib
import struct
import sys

from pe_resources import RT_VERSION, Resources, u16, u32

FIXED_SIGNATURE = 0xFEEF04BD
FILE_TYPE_DLL = 2


def align4(at):
    return (at + 3) & ~3


def node(block, at):
    """(key, value bytes, value is text, children offsets) of the version node at `at`."""
    length, value_length, is_text = u16(block, at), u16(block, at + 2), u16(block, at + 4)
    key_end = at + 6
    while block[key_end:key_end + 2] != b'\0\0':
        key_end += 2
    key = block[at + 6:key_end].decode('utf-16-le')
    value_at = align4(key_end + 2)
    value_size = value_length * 2 if is_text else value_length
    value = block[value_at:value_at + value_size]
    children = []
    child = align4(value_at + value_size)
    while child < at + length:
        children.append(child)
        child = align4(child + u16(block, child))
    return key, value, bool(is_text), children


def text(value):
    return value.decode('utf-16-le').rstrip('\0')


def dotted(most, least):
    return f'{most >> 16}.{most & 0xFFFF}.{least >> 16}.{least & 0xFFFF}'


def read(path):
    """The version resource as a dict: fixed fields, translations and the string tables."""
    versions = Resources(pathlib.Path(path).read_bytes()).of_type(RT_VERSION)
    if not versions:
        raise SystemExit(f'{path}: no version resource')
    block = next(iter(versions.values()))
    key, fixed, _, children = node(block, 0)
    if key != 'VS_VERSION_INFO' or len(fixed) < 52 or u32(fixed, 0) != FIXED_SIGNATURE:
        raise SystemExit(f'{path}: not a version resource ({key!r})')
    info = {
        'file version': dotted(u32(fixed, 8), u32(fixed, 12)),
        'product version': dotted(u32(fixed, 16), u32(fixed, 20)),
        'file type': u32(fixed, 36),
        'translations': [],
        'strings': {},
    }
    for child in children:
        name, _, _, grandchildren = node(block, child)
        for at in grandchildren:
            entry_key, value, _, entries = node(block, at)
            if name == 'StringFileInfo':
                table = info['strings'].setdefault(entry_key.lower(), {})
                for string in entries:
                    string_key, string_value, _, _ = node(block, string)
                    table[string_key] = text(string_value)
            elif name == 'VarFileInfo' and entry_key == 'Translation':
                for i in range(0, len(value) - 3, 4):
                    language, codepage = struct.unpack_from('<HH', value, i)
                    info['translations'].append(f'{language:04x}{codepage:04x}')
    return info


def problems(info, version, file_name):
    """What differs from the expected resource, one text each."""
    found = []
    fixed = '.'.join((version.split('.') + ['0', '0', '0'])[:4])
    for field in ('file version', 'product version'):
        if info[field] != fixed:
            found.append(f'{field} {info[field]}, expected {fixed}')
    if info['file type'] != FILE_TYPE_DLL:
        found.append(f'file type {info["file type"]}, expected {FILE_TYPE_DLL} (a DLL)')
    if not info['translations']:
        found.append('no Translation entry')
        return found
    strings = info['strings'].get(info['translations'][0])
    if strings is None:
        found.append(f'no strings for the translation {info["translations"][0]}')
        return found
    expected = {
        'FileVersion': version,
        'ProductVersion': version,
        'ProductName': 'VARNE Gate',
        'CompanyName': 'Quorrin Sound',
        'OriginalFilename': file_name,
    }
    for key, value in expected.items():
        if strings.get(key) != value:
            found.append(f'{key} {strings.get(key)!r}, expected {value!r}')
    return found


def main(arguments):
    if len(arguments) not in (1, 3) or (len(arguments) == 3 and arguments[1] != '--expect'):
        raise SystemExit(__doc__)
    path = pathlib.Path(arguments[0])
    info = read(path)
    print(f'file version: {info["file version"]}')
    print(f'product version: {info["product version"]}')
    print(f'translations: {" ".join(info["translations"])}')
    for language, table in sorted(info['strings'].items()):
        for key, value in table.items():
            print(f'{language} {key}: {value}')
    if len(arguments) == 1:
        return 0
    found = problems(info, arguments[2], path.name)
    for problem in found:
        print(f'{path}: {problem}', file=sys.stderr)
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
