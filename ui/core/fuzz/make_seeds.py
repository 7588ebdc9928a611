#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora: the seed files, the skin tree and generated skin XML, as
XML files and as zips. Every seed stays within the fuzzers' input limit (MAX_LEN bytes); one
stored and one deflated entry are larger than the archive reader's 16 KiB read buffer.

    make_seeds.py SEED_DIR SKIN_DIR XML_OUT ZIP_OUT MAX_LEN"""
import pathlib
import sys
import zipfile

import skin_xml

seed_dir, skin_dir, xml_out, zip_out = map(pathlib.Path, sys.argv[1:5])
max_len = int(sys.argv[5])
xml_out.mkdir(parents=True, exist_ok=True)
zip_out.mkdir(parents=True, exist_ok=True)

files = sorted(p for p in seed_dir.iterdir() if p.is_file())
if skin_dir.is_dir():
    files += sorted(p for p in skin_dir.rglob("*") if p.is_file() and p.suffix in (".xml", ".ini", ".png"))
documents = [(p.name, p.read_bytes()) for p in files]
generated = [("generated-window-small.xml", skin_xml.window(8 * 1024, seed=3)),
             ("generated-window-medium.xml", skin_xml.window(48 * 1024, seed=4)),
             ("generated-global.xml", skin_xml.global_resources())]
large_window = skin_xml.window(200 * 1024, seed=5)  # deflates to more than 16 KiB

for i, (name, data) in enumerate(documents + generated):
    if name.endswith(".xml") and len(data) <= max_len:
        (xml_out / f"{i:03}-{name}").write_bytes(data)

small = [(name, data) for name, data in documents if len(data) < 64 * 1024][:20]
for name, method, extra in (("stored", zipfile.ZIP_STORED, generated),
                            ("deflated", zipfile.ZIP_DEFLATED, generated + [("window-200k.xml", large_window)])):
    with zipfile.ZipFile(zip_out / f"{name}.zip", "w", method) as archive:
        for i, (entry, data) in enumerate(small + extra):
            archive.writestr(f"resources/themes/default/{i}-{entry}", data)
        archive.comment = b"skin"
if skin_dir.is_dir():
    with zipfile.ZipFile(zip_out / "skin.zip", "w", zipfile.ZIP_DEFLATED) as archive:
        for path in files:
            if path.is_relative_to(skin_dir):
                archive.write(path, "resources/" + path.relative_to(skin_dir).as_posix())

for seed in list(xml_out.iterdir()) + list(zip_out.iterdir()):
    if seed.stat().st_size > max_len:
        sys.exit(f"{seed}: larger than the fuzzers' input limit")
