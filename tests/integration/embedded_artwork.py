#!/usr/bin/env python3
"""Checks that a Windows plug-in DLL carries the editor's pictures as resources of type "DATA",
each with the bytes of the file resources.rc names for its id: id 0 knob_sm.png, id 1 bg.png,
and their variants for high-density screens at id + 150, + 200 and + 300.

Usage: embedded_artwork.py PLUGIN.dll RESOURCES_FOLDER
"""

import pathlib
import re
import sys

from pe_resources import Resources

# The 1x pictures and the variants the editor looks for, by id.
REQUIRED = {0: 'knob_sm.png', 1: 'bg.png',
            150: 'knob_sm@1.5x.png', 151: 'bg@1.5x.png',
            200: 'knob_sm@2x.png', 201: 'bg@2x.png',
            300: 'knob_sm@3x.png', 301: 'bg@3x.png'}


def listed(folder):
    """The ids and file names resources.rc gives as "DATA" resources."""
    text = (folder / 'resources.rc').read_text()
    return {int(m.group(1)): m.group(2)
            for m in re.finditer(r'^(\d+)\s+DATA\s+"([^"]+)"', text, re.MULTILINE)}


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    resources = Resources(pathlib.Path(sys.argv[1]).read_bytes())
    folder = pathlib.Path(sys.argv[2])
    expected = listed(folder)
    failed = False
    for rid, name in REQUIRED.items():
        if expected.get(rid) != name:
            print(f'resources.rc: id {rid} is not {name}', file=sys.stderr)
            failed = True
    if 'DATA' not in resources.types():
        raise SystemExit(f'no "DATA" resources (types: {sorted(map(str, resources.types()))})')
    found = resources.of_type('DATA')
    for rid, name in sorted(expected.items()):
        data = (folder / name).read_bytes()
        if found.get(rid) != data:
            print(f'"DATA" {rid}: not the bytes of {name}', file=sys.stderr)
            failed = True
        else:
            print(f'"DATA" {rid}: {name}, {len(data)} bytes')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
