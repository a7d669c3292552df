#!/usr/bin/env python3
"""Checks that a Windows plug-in DLL carries the editor's pictures as resources of type "DATA":
id 0 with the bytes of knob_sm.png and id 1 with those of bg.png.

Usage: embedded_artwork.py PLUGIN.dll RESOURCES_FOLDER
"""

import pathlib
import struct
import sys

EXPECTED = {0: 'knob_sm.png', 1: 'bg.png'}


def u16(data, at):
    return struct.unpack_from('<H', data, at)[0]


def u32(data, at):
    return struct.unpack_from('<I', data, at)[0]


def resource_section(data):
    """(file offset, RVA) of the resource directory."""
    pe = u32(data, 0x3C)
    if data[pe:pe + 4] != b'PE\0\0':
        raise SystemExit('not a PE file')
    sections = u16(data, pe + 6)
    optional = pe + 24
    magic = u16(data, optional)
    directories = optional + (96 if magic == 0x10B else 112)
    rva = u32(data, directories + 2 * 8)
    table = optional + u16(data, pe + 20)
    for i in range(sections):
        entry = table + 40 * i
        virtual_size, virtual_address = u32(data, entry + 8), u32(data, entry + 12)
        raw = u32(data, entry + 20)
        if virtual_address <= rva < virtual_address + virtual_size:
            return raw + rva - virtual_address, rva, virtual_address, raw
    raise SystemExit('no resource section')


def entries(data, base, directory):
    """(name or id, offset, is_directory) of one resource directory's entries."""
    count = u16(data, base + directory + 12) + u16(data, base + directory + 14)
    for i in range(count):
        at = base + directory + 16 + 8 * i
        name, target = u32(data, at), u32(data, at + 4)
        if name & 0x80000000:
            text = base + (name & 0x7FFFFFFF)
            length = u16(data, text)
            name = data[text + 2:text + 2 + 2 * length].decode('utf-16-le')
        yield name, target & 0x7FFFFFFF, bool(target & 0x80000000)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    data = pathlib.Path(sys.argv[1]).read_bytes()
    folder = pathlib.Path(sys.argv[2])
    base, _, section_rva, section_raw = resource_section(data)
    types = {name: offset for name, offset, _ in entries(data, base, 0)}
    if 'DATA' not in types:
        raise SystemExit(f'no "DATA" resources (types: {sorted(map(str, types))})')
    found = {}
    for rid, offset, _ in entries(data, base, types['DATA']):
        _, language, _ = next(entries(data, base, offset))
        rva, size = u32(data, base + language), u32(data, base + language + 4)
        start = section_raw + rva - section_rva
        found[rid] = data[start:start + size]
    failed = False
    for rid, name in EXPECTED.items():
        expected = (folder / name).read_bytes()
        if found.get(rid) != expected:
            print(f'"DATA" {rid}: not the bytes of {name}', file=sys.stderr)
            failed = True
        else:
            print(f'"DATA" {rid}: {name}, {len(expected)} bytes')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
