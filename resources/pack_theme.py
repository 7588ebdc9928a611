#!/usr/bin/env python3
"""Packs the skin into the zip that Doravel carries as its THEME resource.

    pack_theme.py OUTPUT_ZIP TREE...

Every file below each TREE becomes the entry "resources/<path below TREE>". Entries are
sorted, dated 1980-01-01 and deflated, so the same files always give the same archive.
"""
import pathlib
import sys
import zipfile

SKIN_SUFFIXES = {".xml", ".ini", ".png"}


def main():
    output = pathlib.Path(sys.argv[1])
    entries = {}
    for tree in map(pathlib.Path, sys.argv[2:]):
        for path in tree.rglob("*"):
            if path.is_file() and path.suffix in SKIN_SUFFIXES:
                entries["resources/" + path.relative_to(tree).as_posix()] = path.read_bytes()
    for name, data in entries.items():
        if name.endswith(".xml") and data.startswith(b"\xef\xbb\xbf"):
            sys.exit(f"{name}: archive XML must be UTF-8 without a byte-order mark")
    output.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(output, "w") as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            info.create_system = 0
            archive.writestr(info, entries[name], compresslevel=9)


if __name__ == "__main__":
    main()
