#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora: the seed files and the skin tree, as XML files and zips."""
import pathlib
import sys
import zipfile

seed_dir, skin_dir, xml_out, zip_out = map(pathlib.Path, sys.argv[1:5])
xml_out.mkdir(parents=True, exist_ok=True)
zip_out.mkdir(parents=True, exist_ok=True)

files = sorted(p for p in seed_dir.iterdir() if p.is_file())
if skin_dir.is_dir():
    files += sorted(p for p in skin_dir.rglob("*") if p.is_file())

for i, path in enumerate(files):
    if path.suffix == ".xml":
        (xml_out / f"{i:03}-{path.name}").write_bytes(path.read_bytes())

small = [p for p in files if p.stat().st_size < 64 * 1024]
for name, method in (("stored", zipfile.ZIP_STORED), ("deflated", zipfile.ZIP_DEFLATED)):
    with zipfile.ZipFile(zip_out / f"{name}.zip", "w", method) as archive:
        for i, path in enumerate(small[:20]):
            archive.writestr(f"resources/themes/default/{i}-{path.name}", path.read_bytes())
        archive.comment = b"skin"
if skin_dir.is_dir():
    with zipfile.ZipFile(zip_out / "skin.zip", "w", zipfile.ZIP_DEFLATED) as archive:
        for path in files:
            if path.is_relative_to(skin_dir):
                archive.write(path, "resources/" + path.relative_to(skin_dir).as_posix())
