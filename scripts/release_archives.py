#!/usr/bin/env python3
"""The release archives: what each one holds, and writing them so that the same commit gives
the same bytes (entries sorted, one fixed time, owner 0, modes 0755 or 0644, no name or time in
the gzip header).

Usage:
  release_archives.py version
      the project's version, from CMakeLists.txt
  release_archives.py presets [PLATFORM...]
      "PLATFORM PRESET" for each archive (all when none is named)
  release_archives.py pack --dist DIR --epoch SECONDS PLATFORM=TREE...
      writes DIR/VarneGate-<version>-PLATFORM.{zip,tar.gz} from the build tree TREE of that
      platform's preset, and DIR/SHA256SUMS over the archives written
"""

import gzip
import hashlib
import io
import os
import pathlib
import re
import sys
import tarfile
import time
import zipfile
from typing import NamedTuple

SOURCE = pathlib.Path(__file__).resolve().parent.parent


class Entry(NamedTuple):
    name: str  # path inside the archive's top folder
    built: bool  # True: `path` is in the build tree; False: in the source tree
    path: str  # a file, or a folder taken whole


class Archive(NamedTuple):
    platform: str
    preset: str
    kind: str  # 'zip' or 'tar.gz'
    entries: tuple


def built(name, path):
    return Entry(name, True, path)


def source(name, path):
    return Entry(name, False, path)


# Everything the archives hold (a built() folder is taken whole: the LV2 bundle). Windows users
# get the manual as .txt: Notepad opens it.
ARCHIVES = (
    Archive('windows-x86', 'mingw32-release', 'zip', (
        built('VarneGate.dll', 'plugin/VarneGate.dll'),
        source('MANUAL.txt', 'MANUAL.md'),
    )),
    Archive('windows-x64', 'mingw64-release', 'zip', (
        built('VarneGate.dll', 'plugin/VarneGate.dll'),
        source('MANUAL.txt', 'MANUAL.md'),
    )),
    Archive('linux-x86_64', 'linux-release', 'tar.gz', (
        built('VarneGate.so', 'plugin/VarneGate.so'),
        built('VarneGate.lv2', 'lv2-bundles/VarneGate.lv2'),
        source('MANUAL.md', 'MANUAL.md'),
    )),
)

# The earliest time a zip entry can carry.
ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC


def fail(message):
    print(f'release: {message}', file=sys.stderr)
    sys.exit(1)


def project_version():
    text = (SOURCE / 'CMakeLists.txt').read_text()
    found = re.search(r'^project\(VarneGate VERSION ([0-9.]+)', text, re.MULTILINE)
    if not found:
        fail('no "project(VarneGate VERSION ...)" in CMakeLists.txt')
    return found.group(1)


def archive_named(platform):
    for archive in ARCHIVES:
        if archive.platform == platform:
            return archive
    fail(f'unknown platform {platform!r} (known: {", ".join(a.platform for a in ARCHIVES)})')


def cache_value(tree, key):
    cache = tree / 'CMakeCache.txt'
    if not cache.is_file():
        fail(f'{tree} is not a configured build tree (no CMakeCache.txt)')
    for line in cache.read_text().splitlines():
        name, _, value = line.partition('=')
        if name.split(':')[0] == key:
            return value
    return ''


def check_tree(archive, tree, version):
    """Refuses a tree that would put the wrong binaries under this archive's name."""
    tree_version = cache_value(tree, 'CMAKE_PROJECT_VERSION')
    if tree_version != version:
        fail(f'{tree} was configured for version {tree_version or "(none)"}, not {version}: '
             f'build it again')
    build_type = cache_value(tree, 'CMAKE_BUILD_TYPE')
    if build_type != 'Release':
        fail(f'{tree} is a {build_type or "(no type)"} build; {archive.platform} ships Release')


def files_of(archive, tree):
    """(name in the archive, source file) for every file, sorted by name."""
    files = []
    for entry in archive.entries:
        origin = (tree if entry.built else SOURCE) / entry.path
        if origin.is_dir():
            for path in origin.rglob('*'):
                if path.is_file():
                    files.append((f'{entry.name}/{path.relative_to(origin).as_posix()}', path))
        elif origin.is_file():
            files.append((entry.name, origin))
        else:
            fail(f'{origin} is missing (build the {archive.preset} preset first)')
    return sorted(files)


def folders_of(names):
    """Every folder above the given names, sorted."""
    folders = set()
    for name in names:
        parts = name.split('/')[:-1]
        for depth in range(1, len(parts) + 1):
            folders.add('/'.join(parts[:depth]))
    return sorted(folders)


def file_mode(path):
    return 0o755 if os.access(path, os.X_OK) else 0o644


def write_zip(target, top, files, epoch):
    stamp = time.gmtime(max(epoch, ZIP_EPOCH))[:6]
    members = [(f'{top}/{folder}/', None) for folder in folders_of(name for name, _ in files)]
    members += [(f'{top}/{name}', path) for name, path in files]
    with zipfile.ZipFile(target, 'w') as archive:
        for name, path in [(f'{top}/', None)] + sorted(members):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 3  # Unix, so the modes below mean the same everywhere
            if path is None:
                info.external_attr = (0o40755 << 16) | 0x10
                archive.writestr(info, b'')
            else:
                info.external_attr = (0o100000 | file_mode(path)) << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, path.read_bytes(), compresslevel=9)


def write_tar_gz(target, top, files, epoch):
    members = [(f'{top}/{folder}', None) for folder in folders_of(name for name, _ in files)]
    members += [(f'{top}/{name}', path) for name, path in files]
    buffer = io.BytesIO()
    with tarfile.open(fileobj=buffer, mode='w', format=tarfile.USTAR_FORMAT) as archive:
        for name, path in [(top, None)] + sorted(members):
            info = tarfile.TarInfo(name)
            info.mtime = epoch
            info.uid = info.gid = 0
            info.uname = info.gname = ''
            if path is None:
                info.type = tarfile.DIRTYPE
                info.mode = 0o755
                archive.addfile(info)
            else:
                data = path.read_bytes()
                info.size = len(data)
                info.mode = file_mode(path)
                archive.addfile(info, io.BytesIO(data))
    with open(target, 'wb') as raw:
        # Like gzip -n: no file name and no time in the header.
        with gzip.GzipFile(filename='', mode='wb', fileobj=raw, mtime=0, compresslevel=9) as out:
            out.write(buffer.getvalue())


WRITERS = {'zip': write_zip, 'tar.gz': write_tar_gz}


def pack(arguments):
    dist = epoch = None
    trees = []
    while arguments:
        word = arguments.pop(0)
        if word in ('--dist', '--epoch') and arguments:
            value = arguments.pop(0)
            if word == '--dist':
                dist = pathlib.Path(value)
            elif value.isdigit():
                epoch = int(value)
            else:
                fail(f'--epoch needs seconds since 1970, not {value!r}')
        elif '=' in word:
            platform, _, tree = word.partition('=')
            trees.append((archive_named(platform), pathlib.Path(tree)))
        else:
            fail(f'unexpected argument {word!r}\n{__doc__}')
    if dist is None or epoch is None or not trees:
        fail(f'pack needs --dist, --epoch and at least one PLATFORM=TREE\n{__doc__}')
    version = project_version()
    # Every tree is checked before anything is written: a refused release leaves no archives.
    contents = []
    for archive, tree in trees:
        check_tree(archive, tree, version)
        contents.append((archive, files_of(archive, tree)))
    dist.mkdir(parents=True, exist_ok=True)
    sums = []
    for archive, files in contents:
        top = f'VarneGate-{version}-{archive.platform}'
        target = dist / f'{top}.{archive.kind}'
        WRITERS[archive.kind](target, top, files, epoch)
        data = target.read_bytes()
        sums.append(f'{hashlib.sha256(data).hexdigest()}  {target.name}\n')
        print(f'{target}: {len(data)} bytes')
    (dist / 'SHA256SUMS').write_text(''.join(sorted(sums, key=lambda line: line.split()[1])))
    print(f'{dist / "SHA256SUMS"}: {len(sums)} archives')


def main(arguments):
    if not arguments:
        fail(__doc__)
    command, rest = arguments[0], arguments[1:]
    if command == 'version' and not rest:
        print(project_version())
    elif command == 'presets':
        for archive in [archive_named(p) for p in rest] if rest else ARCHIVES:
            print(archive.platform, archive.preset)
    elif command == 'pack':
        pack(rest)
    else:
        fail(__doc__)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
