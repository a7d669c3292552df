#!/usr/bin/env python3
"""Checks that a Windows plug-in DLL carries the editor's pictures as resources of type "DATA":
id 0 with the bytes of knob_sm.png and id 1 with those of bg.png.

Usage: embedded_artwork.py PLUGIN.dll RESOURCES_FOLDER
"""

import pathlib
import sys

from pe_resources import Resources

EXPECTED = {0: 'knob_sm.png', 1: 'bg.png'}


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    resources = Resources(pathlib.Path(sys.argv[1]).read_bytes())
    folder = pathlib.Path(sys.argv[2])
    if 'DATA' not in resources.types():
        raise SystemExit(f'no "DATA" resources (types: {sorted(map(str, resources.types()))})')
    found = resources.of_type('DATA')
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
