"""Reads the resources of a Windows PE file (DLL or EXE, 32- or 64-bit): the tree of types, ids
and languages in the resource section, and the bytes of one resource."""

import struct

RT_VERSION = 16


def u16(data, at):
    return struct.unpack_from('<H', data, at)[0]


def u32(data, at):
    return struct.unpack_from('<I', data, at)[0]


class Resources:
    """The resource section of the PE image `data` (bytes)."""

    def __init__(self, data):
        self.data = data
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
                self.base = raw + rva - virtual_address
                self.section_rva = virtual_address
                self.section_raw = raw
                return
        raise SystemExit('no resource section')

    def entries(self, directory=0):
        """(name or id, offset, is_directory) of one resource directory's entries."""
        data, base = self.data, self.base
        count = u16(data, base + directory + 12) + u16(data, base + directory + 14)
        for i in range(count):
            at = base + directory + 16 + 8 * i
            name, target = u32(data, at), u32(data, at + 4)
            if name & 0x80000000:
                text = base + (name & 0x7FFFFFFF)
                length = u16(data, text)
                name = data[text + 2:text + 2 + 2 * length].decode('utf-16-le')
            yield name, target & 0x7FFFFFFF, bool(target & 0x80000000)

    def types(self):
        """Resource type (id or name) -> directory offset."""
        return {name: offset for name, offset, _ in self.entries()}

    def of_type(self, kind):
        """Resource id -> bytes of its first language, for every resource of type `kind`."""
        directory = self.types().get(kind)
        if directory is None:
            return {}
        found = {}
        for rid, offset, _ in self.entries(directory):
            _, language, _ = next(self.entries(offset))
            rva, size = u32(self.data, self.base + language), u32(self.data, self.base + language + 4)
            start = self.section_raw + rva - self.section_rva
            found[rid] = self.data[start:start + size]
        return found
